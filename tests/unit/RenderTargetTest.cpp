#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "EngineTestBase.h"
#include "gfx/RenderTarget.h"
#include "platform/d3d9/recording/RecordingSurface.h"
#include "platform/os/AssertionCapture.h"
#include "platform/os/MessageBoxCapture.h"

using kelvo::RenderTarget;
using os::AssertionRecord;
using os::MessageBoxRecord;

namespace {

auto box(const D3DVIEWPORT9& v) {
    return std::make_tuple(v.X, v.Y, v.Width, v.Height);
}

MessageBoxRecord fatal(int code) {
    return {"Kelvo error", "Unexpected fatal error(#" + std::to_string(code) + ")."};
}

class RenderTargetTest : public EngineTestBase {
protected:
    IDirect3DSurface9* backBuffer() const { return &device->backBuffer(); }
    IDirect3DSurface9* autoDepth() const { return device->autoDepthStencil(); }

    os::MessageBoxCapture boxes;
};

}  // namespace

TEST_F(RenderTargetTest, CreateMakesAColourTextureWithItsOwnDepthSurfaceOnce) {
    RenderTarget target;
    target.create(320, 180);
    target.create(320, 180);
    EXPECT_EQ(boxes.records(), std::vector{fatal(52)});
    EXPECT_EQ(device->calls(),
              (std::vector<std::string>{
                  "CreateTexture(320, 180, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, "
                  "D3DPOOL_DEFAULT) -> tex#1",
                  "tex#1.GetSurfaceLevel(0)",
                  "CreateDepthStencilSurface(320, 180, D3DFMT_D24S8, 0, 0, 1) -> depth#1",
              }));
}

TEST_F(RenderTargetTest, FailedCreationsAreReportedAndTheTargetRefusesToBind) {
    os::AssertionCapture reports;
    device->failCall("CreateTexture", D3DERR_OUTOFVIDEOMEMORY);
    device->failCall("CreateDepthStencilSurface", D3DERR_OUTOFVIDEOMEMORY);
    RenderTarget target;
    target.create(64, 64);
    EXPECT_EQ(reports.records(), (std::vector<AssertionRecord>{{"0", "gfx/RenderTarget", 26},
                                                               {"0", "gfx/RenderTarget", 46}}));
    device->clearCalls();
    target.bind(0);
    EXPECT_EQ(boxes.records(), std::vector{fatal(119)});
    EXPECT_TRUE(device->calls().empty());

    device->clearFailures();
    reports.clear();
    device->failCall("GetSurfaceLevel", D3DERR_INVALIDCALL);
    RenderTarget other;
    other.create(64, 64);
    EXPECT_EQ(reports.records(), (std::vector<AssertionRecord>{{"0", "gfx/RenderTarget", 35}}));
}

TEST_F(RenderTargetTest, IndexZeroBindReplacesTargetDepthAndViewportAndUnbindRestoresThem) {
    RenderTarget target;
    target.create(320, 180);
    target.bind(0);
    EXPECT_TRUE(target.isBound());
    EXPECT_EQ(device->renderTargetAt(0), target.surface());
    EXPECT_EQ(device->depthStencil(), target.depthSurface());
    EXPECT_EQ(box(device->viewport()), std::make_tuple(0u, 0u, 320u, 180u));
    EXPECT_EQ(viewports.depth(), 1u);

    target.unbind();
    EXPECT_FALSE(target.isBound());
    EXPECT_EQ(device->renderTargetAt(0), backBuffer());
    EXPECT_EQ(device->depthStencil(), autoDepth());
    EXPECT_EQ(box(device->viewport()), box(viewports.defaultViewport()));
    EXPECT_EQ(viewports.depth(), 0u);
    EXPECT_TRUE(boxes.records().empty());
}

TEST_F(RenderTargetTest, NestedBindsRestoreTheOuterTarget) {
    RenderTarget outer;
    outer.create(320, 180);
    RenderTarget inner;
    inner.create(100, 50);

    outer.bind(0);
    inner.bind(0);
    EXPECT_EQ(device->renderTargetAt(0), inner.surface());
    EXPECT_EQ(box(device->viewport()), std::make_tuple(0u, 0u, 100u, 50u));
    inner.unbind();
    EXPECT_EQ(device->renderTargetAt(0), outer.surface());
    EXPECT_EQ(device->depthStencil(), outer.depthSurface());
    EXPECT_EQ(box(device->viewport()), std::make_tuple(0u, 0u, 320u, 180u));
    outer.unbind();
    EXPECT_EQ(device->renderTargetAt(0), backBuffer());
    EXPECT_EQ(device->depthStencil(), autoDepth());
}

TEST_F(RenderTargetTest, BindsAboveIndexZeroTouchNeitherDepthNorViewport) {
    RenderTarget first;
    first.create(320, 180);
    first.bind(0);
    for (unsigned index = 1; index <= 3; ++index) {
        RenderTarget extra;
        extra.create(320, 180);
        const std::size_t viewportsBefore = device->viewportsSet().size();
        extra.bind(index);
        EXPECT_EQ(device->renderTargetAt(index), extra.surface()) << index;
        EXPECT_EQ(device->depthStencil(), first.depthSurface()) << index;
        extra.unbind();
        EXPECT_EQ(device->renderTargetAt(index), nullptr) << index;
        EXPECT_EQ(device->viewportsSet().size(), viewportsBefore) << index;
        EXPECT_EQ(viewports.depth(), 1u) << index;
    }
    EXPECT_EQ(device->renderTargetAt(0), first.surface());
    first.unbind();
}

TEST_F(RenderTargetTest, BrokenProtocolIsReported) {
    RenderTarget never;
    never.bind(0);
    EXPECT_EQ(boxes.records(), std::vector{fatal(119)});
    EXPECT_FALSE(never.isBound());

    boxes.clear();
    RenderTarget target;
    target.create(32, 32);
    target.unbind();
    EXPECT_EQ(boxes.records(), std::vector{fatal(166)});

    boxes.clear();
    target.bind(1);
    target.bind(1);  // reported, and the bind still happens
    EXPECT_EQ(boxes.records(), std::vector{fatal(124)});
    EXPECT_EQ(device->renderTargetAt(1), target.surface());
    target.unbind();
    device->clearCalls();
    target.unbind();
    EXPECT_EQ(boxes.records(), (std::vector{fatal(124), fatal(166)}));
    EXPECT_TRUE(device->calls().empty());

    // A second index-0 bind leaves one viewport for its one unbind to take back.
    target.bind(0);
    target.bind(0);
    target.unbind();
    EXPECT_EQ(viewports.depth(), 0u);
}

TEST_F(RenderTargetTest, BindingLeavesNoReferenceBehind) {
    device->AddRef();
    {
        RenderTarget outer;
        outer.create(64, 64);
        RenderTarget inner;
        inner.create(64, 64);
        outer.bind(0);
        for (unsigned index : {1u, 0u, 1u, 0u}) {
            inner.bind(index);
            inner.unbind();
        }
        outer.unbind();
    }
    EXPECT_EQ(device->liveObjectCount(), 0u) << testing::PrintToString(device->liveObjectNames());
    EXPECT_EQ(device->overReleaseCount(), 0u);
    device->Release();
}

TEST_F(RenderTargetTest, ClearTargetFillsTheColourWithTransparentBlack) {
    RenderTarget target;
    target.create(8, 8);
    target.bind(0);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_ARGB(255, 1, 2, 3), 1.0f, 0);
    target.unbind();
    device->clearCalls();

    target.clearTarget();
    EXPECT_EQ(device->calls(),
              std::vector<std::string>{"ColorFill(" + device->nameOf(target.surface()) +
                                       ", null, 0x00000000)"});
    EXPECT_EQ(static_cast<RecordingSurface*>(target.surface())->pixel(0, 0), 0u);
}
