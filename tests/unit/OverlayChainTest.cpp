// The overlay chain on the recording device: which pooled target each element draws into, frame
// after frame, and what a pass whose effect could not be made draws. The glow reaches the screen
// only because the pool hands the text overlay (in the last part the fade) the bloom's
// intermediate target of the same frame, so that order is pinned here.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "EngineTestBase.h"
#include "demo/DemoContent.h"
#include "demo/Fadetin.h"
#include "demo/MusicClockGlobals.h"
#include "demo/ProductionParameters.h"
#include "demo/TextGrr.h"
#include "demo/TracerPP.h"
#include "gfx/BloomEffect.h"
#include "gfx/DataFileCache.h"
#include "gfx/MotionblurEffect.h"
#include "gfx/RenderTarget.h"
#include "platform/os/AssertionCapture.h"

namespace {

// The targets of one frame, by texture name ("tex#5"), read off the call log: the elements
// rendered with renderToBuffer(t, false) clear only depth (the scene, the bloom, the text
// overlay, the fade, in that order), the bloom's intermediate target is cleared to transparent
// black, and the composite is the last texture set on stage 0.
struct FrameTargets {
    std::vector<std::string> depthCleared;
    std::string intermediate;
    std::string composite;

    const std::string& element(std::size_t i) const {
        static const std::string none;
        return i < depthCleared.size() ? depthCleared[i] : none;
    }
    const std::string& scene() const { return element(0); }
    const std::string& bloom() const { return element(1); }
    const std::string& text() const { return element(2); }
    const std::string& fade() const { return element(3); }
};

// "SetRenderTarget(0, tex#5[0])" -> "tex#5"
std::string targetTexture(const std::string& call) {
    const std::size_t start = call.find("tex#");
    return start == std::string::npos ? call : call.substr(start, call.find('[') - start);
}

FrameTargets targetsOf(const std::vector<std::string>& calls) {
    FrameTargets frame;
    std::string bound;
    for (const std::string& call : calls) {
        if (call.rfind("SetRenderTarget(0, ", 0) == 0) {
            bound = targetTexture(call);
        } else if (call.rfind("Clear(0, null, 0x2,", 0) == 0) {
            frame.depthCleared.push_back(bound);
        } else if (call.rfind("Clear(0, null, 0x3, 0x00000000,", 0) == 0) {
            frame.intermediate = bound;
        } else if (call.rfind("SetTexture(0, ", 0) == 0) {
            frame.composite = call.substr(14, call.size() - 15);
        }
    }
    return frame;
}

class OverlayChainTest : public EngineTestBase {
protected:
    void SetUp() override {
        EngineTestBase::SetUp();
        resetProductionParameters();
        g_spectrum = spectrum.data();
    }
    void TearDown() override {
        g_spectrum = nullptr;
        g_demoPart = 0;
        resetProductionParameters();
        EngineTestBase::TearDown();
    }

    FrameTargets frame(DemoContent& content, int part, float t) {
        g_demoPart = part;
        g_demoSeconds = t;
        device->clearCalls();
        content.update(t);
        return targetsOf(device->calls());
    }

    std::array<float, 64> spectrum{};
};

TEST_F(OverlayChainTest, TheTextOverlayDrawsOverTheBloomsPictureAndTheLastElementIsShown) {
    DemoContent content;
    const float starts[] = {0.0f, 69.5625f};
    for (int part = 0; part < 2; ++part) {
        for (int i = 0; i < 4; ++i) {
            const float t = starts[part] + 0.0167f * static_cast<float>(i);
            const FrameTargets f = frame(content, part, t);
            SCOPED_TRACE("part " + std::to_string(part) + " frame " + std::to_string(i));
            ASSERT_EQ(f.depthCleared.size(), 3u);
            EXPECT_FALSE(f.intermediate.empty());
            EXPECT_NE(f.bloom(), f.intermediate);
            EXPECT_EQ(f.text(), f.intermediate);
            EXPECT_EQ(f.composite, f.text());
        }
    }
    // In the last part the fade takes the bloom's picture and the text overlay the target given
    // back longest ago: the scene's own buffer of the frame before, so the credits lie over the
    // tube. On the part's first frame the pool still runs in the earlier order.
    FrameTargets previous = frame(content, 2, 111.3f);
    EXPECT_EQ(previous.text(), previous.intermediate);
    EXPECT_EQ(previous.composite, previous.fade());
    for (int i = 1; i < 5; ++i) {
        const FrameTargets f = frame(content, 2, 111.3f + 0.0167f * static_cast<float>(i));
        SCOPED_TRACE("part 2 frame " + std::to_string(i));
        ASSERT_EQ(f.depthCleared.size(), 4u);
        EXPECT_EQ(f.fade(), f.intermediate);
        EXPECT_EQ(f.text(), previous.scene());
        EXPECT_EQ(f.composite, f.fade());
        previous = f;
    }
}

class Picture : public kelvo::BufferRenderable {
public:
    void render(float, bool) override {}
};

// Without their effects the passes must not draw the quad through whatever fixed-function
// state the device holds: that puts garbage on screen. The failures are still reported.
TEST_F(OverlayChainTest, PassesWhoseEffectCouldNotBeMadeDrawNothing) {
    device->failCall("CreateProgram", E_FAIL);
    os::AssertionCapture reports;
    Picture source;
    source.getBuffer();
    kelvo::BloomEffect bloom(&source, 0.1f, 1.0f, 2.0f, 8);
    TextGrr text(&source);
    Fadetin fade(&source, 0.5f);
    kelvo::preloadDataFile("tube.fxo");
    TracerPP tube(&source, "Tube", "tube.fxo");
    kelvo::MotionblurEffect blur(source.getBuffer(), nullptr, nullptr, 1.0f);
    ASSERT_EQ(bloom.shader.effect(), nullptr);

    device->clearCalls();
    bloom.renderToBuffer(1.0f, false);
    text.renderToBuffer(1.0f, false);
    fade.renderToBuffer(1.0f, false);
    tube.renderToBuffer(1.0f, false);
    blur.renderToBuffer(1.0f, false);
    EXPECT_EQ(device->countCalls("DrawPrimitiveUP"), 0u);
    EXPECT_GT(reports.count(), 0u);
}

}  // namespace
