// The loading phase on the OpenGL device as the program runs it: the production is built on this
// thread (images, effects, the model's buffers, the pool's targets) while the loading thread
// clears, draws the spinning image and presents through its own context of the same device.
// Here the loading thread sleeps 2 ms instead of 50, so that its frames interleave with the
// build as densely as possible; the thread sanitizer run (scripts/sanitize) runs this test.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "demo/D3DWindow.h"
#include "demo/DemoContent.h"
#include "demo/Loading.h"
#include "demo/ProductionImages.h"
#include "platform/os/AssertionCapture.h"
#include "platform/os/MessageBoxCapture.h"
#include "platform/os/MillisecondClock.h"
#include "platform/os/SystemClock.h"
#include "tests/gl/EngineGLFixture.h"

namespace {

// The system clock with short sleeps. The loading thread reads it once a frame, so the readings
// count its frames.
class BriskClock final : public os::MillisecondClock {
public:
    std::uint32_t now() const override {
        frames_.fetch_add(1);
        return os::SystemClock::milliseconds();
    }
    void sleep(std::uint32_t) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    int frames() const { return frames_.load(); }

private:
    mutable std::atomic<int> frames_{0};
};

// Software rendering under a sanitizer is slow: a generous limit, left early once done.
bool waitUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class LoadingPhaseTest : public EngineGLFixture {
protected:
    void SetUp() override {
        EngineGLFixture::SetUp();
        g_window = &window;
        g_loadingDone = false;
    }

    // The content goes before the device that holds its buffers; the globals that pointed into
    // the registry are cleared with it.
    void TearDown() override {
        releaseLoadedContent();
        g_window = nullptr;
        g_loadingImage = nullptr;
        g_loadingDone = false;
        g_texStars = g_texNieluspace = g_texLogo = g_texCredits = nullptr;
        for (kelvo::Texture*& text : g_texText) {
            text = nullptr;
        }
        EngineGLFixture::TearDown();
    }

    D3DWindow window;
};

}  // namespace

TEST_F(LoadingPhaseTest, TheLoadingScreenDrawsOnItsOwnThreadWhileTheProductionIsBuilt) {
    os::AssertionCapture reports;
    os::MessageBoxCapture boxes;
    BriskClock clock;
    int framesBeforeBuild = 0;
    bool drewDuringBuild = false;

    runLoadingPhase(
        [&] {
            ASSERT_TRUE(waitUntil([&] { return clock.frames() > 0; })) << "no loading frame";
            framesBeforeBuild = clock.frames();
            g_content = new DemoContent();
            drewDuringBuild = waitUntil([&] { return clock.frames() > framesBeforeBuild + 1; });
        },
        clock);
    const int framesAtReturn = clock.frames();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));

    EXPECT_TRUE(drewDuringBuild);
    EXPECT_EQ(clock.frames(), framesAtReturn) << "the loading thread drew after it was joined";
    ASSERT_NE(g_content, nullptr);
    EXPECT_NE(g_content->model, nullptr);
    ASSERT_NE(g_loadingImage, nullptr);
    EXPECT_NE(g_loadingImage->getTexture(), nullptr);
    for (kelvo::Texture* image : {g_texStars, g_texNieluspace, g_texLogo, g_texCredits}) {
        ASSERT_NE(image, nullptr);
        EXPECT_NE(image->getTexture(), nullptr);
    }
    EXPECT_EQ(reports.count(), 0u);
    EXPECT_EQ(boxes.count(), 0u);
}
