// The capture command line: exact rates and times, sizes, the choice of output, and the
// arguments it must refuse with a message rather than run with a guess.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/capture/CaptureOptions.h"

namespace {

ParsedCaptureArguments parse(std::vector<std::string> args) {
    return parseCaptureArguments(args);
}

TEST(RationalTest, ParsesIntegersFractionsAndDecimalsExactly) {
    EXPECT_EQ(parseRational("60"), (Rational{60, 1}));
    EXPECT_EQ(parseRational("60000/1001")->num, 60000);
    EXPECT_EQ(parseRational("60000/1001")->den, 1001);
    // Decimals are kept as the exact fraction, in lowest terms.
    EXPECT_EQ(parseRational("29.97")->num, 2997);
    EXPECT_EQ(parseRational("29.97")->den, 100);
    EXPECT_EQ(parseRational("53.8")->num, 269);
    EXPECT_EQ(parseRational("53.8")->den, 5);
    EXPECT_EQ(parseRational("0.000001"), (Rational{1, 1'000'000}));
    EXPECT_EQ(Rational::reduced(120, 2), (Rational{60, 1}));

    for (const char* bad : {"", "-1", "+5", "1/0", "1/", "/2", ".5", "5.", "1e3", "0.0000001",
                            "12a", "1.2.3", "1/2/3", " 1", "99999999999999"}) {
        EXPECT_FALSE(parseRational(bad)) << bad;
    }
}

TEST(RationalTest, RoundsDownAndUpAndPrintsDecimals) {
    const Rational third{1, 3};
    EXPECT_EQ(third.floorTimes(1000), 333);
    EXPECT_EQ(third.ceilTimes(1000), 334);
    EXPECT_EQ((Rational{3, 1}).ceilTimes(1000), 3000);
    EXPECT_EQ(parseRational("53.8")->toDecimal(3), "53.800");
    EXPECT_EQ(parseRational("123.5")->toDecimal(0), "123.5");
    EXPECT_EQ((Rational{1002001, 60000}).toDecimal(3), "16.700016");
    EXPECT_LT((Rational{1, 3}), (Rational{334, 1000}));
}

TEST(CaptureOptionsTest, DefaultsRenderTheWholeShowAt720pSixtyFramesASecond) {
    const ParsedCaptureArguments parsed = parse({"--png", "frames"});
    ASSERT_EQ(parsed.error, "");
    const CaptureOptions& o = parsed.options;
    EXPECT_EQ(o.output, CaptureOptions::Output::pngSequence);
    EXPECT_EQ(o.target, "frames");
    EXPECT_EQ(o.fps, (Rational{60, 1}));
    EXPECT_EQ(o.width, 1280);
    EXPECT_EQ(o.height, 720);
    EXPECT_EQ(o.from, (Rational{0, 1}));
    EXPECT_EQ(o.to, (Rational{126, 1}));
    EXPECT_EQ(o.ffmpeg, "ffmpeg");
}

TEST(CaptureOptionsTest, ReadsEveryOption) {
    const ParsedCaptureArguments video =
        parse({"--out", "show.mp4", "--fps", "60000/1001", "--size", "1920x1080", "--from", "53.8",
               "--to", "70.25", "--ffmpeg", "/opt/ffmpeg"});
    ASSERT_EQ(video.error, "");
    EXPECT_EQ(video.options.output, CaptureOptions::Output::video);
    EXPECT_EQ(video.options.fps, (Rational{60000, 1001}));
    EXPECT_EQ(video.options.width, 1920);
    EXPECT_EQ(video.options.height, 1080);
    EXPECT_EQ(video.options.from, (Rational{269, 5}));
    EXPECT_EQ(video.options.to, (Rational{281, 4}));
    EXPECT_EQ(video.options.ffmpeg, "/opt/ffmpeg");

    const ParsedCaptureArguments stills = parse({"--frames", "1,10.5,123.5", "--png", "pics"});
    ASSERT_EQ(stills.error, "");
    EXPECT_EQ(stills.options.output, CaptureOptions::Output::pngStills);
    EXPECT_EQ(stills.options.stills, (std::vector<Rational>{{1, 1}, {21, 2}, {247, 2}}));

    const ParsedCaptureArguments master =
        parse({"--out", "m.MKV", "--codec", "ffv1", "--supersample", "4", "--motion-blur", "8",
               "--shutter", "172.8", "--pix-fmt", "yuv444p10le", "--audio", "pcm"});
    ASSERT_EQ(master.error, "");
    EXPECT_EQ(master.options.supersample, 4);
    EXPECT_EQ(master.options.subFrames, 8);
    EXPECT_EQ(master.options.shutter, (Rational{864, 5}));
    EXPECT_EQ(master.options.format.codec, VideoFormat::Codec::ffv1);
    EXPECT_EQ(master.options.format.pixelFormat, VideoFormat::PixelFormat::yuv444p10le);
    EXPECT_EQ(master.options.format.audio, VideoFormat::Audio::pcm);

    EXPECT_EQ(parse({"--golden-check", "g", "--golden-out", "o"}).options.goldenOut, "o");
    EXPECT_TRUE(parse({"--out", "x.mp4", "--help"}).options.help);
}

TEST(CaptureOptionsTest, RefusesBadValuesWithAMessageNamingTheOption) {
    const struct {
        std::vector<std::string> args;
        const char* mentions;
    } cases[] = {
        {{}, "nothing to write"},
        {{"--png", "a", "--size", "1281x720"}, "even"},
        {{"--png", "a", "--size", "1280x"}, "--size"},
        {{"--png", "a", "--size", "8x8"}, "16x16"},
        {{"--png", "a", "--size", "16384x720"}, "8192"},
        {{"--png", "a", "--size", "-640x360"}, "--size"},
        {{"--png", "a", "--fps", "0"}, "--fps"},
        {{"--png", "a", "--fps", "60/0"}, "--fps"},
        {{"--png", "a", "--fps", "1001"}, "--fps"},
        {{"--png", "a", "--fps", "sixty"}, "--fps"},
        {{"--png", "a", "--from", "-1"}, "--from"},
        {{"--png", "a", "--to", "3601"}, "--to"},
        {{"--png", "a", "--from", "10", "--to", "10"}, "before"},
        {{"--png", "a", "--from", "20", "--to", "10"}, "before"},
        {{"--png", "a", "--frames", "1,,2"}, "--frames"},
        {{"--out", "a.mp4", "--frames", "1"}, "--png"},
        {{"--png", "a", "--out", "b.mp4"}, "one output"},
        {{"--png", ""}, "empty"},
        {{"--png"}, "wants a value"},
        {{"--png", "a", "--speed", "2"}, "unknown option"},
        {{"show.mp4"}, "unexpected argument"},
        {{"--png", "a", "--supersample", "5"}, "1 to 4"},
        {{"--png", "a", "--motion-blur", "0"}, "1 to 64"},
        {{"--png", "a", "--motion-blur", "2", "--shutter", "361"}, "--shutter"},
        {{"--png", "a", "--motion-blur", "2", "--shutter", "90.25"}, "one decimal"},
        {{"--png", "a", "--shutter", "90"}, "--motion-blur 2"},
        // 60 fps, half a frame in 16 steps: 0.52 ms apart.
        {{"--png", "a", "--motion-blur", "16"}, "0.52 ms"},
        {{"--png", "a", "--frames", "1", "--motion-blur", "2"}, "sequences"},
        {{"--golden-check", "g", "--supersample", "2"}, "plainly"},
        {{"--png", "a", "--codec", "ffv1"}, "--codec goes with --out"},
        {{"--out", "a.avi"}, ".mkv"},
        {{"--out", "a.mp4", "--codec", "vp9"}, "h264, h265"},
        {{"--out", "a.mp4", "--codec", "ffv1"}, "not go into .mp4"},
        {{"--out", "a.mp4", "--audio", "flac"}, "only aac"},
        {{"--out", "a.mov", "--codec", "prores", "--audio", "flac"}, "into .mov"},
        {{"--out", "a.mkv", "--codec", "prores", "--pix-fmt", "yuv420p"}, "yuv422p10le"},
        {{"--out", "a.mkv", "--pix-fmt", "rgb"}, "ffv1 only"},
        {{"--out", "a.mkv", "--codec", "ffv1", "--crf", "10"}, "lossy"},
        {{"--out", "a.mkv", "--crf", "52"}, "0 (best) to 51"},
    };
    for (const auto& c : cases) {
        const ParsedCaptureArguments parsed = parse(c.args);
        EXPECT_NE(parsed.error.find(c.mentions), std::string::npos)
            << "error: '" << parsed.error << "', expected it to mention " << c.mentions;
    }
}

}  // namespace
