#include "platform/sound/DecodedTrack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/sound/OfflineMusicReader.h"
#include "platform/sound/WavWriter.h"
#include "tests/unit/SoundSignals.h"

namespace {

using sound::DecodedTrack;
using sound::SoundResult;

class DecodedTrackTest : public ::testing::Test {
protected:
    // Encodes a generated signal the way the music is encoded; empty when lame is missing.
    std::string encode(const std::vector<float>& samples, int channels, int rate,
                       const std::string& name) {
        std::string wav = scratch.file(name + ".wav");
        std::string mp3 = scratch.file(name + ".mp3");
        if (!sound::WavWriter::write(wav, samples, channels, rate)) {
            ADD_FAILURE() << "cannot write " << wav;
            return {};
        }
        std::string command = "lame --quiet --lowpass -1 " + wav + " " + mp3;
        return std::system(command.c_str()) == 0 ? mp3 : std::string();
    }
    void writeBytes(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    soundtest::ScratchDir scratch;
};

TEST_F(DecodedTrackTest, MissingOrUndecodableFilesFailCleanly) {
    SoundResult result = SoundResult::Ok;
    EXPECT_EQ(DecodedTrack::decode(scratch.file("absent.mp3"), &result), nullptr);
    EXPECT_EQ(result, SoundResult::FileNotFound);

    std::string empty = scratch.file("empty.mp3");
    writeBytes(empty, "");
    EXPECT_EQ(DecodedTrack::decode(empty, &result), nullptr);
    EXPECT_EQ(result, SoundResult::Format);

    std::string text = scratch.file("text.mp3");
    writeBytes(text, std::string(5000, 'x') + "this is not an mp3 file\n");
    EXPECT_EQ(DecodedTrack::decode(text, &result), nullptr);
    EXPECT_EQ(result, SoundResult::Format);

    // A directory opens as a file on Linux but reads nothing.
    EXPECT_EQ(DecodedTrack::decode(std::filesystem::temp_directory_path().string(), &result),
              nullptr);
    EXPECT_NE(result, SoundResult::Ok);
}

TEST_F(DecodedTrackTest, EncodedSineDecodesToItsLengthRateAndLevel) {
    if (!soundtest::haveLame()) {
        GTEST_SKIP() << "lame is not installed";
    }
    const int64_t frames = 44100;  // one second
    std::string mp3 = encode(soundtest::sine(1000.0, 0.5, frames), 2, 44100, "stereo");
    ASSERT_FALSE(mp3.empty());
    SoundResult result = SoundResult::Format;
    auto track = DecodedTrack::decode(mp3, &result);
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(result, SoundResult::Ok);
    EXPECT_EQ(track->sampleRate(), 44100);
    // Gapless decoding drops the encoder's delay and padding.
    EXPECT_NEAR(static_cast<double>(track->frameCount()), frames, 1152.0);
    EXPECT_NEAR(track->lengthMs(), 1000.0, 27.0);
    float peak = 0.0f;
    for (int64_t i = 0; i < 2 * track->frameCount(); ++i) {
        peak = std::max(peak, std::abs(track->samples()[i]));
    }
    EXPECT_NEAR(peak, 0.5f, 0.03f);
    sound::OfflineMusicReader reader(track);
    std::array<float, 64> bins{};
    reader.spectrumAtMs(500, bins.data());
    EXPECT_EQ(std::max_element(bins.begin(), bins.end()) - bins.begin(), 3) << "1 kHz is bin 3";
}

TEST_F(DecodedTrackTest, MonoFileAtItsOwnRateBecomesStereoWithoutResampling) {
    if (!soundtest::haveLame()) {
        GTEST_SKIP() << "lame is not installed";
    }
    auto stereo = soundtest::sine(440.0, 0.4, 22050, 22050);
    std::vector<float> mono(stereo.size() / 2);
    for (size_t i = 0; i < mono.size(); ++i) {
        mono[i] = stereo[2 * i];
    }
    std::string mp3 = encode(mono, 1, 22050, "mono");
    ASSERT_FALSE(mp3.empty());
    auto track = DecodedTrack::decode(mp3);
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(track->sampleRate(), 22050);
    // At this rate the decoder may keep the encoder's delay and padding (up to two frames).
    EXPECT_NEAR(static_cast<double>(track->frameCount()), 22050.0, 2304.0);
    for (int64_t i = 0; i < track->frameCount(); i += 97) {
        ASSERT_EQ(track->samples()[2 * i], track->samples()[2 * i + 1]) << "frame " << i;
    }
}

TEST_F(DecodedTrackTest, TruncatedFileGivesWhatCouldBeDecoded) {
    if (!soundtest::haveLame()) {
        GTEST_SKIP() << "lame is not installed";
    }
    std::string mp3 = encode(soundtest::sine(700.0, 0.5, 2 * 44100), 2, 44100, "whole");
    ASSERT_FALSE(mp3.empty());
    auto size = std::filesystem::file_size(mp3);
    std::string cut = scratch.file("cut.mp3");
    std::filesystem::copy_file(mp3, cut);
    std::filesystem::resize_file(cut, size / 2 + 37);  // mid-frame
    auto whole = DecodedTrack::decode(mp3);
    auto half = DecodedTrack::decode(cut);
    ASSERT_NE(whole, nullptr);
    ASSERT_NE(half, nullptr);
    EXPECT_GT(half->frameCount(), whole->frameCount() / 3);
    EXPECT_LT(half->frameCount(), whole->frameCount() * 2 / 3);
}

}  // namespace
