// Capture end to end on the offscreen GL device: frames written as pictures of the requested
// size through the real driver and frame loop, and the capture program itself: its refusals,
// a short video with the music in it, a supersampled, motion-blurred capture that repeats byte
// for byte and whose lossless video holds exactly its pictures and samples, and Ctrl-C leaving a
// finished, playable file.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tools/capture/CaptureCommand.h"
#include "tools/capture/FrameTimeline.h"
#include "tools/capture/PngFile.h"
#include "tools/capture/VideoEncoder.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Finished {
    int exitCode = -1;
    std::string errors;
};

// The capture program with its standard error in a pipe.
class CaptureProcess {
public:
    explicit CaptureProcess(std::vector<std::string> args) {
        args.insert(args.begin(), KELVO_CAPTURE_PROGRAM);
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        int ends[2];
        EXPECT_EQ(pipe2(ends, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, ends[1], STDERR_FILENO);
        EXPECT_EQ(posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(ends[1]);
        errors_ = ends[0];
    }
    ~CaptureProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(errors_);
    }

    // Reads standard error until it contains `text` or the time runs out.
    bool waitForOutput(const std::string& text, std::chrono::seconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (text_.find(text) == std::string::npos && std::chrono::steady_clock::now() < end) {
            if (!readSome(200)) {
                return false;
            }
        }
        return text_.find(text) != std::string::npos;
    }
    void interrupt() { kill(pid_, SIGINT); }
    Finished finish() {
        while (readSome(-1)) {
        }
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text_};
    }

private:
    bool readSome(int timeoutMs) {
        pollfd ready{errors_, POLLIN, 0};
        if (poll(&ready, 1, timeoutMs) <= 0) {
            return timeoutMs >= 0;
        }
        char buffer[4096];
        const ssize_t got = read(errors_, buffer, sizeof buffer);
        if (got <= 0) {
            return false;
        }
        text_.append(buffer, static_cast<std::size_t>(got));
        return true;
    }

    pid_t pid_ = -1;
    int errors_ = -1;
    std::string text_;
};

Finished runCapture(std::vector<std::string> args) {
    return CaptureProcess(std::move(args)).finish();
}

std::string commandOutput(const std::string& command) {
    std::string out;
    std::FILE* pipe = popen(command.c_str(), "r");
    char buffer[256];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        out += buffer;
    }
    if (pipe != nullptr) {
        pclose(pipe);
    }
    return out;
}

struct Probe {
    double duration = 0;
    bool video = false;
    bool audio = false;
    int frames = 0;
};

Probe probe(const std::string& file) {
    const std::string out = commandOutput(
        "ffprobe -v error -count_frames -show_entries format=duration:stream=codec_type,"
        "nb_read_frames -of default=noprint_wrappers=1 '" +
        file + "' 2>&1");
    Probe result;
    result.video = out.find("codec_type=video") != std::string::npos;
    result.audio = out.find("codec_type=audio") != std::string::npos;
    if (const auto at = out.find("duration="); at != std::string::npos) {
        result.duration = std::atof(out.c_str() + at + 9);
    }
    if (const auto at = out.find("nb_read_frames="); at != std::string::npos) {
        result.frames = std::atoi(out.c_str() + at + 15);
    }
    return result;
}

// The whole standard output of a command, bytes as they come.
std::string binaryOutput(const std::string& command) {
    std::string out;
    std::FILE* pipe = popen(command.c_str(), "r");
    char buffer[65536];
    std::size_t got = 0;
    while (pipe != nullptr && (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        out.append(buffer, got);
    }
    if (pipe != nullptr) {
        pclose(pipe);
    }
    return out;
}

bool haveFfmpeg() {
    return !VideoEncoder::findExecutable("ffmpeg").empty() &&
           !VideoEncoder::findExecutable("ffprobe").empty();
}

class CaptureCommandTest : public ::testing::Test {
protected:
    CaptureCommandTest()
        : folder_(fs::temp_directory_path() /
                  ("capture-test-" + std::to_string(getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
        fs::create_directories(folder_);
    }
    ~CaptureCommandTest() override { fs::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    fs::path folder_;
};

TEST_F(CaptureCommandTest, WritesEveryFrameOfTheSpanAsAPictureOfTheBackBufferSize) {
    CaptureOptions options = defaultCaptureOptions();
    options.output = CaptureOptions::Output::pngSequence;
    options.target = path("frames");
    options.width = 320;
    options.height = 180;
    options.from = Rational{1, 1};
    options.to = *parseRational("1.05");
    ASSERT_EQ(runCapture(options), kCaptureOk);

    // 1.05 s * 60 = 63: frames 60, 61 and 62.
    for (const char* name : {"frame_000060.png", "frame_000061.png", "frame_000062.png"}) {
        const std::optional<Image> picture = png::read(path("frames/") + name);
        ASSERT_TRUE(picture) << name;
        EXPECT_EQ(picture->width, 320);
        EXPECT_EQ(picture->height, 180);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(path("frames")), fs::directory_iterator{}), 3);

    options.output = CaptureOptions::Output::pngStills;
    options.target = path("stills");
    options.width = 64;
    options.height = 48;
    options.stills = {Rational{5, 2}, Rational{1, 1}};
    ASSERT_EQ(runCapture(options), kCaptureOk);
    const std::optional<Image> still = png::read(path("stills/t_002.500.png"));
    ASSERT_TRUE(still);
    EXPECT_EQ(still->width, 64);
    EXPECT_EQ(still->height, 48);
    EXPECT_TRUE(fs::exists(path("stills/t_001.000.png")));
}

TEST_F(CaptureCommandTest, RefusesBadArgumentsMissingFfmpegAndUnwritableOutputsBeforeStarting) {
    Finished bad = runCapture({"--out", path("a.mp4"), "--size", "641x360"});
    EXPECT_EQ(bad.exitCode, kCaptureBadArguments);
    EXPECT_NE(bad.errors.find("even"), std::string::npos) << bad.errors;

    Finished noFfmpeg = runCapture({"--out", path("a.mp4"), "--ffmpeg", path("no-ffmpeg")});
    EXPECT_EQ(noFfmpeg.exitCode, kCaptureFailed);
    EXPECT_NE(noFfmpeg.errors.find("cannot find ffmpeg"), std::string::npos) << noFfmpeg.errors;

    std::FILE* file = std::fopen(path("plain").c_str(), "w");
    std::fclose(file);
    Finished unwritable = runCapture({"--out", path("plain/show.mp4")});
    EXPECT_EQ(unwritable.exitCode, kCaptureFailed);
    EXPECT_NE(unwritable.errors.find("cannot write"), std::string::npos) << unwritable.errors;
    Finished folder = runCapture({"--png", path("plain/frames")});
    EXPECT_EQ(folder.exitCode, kCaptureFailed);
    EXPECT_FALSE(fs::exists(path("a.mp4")));

    Finished tooLarge =
        runCapture({"--png", path("large"), "--size", "8192x4608", "--supersample", "4"});
    EXPECT_EQ(tooLarge.exitCode, kCaptureFailed);
    EXPECT_NE(tooLarge.errors.find("cannot render 32768x18432"), std::string::npos)
        << tooLarge.errors;

    Finished help = runCapture({"--help"});
    EXPECT_EQ(help.exitCode, kCaptureOk);
}

TEST_F(CaptureCommandTest, OneSecondOfVideoHasEveryFrameAndTheMusic) {
    if (!haveFfmpeg()) {
        GTEST_SKIP() << "ffmpeg and ffprobe are not installed";
    }
    Finished done = runCapture({"--out", path("one.mp4"), "--size", "320x180", "--from", "10",
                                "--to", "11", "--fps", "30"});
    ASSERT_EQ(done.exitCode, kCaptureOk) << done.errors;
    EXPECT_NE(done.errors.find("frame 30/30"), std::string::npos) << done.errors;
    const Probe video = probe(path("one.mp4"));
    EXPECT_TRUE(video.video);
    EXPECT_TRUE(video.audio);
    EXPECT_EQ(video.frames, 30);
    EXPECT_NEAR(video.duration, 1.0, 0.05);
    EXPECT_FALSE(fs::exists(path("one.mp4.music.wav")));
}

TEST_F(CaptureCommandTest, AnArchiveCaptureRepeatsExactlyAndItsLosslessVideoHoldsThePictures) {
    // 55 s to 55.05 s: frames 3300 to 3302, each from 2 x 2 samples and 2 sub-frames.
    const std::vector<std::string> span{"--size",        "160x90", "--from",        "55",
                                        "--to",          "55.05",  "--supersample", "2",
                                        "--motion-blur", "2"};
    const auto capture = [&](std::vector<std::string> output) {
        output.insert(output.end(), span.begin(), span.end());
        return runCapture(output);
    };
    const Finished first = capture({"--png", path("a")});
    ASSERT_EQ(first.exitCode, kCaptureOk) << first.errors;
    EXPECT_NE(first.errors.find("frame 0/3  about "), std::string::npos) << first.errors;
    ASSERT_EQ(capture({"--png", path("b")}).exitCode, kCaptureOk);
    std::string pictures;
    for (const char* name : {"frame_003300.png", "frame_003301.png", "frame_003302.png"}) {
        EXPECT_EQ(binaryOutput("cat " + path("a/") + name),
                  binaryOutput("cat " + path("b/") + name))
            << name;
        const std::optional<Image> picture = png::read(path("a/") + name);
        ASSERT_TRUE(picture) << name;
        pictures.append(picture->rgb.begin(), picture->rgb.end());
    }

    if (!haveFfmpeg()) {
        GTEST_SKIP() << "ffmpeg and ffprobe are not installed";
    }
    const Finished video = capture({"--out", path("master.mkv"), "--codec", "ffv1"});
    ASSERT_EQ(video.exitCode, kCaptureOk) << video.errors;
    EXPECT_EQ(binaryOutput("ffmpeg -v error -i " + path("master.mkv") +
                           " -map 0:v -f rawvideo -pix_fmt rgb24 -"),
              pictures);
    // The sound is exactly the three frames' samples.
    const int rate = std::atoi(
        commandOutput("ffprobe -v error -select_streams a -show_entries stream=sample_rate -of "
                      "csv=p=0 " +
                      path("master.mkv"))
            .c_str());
    ASSERT_GT(rate, 0);
    const std::string sound =
        binaryOutput("ffmpeg -v error -i " + path("master.mkv") + " -map 0:a -f s16le -ac 2 -");
    EXPECT_EQ(
        static_cast<std::int64_t>(sound.size() / 4),
        FrameTimeline::sampleAt({3303, 60}, rate) - FrameTimeline::sampleAt({3300, 60}, rate));
}

TEST_F(CaptureCommandTest, CtrlCStopsAfterTheCurrentFrameAndLeavesAPlayableVideo) {
    if (!haveFfmpeg()) {
        GTEST_SKIP() << "ffmpeg and ffprobe are not installed";
    }
    CaptureProcess capture(
        {"--out", path("cut.mp4"), "--size", "320x180", "--to", "100", "--fps", "30"});
    ASSERT_TRUE(capture.waitForOutput("frame ", std::chrono::seconds(120)));
    capture.waitForOutput("never printed", std::chrono::seconds(1));
    capture.interrupt();
    const Finished done = capture.finish();
    EXPECT_EQ(done.exitCode, kCaptureInterrupted) << done.errors;
    const auto at = done.errors.find("interrupted after ");
    ASSERT_NE(at, std::string::npos) << done.errors;
    const int rendered = std::atoi(done.errors.c_str() + at + 18);
    const Probe video = probe(path("cut.mp4"));
    EXPECT_TRUE(video.video);
    EXPECT_TRUE(video.audio);
    // Every frame rendered before the interruption is in the file, and nothing after.
    EXPECT_GE(rendered, 1);
    EXPECT_EQ(video.frames, rendered);
    EXPECT_NEAR(video.duration, rendered / 30.0, 0.1);
}

}  // namespace
