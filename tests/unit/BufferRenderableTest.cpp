#include <gtest/gtest.h>

#include "EngineTestBase.h"
#include "gfx/BufferRenderable.h"
#include "gfx/RenderTarget.h"

namespace {

class CountingRenderable : public kelvo::BufferRenderable {
public:
    void render(float time, bool clear) override {
        ++renders;
        renderedTime = time;
        lastClear = clear;
    }
    int renders = 0;
    float renderedTime = 0.0f;
    bool lastClear = false;
};

class BufferRenderableTest : public EngineTestBase {
protected:
    void SetUp() override {
        EngineTestBase::SetUp();
        device->setRecordQueries(false);
    }
};

TEST_F(BufferRenderableTest, RendersOncePerTimeWithinTheTolerance) {
    CountingRenderable picture;
    picture.renderToBuffer(1.0f);
    picture.renderToBuffer(1.0f);
    picture.renderToBuffer(1.0f + 0.0005f);  // half the tolerance: the same picture
    EXPECT_EQ(picture.renders, 1);
    picture.renderToBuffer(1.0f + 0.002f);  // twice the tolerance: a new one
    EXPECT_EQ(picture.renders, 2);
    EXPECT_FLOAT_EQ(picture.lastTime(), 1.002f);
}

TEST_F(BufferRenderableTest, AFirstRenderAtMinusOneDoesNothing) {
    CountingRenderable picture;
    picture.renderToBuffer(-1.0f);
    EXPECT_EQ(picture.renders, 0);
    EXPECT_TRUE(device->calls().empty());
    EXPECT_TRUE(kelvo::GraphicsContext::instance().renderTargets.empty());
}

TEST_F(BufferRenderableTest, ClearChoosesColourAndDepthOrDepthOnlyInsideTheBuffer) {
    CountingRenderable picture;
    kelvo::RenderTarget* buffer = picture.getBuffer();
    device->clearCalls();
    picture.renderToBuffer(0.0f, false);
    EXPECT_FALSE(picture.lastClear);
    EXPECT_EQ(device->callsStartingWith("Clear"),
              (std::vector<std::string>{"Clear(0, null, 0x2, 0x00000000, 1, 0)"}));
    device->clearCalls();
    picture.renderToBuffer(1.0f);
    EXPECT_TRUE(picture.lastClear);
    EXPECT_EQ(device->callsStartingWith("Clear"),
              (std::vector<std::string>{"Clear(0, null, 0x3, 0x00000000, 1, 0)"}));
    EXPECT_FALSE(buffer->isBound());
    EXPECT_EQ(device->renderTargetAt(0), &device->backBuffer());
}

}  // namespace
