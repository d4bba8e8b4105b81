#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "ViewportDeviceFake.h"
#include "gfx/Letterbox.h"
#include "gfx/ViewportStack.h"

namespace {

constexpr float kSixteenNine = 16.0f / 9.0f;  // 1.7777778, slightly above 16/9

auto box(const D3DVIEWPORT9& v) {
    return std::make_tuple(v.X, v.Y, v.Width, v.Height);
}

D3DVIEWPORT9 viewport(DWORD x, DWORD y, DWORD w, DWORD h) {
    return {x, y, w, h, 0.0f, 1.0f};
}

}  // namespace

TEST(Letterbox, SixteenNinePictureOnCommonBuffers) {
    EXPECT_EQ(box(kelvo::letterboxViewport(640, 360, kSixteenNine)),
              std::make_tuple(0u, 0u, 640u, 359u));
    EXPECT_EQ(box(kelvo::letterboxViewport(1920, 1080, kSixteenNine)),
              std::make_tuple(0u, 0u, 1920u, 1079u));
    EXPECT_EQ(box(kelvo::letterboxViewport(800, 600, kSixteenNine)),
              std::make_tuple(0u, 75u, 800u, 449u));
    EXPECT_EQ(box(kelvo::letterboxViewport(1280, 1024, kSixteenNine)),
              std::make_tuple(0u, 152u, 1280u, 719u));
    EXPECT_EQ(box(kelvo::letterboxViewport(1366, 768, kSixteenNine)),
              std::make_tuple(0u, 0u, 1366u, 768u));
    const D3DVIEWPORT9 v = kelvo::letterboxViewport(800, 600, kSixteenNine);
    EXPECT_EQ(v.MinZ, 0.0f);
    EXPECT_EQ(v.MaxZ, 1.0f);
}

TEST(Letterbox, DisplaysWiderThanThePictureArePillarboxed) {
    EXPECT_EQ(box(kelvo::letterboxViewport(2560, 1080, kSixteenNine)),
              std::make_tuple(320u, 0u, 1920u, 1080u));
    // A portrait picture on a buffer narrower than itself is letterboxed instead.
    EXPECT_EQ(box(kelvo::letterboxViewport(100, 1000, 0.5f)),
              std::make_tuple(0u, 400u, 100u, 200u));
    EXPECT_EQ(box(kelvo::letterboxViewport(100, 100, 0.5f)), std::make_tuple(25u, 0u, 50u, 100u));
}

TEST(Letterbox, ViewportAlwaysLiesInsideTheBuffer) {
    const float aspects[] = {kSixteenNine, 4.0f / 3.0f, 2.39f, 1.0f, 0.5f,    0.01f,
                             100.0f,       NAN,         -1.0f, 0.0f, INFINITY};
    for (float aspect : aspects) {
        for (DWORD w : {0u, 1u, 3u, 640u, 1366u, 2560u, 5120u}) {
            for (DWORD h : {0u, 1u, 7u, 360u, 1080u, 1440u}) {
                const D3DVIEWPORT9 v = kelvo::letterboxViewport(w, h, aspect);
                EXPECT_LE(v.X + v.Width, w) << w << "x" << h << " at " << aspect;
                EXPECT_LE(v.Y + v.Height, h) << w << "x" << h << " at " << aspect;
            }
        }
    }
}

class ViewportStackTest : public ::testing::Test {
protected:
    ViewportStackTest() : stack([this] { return &device; }) {
        stack.setBackBuffer(800, 600, kSixteenNine);
    }

    ViewportDeviceFake device;
    kelvo::ViewportStack stack;
};

TEST_F(ViewportStackTest, PushSetsAndPopRestoresThePreviousViewport) {
    stack.pushViewport(viewport(0, 0, 256, 256));
    stack.pushViewport(viewport(0, 0, 64, 32));
    stack.popViewport();
    ASSERT_EQ(device.viewports.size(), 3u);
    EXPECT_EQ(box(device.viewports[0]), std::make_tuple(0u, 0u, 256u, 256u));
    EXPECT_EQ(box(device.viewports[1]), std::make_tuple(0u, 0u, 64u, 32u));
    EXPECT_EQ(box(device.viewports[2]), std::make_tuple(0u, 0u, 256u, 256u));
    EXPECT_EQ(stack.depth(), 1u);
    EXPECT_EQ(device.otherCalls, 0);
}

TEST_F(ViewportStackTest, PoppingTheLastOrAnEmptyStackSetsTheDefaultViewport) {
    stack.pushViewport(viewport(0, 0, 256, 256));
    stack.popViewport();
    stack.popViewport();
    EXPECT_EQ(stack.depth(), 0u);
    ASSERT_EQ(device.viewports.size(), 3u);
    EXPECT_EQ(box(device.viewports[1]), std::make_tuple(0u, 75u, 800u, 449u));
    EXPECT_EQ(box(device.viewports[2]), std::make_tuple(0u, 75u, 800u, 449u));
}

TEST_F(ViewportStackTest, WithoutADeviceTheStackStillKeepsCount) {
    stack.setDeviceProvider([] { return static_cast<IDirect3DDevice9*>(nullptr); });
    stack.pushViewport(viewport(1, 2, 3, 4));
    EXPECT_EQ(box(stack.currentViewport()), std::make_tuple(1u, 2u, 3u, 4u));
    stack.popViewport();
    stack.popViewport();
    EXPECT_EQ(stack.depth(), 0u);
    EXPECT_TRUE(device.viewports.empty());
}

TEST_F(ViewportStackTest, CurrentIsTheRegisteredStackUntilItIsDestroyed) {
    {
        kelvo::ViewportStack windowStack;
        windowStack.setBackBuffer(1280, 1024, kSixteenNine);
        kelvo::ViewportStack::makeCurrent(&windowStack);
        EXPECT_EQ(&kelvo::ViewportStack::current(), &windowStack);
    }
    kelvo::ViewportStack& standIn = kelvo::ViewportStack::current();
    EXPECT_NE(&standIn, &stack);
    EXPECT_EQ(box(standIn.defaultViewport()), std::make_tuple(0u, 0u, 640u, 359u));
}
