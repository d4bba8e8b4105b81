// The render window's device creation over the recording Direct3D object: the presentation it
// asks for, the hardware-then-software attempts and the report when neither works, the start-up
// failures that must stop everything after them, and its viewports on the created device.
#include <gtest/gtest.h>

#include "demo/D3DWindow.h"
#include "gfx/GraphicsContext.h"
#include "platform/d3d9/recording/RecordingDevice.h"
#include "platform/d3d9/recording/RecordingDirect3D.h"
#include "platform/os/AssertionCapture.h"
#include "platform/os/MessageBoxCapture.h"
#include "platform/os/QuitRequest.h"

namespace {

bool samePresentation(const D3DPRESENT_PARAMETERS& a, const D3DPRESENT_PARAMETERS& b) {
    return a.BackBufferWidth == b.BackBufferWidth && a.BackBufferHeight == b.BackBufferHeight &&
           a.BackBufferFormat == b.BackBufferFormat && a.BackBufferCount == b.BackBufferCount &&
           a.MultiSampleType == b.MultiSampleType && a.MultiSampleQuality == b.MultiSampleQuality &&
           a.SwapEffect == b.SwapEffect && a.hDeviceWindow == b.hDeviceWindow &&
           a.Windowed == b.Windowed && a.EnableAutoDepthStencil == b.EnableAutoDepthStencil &&
           a.AutoDepthStencilFormat == b.AutoDepthStencilFormat && a.Flags == b.Flags &&
           a.FullScreen_RefreshRateInHz == b.FullScreen_RefreshRateInHz &&
           a.PresentationInterval == b.PresentationInterval;
}

class D3DWindowTest : public ::testing::Test {
protected:
    D3DWindowTest() {
        os::clearQuitRequest();
        window.adoptDirect3D(d3d);
    }
    ~D3DWindowTest() override {
        kelvo::GraphicsContext::instance().release();
        os::clearQuitRequest();
    }

    static WindowConfig configured(int width, int height, bool fullscreen) {
        WindowConfig config = defaultWindowConfig();
        config.width = width;
        config.height = height;
        config.fullscreen = fullscreen;
        return config;
    }

    // Owned by the window, which releases it.
    RecordingDirect3D* d3d = new RecordingDirect3D();
    D3DWindow window;
    os::AssertionCapture reports;
    os::MessageBoxCapture boxes;
};

TEST_F(D3DWindowTest, WindowedDeviceIsHardwareMultithreadedWithTheTabledPresentation) {
    window.configure(configured(640, 360, false));
    ASSERT_TRUE(window.createDevice());

    ASSERT_EQ(d3d->createDeviceCalls().size(), 1u);
    const auto& call = d3d->createDeviceCalls()[0];
    EXPECT_EQ(call.adapter, 0u);
    EXPECT_EQ(call.deviceType, D3DDEVTYPE_HAL);
    EXPECT_EQ(call.behaviorFlags, 0x44u);
    // Zero-filled, then: size, desktop format, one buffer, no multisampling, discard, the
    // window, windowed, automatic D24S8 depth-stencil, default refresh and interval.
    D3DPRESENT_PARAMETERS expected{};
    expected.BackBufferWidth = 640;
    expected.BackBufferHeight = 360;
    expected.BackBufferCount = 1;
    expected.SwapEffect = D3DSWAPEFFECT_DISCARD;
    expected.Windowed = TRUE;
    expected.EnableAutoDepthStencil = TRUE;
    expected.AutoDepthStencilFormat = D3DFMT_D24S8;
    EXPECT_TRUE(samePresentation(call.parameters, expected));
    EXPECT_EQ(call.focusWindow, nullptr);
    EXPECT_EQ(kelvo::GraphicsContext::instance().device, d3d->lastDevice());
    EXPECT_EQ(reports.count(), 0u);
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(D3DWindowTest, FullScreenDeviceAsksForA8R8G8B8AndNoWindowedFlag) {
    d3d = new RecordingDirect3D({{800, 600, 60, D3DFMT_A8R8G8B8}});
    window.adoptDirect3D(d3d);
    window.configure(configured(800, 600, true));
    ASSERT_TRUE(window.createDevice());
    const D3DPRESENT_PARAMETERS& p = d3d->createDeviceCalls()[0].parameters;
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_A8R8G8B8);
    EXPECT_EQ(p.Windowed, FALSE);
    EXPECT_EQ(p.BackBufferWidth, 800u);
    EXPECT_EQ(p.BackBufferHeight, 600u);
}

TEST_F(D3DWindowTest, RefusedHardwareDeviceFallsBackToSoftwareWithTheSameParameters) {
    d3d->failCreateDevice(D3DERR_NOTAVAILABLE, 1);
    window.configure(configured(640, 360, false));
    ASSERT_TRUE(window.createDevice());
    const auto& calls = d3d->createDeviceCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].behaviorFlags, 0x44u);
    EXPECT_EQ(calls[1].behaviorFlags, 0x24u);
    EXPECT_TRUE(samePresentation(calls[0].parameters, calls[1].parameters));
    EXPECT_NE(kelvo::GraphicsContext::instance().device, nullptr);
    EXPECT_EQ(reports.count(), 0u);
}

TEST_F(D3DWindowTest, NoDeviceAtAllIsReportedAndLeavesNothingToDrawOn) {
    d3d->failCreateDevice(D3DERR_NOTAVAILABLE);
    window.configure(configured(640, 360, false));
    EXPECT_FALSE(window.createDevice());
    EXPECT_EQ(d3d->createDeviceCalls().size(), 2u);
    EXPECT_EQ(
        reports.records(),
        (std::vector<os::AssertionRecord>{{"0", "demo/D3DWindow", D3DWindow::kCreateDeviceLine}}));
    EXPECT_EQ(kelvo::GraphicsContext::instance().device, nullptr);
    EXPECT_TRUE(window.quitRequested()) << "no frame may run";
}

TEST_F(D3DWindowTest, FailedWindowStopsTheStartUpBeforeTheDevice) {
    EXPECT_FALSE(window.create(configured(0, 360, false)));
    EXPECT_EQ(boxes.records(),
              (std::vector<os::MessageBoxRecord>{{"error", "Creating window failed."}}));
    EXPECT_TRUE(os::quitRequested());
    EXPECT_TRUE(window.quitRequested());
    EXPECT_EQ(window.hwnd(), nullptr);
    EXPECT_TRUE(d3d->createDeviceCalls().empty());
    EXPECT_EQ(kelvo::GraphicsContext::instance().device, nullptr);
}

TEST_F(D3DWindowTest, ViewportsGoToTheCreatedDeviceOverTheLetterboxedDefault) {
    window.configure(configured(800, 600, false));
    ASSERT_TRUE(window.createDevice());
    EXPECT_EQ(&kelvo::ViewportStack::current(), &window.viewportStack());
    RecordingDevice* device = d3d->lastDevice();

    window.pushViewport({0, 0, 256, 256, 0, 1});
    window.popViewport();
    window.popViewport();  // on an empty stack: the default again, the stack stays empty
    const auto& set = device->viewportsSet();
    ASSERT_EQ(set.size(), 3u);
    EXPECT_EQ(set[0].Width, 256u);
    for (std::size_t i : {1u, 2u}) {
        EXPECT_EQ(set[i].Y, 75u);
        EXPECT_EQ(set[i].Width, 800u);
        EXPECT_EQ(set[i].Height, 449u);
    }
    EXPECT_EQ(window.viewportStack().depth(), 0u);
}

}  // namespace
