// The frame loop over the recording device, a hand-set music clock and a window stand-in: the
// device calls of a frame and their reports, the music clock it publishes, the part boundaries,
// the end of the show and what it leaves alone over many frames.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <deque>
#include <string>
#include <vector>

#include "demo/FrameLoop.h"
#include "demo/MusicClockGlobals.h"
#include "platform/d3d9/recording/RecordingDevice.h"
#include "platform/os/AssertionCapture.h"

namespace {

struct FakeWindow final : IFrameWindow {
    WindowConfig settings = defaultWindowConfig();
    bool quit = false;
    int closes = 0;
    int pumps = 0;
    // Pumping sets the quit flag once this many pumps have happened (0: never).
    int quitAfterPumps = 0;

    const WindowConfig& config() const override { return settings; }
    bool quitRequested() const override { return quit; }
    void closeWindow() override {
        ++closes;
        quit = true;
    }
    void pumpEvents() override {
        ++pumps;
        if (quitAfterPumps > 0 && pumps >= quitAfterPumps) {
            quit = true;
        }
    }
};

struct FakeMusic final : IMusicClock {
    // Positions handed out in turn; empty entries are failed queries. When none are left the
    // last one repeats.
    std::deque<std::optional<std::uint32_t>> positions{0};
    bool spectrumFails = false;
    float spectrumValue = 0.25f;

    std::optional<std::uint32_t> positionMs() override {
        std::optional<std::uint32_t> next = positions.front();
        if (positions.size() > 1) {
            positions.pop_front();
        }
        return next;
    }
    bool fetchSpectrum(float* out, int count) override {
        if (spectrumFails) {
            return false;
        }
        std::fill(out, out + count, spectrumValue);
        return true;
    }
};

// Marks in the device log where the content ran, with what it was given and what it could read.
struct LoggingContent final : IFrameContent {
    RecordingDevice* device = nullptr;
    std::vector<float> seconds;
    std::vector<int> parts;
    void update(float value) override {
        seconds.push_back(value);
        parts.push_back(g_demoPart);
        device->RecordCall("content.update");
    }
};

class FrameLoopTest : public ::testing::Test {
protected:
    FrameLoopTest() {
        device->setRecordQueries(false);
        content.device = device;
    }
    ~FrameLoopTest() override { device->Release(); }

    // A loop started with the music at start ms, then one frame with the music at now ms.
    void frameAt(std::uint32_t start, std::uint32_t now) {
        music.positions = {start, now};
        loop.start();
        device->clearCalls();
        loop.step();
    }

    RecordingDevice* device = new RecordingDevice();
    FakeWindow window;
    FakeMusic music;
    LoggingContent content;
    std::array<float, FrameLoop::kSpectrumBins> spectrum{};
    FrameLoop loop{*device, window, music, content, spectrum.data()};
};

TEST_F(FrameLoopTest, OneFrameBlackensTheBackBufferThenClearsThePictureAroundTheContent) {
    frameAt(1000, 3500);
    const std::vector<std::string> expected = {
        "SetViewport(0, 0, 640, 360, 0, 1)",
        "Clear(0, null, 0x5, 0x00000000, 1, 0)",
        "SetViewport(0, 0, 640, 359, 0, 1)",
        "Clear(0, null, 0x3, 0x80000000, 1, 0)",
        "content.update",
        "Present(null, null, null, null)",
    };
    EXPECT_EQ(device->calls(), expected);
    EXPECT_EQ(window.pumps, 1);
    EXPECT_FALSE(window.quit);
    EXPECT_EQ(content.seconds, std::vector<float>{2.5f});
    EXPECT_EQ(g_demoSeconds, 2.5f);
    EXPECT_EQ(g_demoPart, 0);
    EXPECT_EQ(spectrum[0], 0.25f);
    EXPECT_EQ(spectrum[63], 0.25f);
}

TEST_F(FrameLoopTest, FailedChecksAreReportedWithTheirLinesAndTheFrameGoesOn) {
    os::AssertionCapture reports;
    device->failCall("SetViewport", D3DERR_INVALIDCALL, 1);  // the full viewport: not checked
    frameAt(0, 10);
    EXPECT_EQ(reports.count(), 0u);

    device->failCall("SetViewport", D3DERR_INVALIDCALL, 2);
    device->failCall("Clear", D3DERR_INVALIDCALL, 2);
    device->failCall("Present", D3DERR_DEVICELOST, 1);
    loop.step();
    const std::vector<os::AssertionRecord> expected = {
        {"0", "demo/Main", FrameLoop::kPictureViewportLine},
        {"0", "demo/Main", FrameLoop::kPictureClearLine},
        {"0", "demo/Main", FrameLoop::kPresentLine},
    };
    EXPECT_EQ(reports.records(), expected);
    EXPECT_EQ(device->countCalls("Present"), 2u);
    EXPECT_EQ(window.pumps, 2);
    EXPECT_EQ(content.seconds.size(), 2u);
}

TEST_F(FrameLoopTest, PartsSwitchAtTheirMillisecondBoundaries) {
    const struct {
        std::uint32_t elapsed;
        int part;
    } cases[] = {{0, 0}, {69562, 0}, {69563, 1}, {111299, 1}, {111300, 2}, {125999, 2}};
    for (const auto& c : cases) {
        // A start position other than 0 shows the part follows the elapsed time, not the position.
        frameAt(5000, 5000 + c.elapsed);
        EXPECT_EQ(g_demoPart, c.part) << c.elapsed << " ms";
        EXPECT_EQ(content.parts.back(), c.part) << "the content reads the part of its own frame";
        EXPECT_EQ(g_demoSeconds, static_cast<float>(c.elapsed / 1000.0));
    }
    EXPECT_EQ(FrameLoop::partAt(std::nanf("")), 2);
}

TEST_F(FrameLoopTest, ShowEndsAt126SecondsAfterDrawingAndPresentingThatFrame) {
    frameAt(200, 200 + 125999);
    EXPECT_FALSE(window.quit);
    EXPECT_EQ(window.closes, 0);

    frameAt(200, 200 + 126000);
    EXPECT_TRUE(window.quit);
    EXPECT_EQ(window.closes, 1);
    EXPECT_EQ(device->countCalls("Present"), 1u);
    EXPECT_EQ(device->countCalls("content.update"), 1u);
    EXPECT_EQ(content.seconds.back(), 126.0f);
    EXPECT_EQ(window.pumps, 2);
}

TEST_F(FrameLoopTest, AvOffsetShiftsTheShowByExactlyItsValueAndNeverBelowZero) {
    loop.setAvOffsetMs(150);
    frameAt(200, 200 + 100);
    EXPECT_EQ(g_demoSeconds, 0.0f) << "the picture waits at the start";
    frameAt(200, 200 + 10150);
    EXPECT_EQ(g_demoSeconds, 10.0f);
    frameAt(200, 200 + 126149);
    EXPECT_FALSE(window.quit) << "the end moves with the picture";
    frameAt(200, 200 + 126150);
    EXPECT_TRUE(window.quit);

    loop.setAvOffsetMs(-150);
    frameAt(200, 200);
    EXPECT_EQ(g_demoSeconds, 0.15f);
    EXPECT_EQ(FrameLoop::showMs(UINT32_MAX - 10, -150), UINT32_MAX);
}

TEST_F(FrameLoopTest, MusicSourceFailuresNeitherStopNorRewindTheShow) {
    music.positions = {40000, 40000 + 30000, std::nullopt, 40000 + 30020};
    loop.start();
    EXPECT_EQ(loop.startPosition(), 40000u);
    loop.step();
    EXPECT_EQ(g_demoSeconds, 30.0f);
    const std::vector<std::string> normalFrame = device->calls();
    device->clearCalls();
    music.spectrumFails = true;
    music.spectrumValue = 0.75f;
    loop.step();
    EXPECT_EQ(g_demoSeconds, 30.0f) << "the frame repeats the last good time";
    EXPECT_EQ(device->calls(), normalFrame);
    EXPECT_EQ(spectrum[10], 0.25f) << "stale values stay";
    EXPECT_FALSE(window.quit);
    loop.step();
    EXPECT_EQ(g_demoSeconds, 30.02f);

    music.positions = {std::nullopt, 700};
    loop.start();
    EXPECT_EQ(loop.startPosition(), 0u) << "an unreadable start counts from 0";
    loop.step();
    EXPECT_EQ(g_demoSeconds, 0.7f);
}

TEST_F(FrameLoopTest, RunStopsOnTheQuitFlagAndCreatesNothingOverAHundredFrames) {
    music.positions.clear();
    for (std::uint32_t i = 0; i <= 110; ++i) {
        music.positions.push_back(1000 + i * 16);
    }
    loop.start();
    window.quitAfterPumps = 100;
    const std::size_t objectsBefore = device->liveObjectCount();
    device->clearCalls();
    loop.run();

    EXPECT_EQ(loop.frameCount(), 100u);
    EXPECT_EQ(device->countCalls("Present"), 100u);
    EXPECT_EQ(device->calls().size(), 600u) << "six entries a frame, every frame";
    EXPECT_EQ(device->liveObjectCount(), objectsBefore);
    EXPECT_FLOAT_EQ(g_demoSeconds, 1.6f) << "the hundredth frame, 1600 ms after the start";

    window.quit = true;
    loop.run();
    EXPECT_EQ(loop.frameCount(), 100u) << "a set flag runs no frame at all";
}

}  // namespace
