// The recording IDirect3D9: its display modes and CreateDevice, which the start-up code calls
// with a hardware device first and a software one when that fails.
#include <gtest/gtest.h>

#include "platform/d3d9/recording/RecordingDevice.h"
#include "platform/d3d9/recording/RecordingDirect3D.h"
#include "platform/d3d9/recording/RecordingSurface.h"

namespace {

D3DPRESENT_PARAMETERS windowed(UINT width, UINT height) {
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = width;
    parameters.BackBufferHeight = height;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.Windowed = TRUE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
    return parameters;
}

TEST(RecordingDirect3DTest, EnumeratesTheModesOfAdapterZeroOnly) {
    auto* d3d = new RecordingDirect3D({{800, 600, 60, D3DFMT_X8R8G8B8},
                                       {640, 480, 60, D3DFMT_R8G8B8},
                                       {1920, 1080, 75, D3DFMT_X8R8G8B8}});
    EXPECT_EQ(d3d->GetAdapterCount(), 1u);
    ASSERT_EQ(d3d->GetAdapterModeCount(0, D3DFMT_X8R8G8B8), 2u);
    D3DDISPLAYMODE mode{};
    ASSERT_EQ(d3d->EnumAdapterModes(0, D3DFMT_X8R8G8B8, 1, &mode), D3D_OK);
    EXPECT_EQ(mode.Width, 1920u);
    EXPECT_EQ(mode.RefreshRate, 75u);
    EXPECT_EQ(d3d->EnumAdapterModes(0, D3DFMT_X8R8G8B8, 2, &mode), D3DERR_INVALIDCALL);
    EXPECT_EQ(d3d->GetAdapterModeCount(1, D3DFMT_X8R8G8B8), 0u);
    EXPECT_EQ(d3d->EnumAdapterModes(1, D3DFMT_X8R8G8B8, 0, &mode), D3DERR_INVALIDCALL);
    EXPECT_EQ(d3d->Release(), 0u);

    d3d = new RecordingDirect3D();
    EXPECT_GE(d3d->GetAdapterModeCount(0, D3DFMT_X8R8G8B8), 3u);
    d3d->Release();
}

TEST(RecordingDirect3DTest, HardwareFailureThenSoftwareDevice) {
    auto* d3d = new RecordingDirect3D();
    d3d->failCreateDevice(D3DERR_NOTAVAILABLE, 1);
    const auto window = reinterpret_cast<HWND>(0x1234);
    D3DPRESENT_PARAMETERS parameters = windowed(800, 450);
    const DWORD hardware = D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED;
    const DWORD software = D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED;

    IDirect3DDevice9* device = reinterpret_cast<IDirect3DDevice9*>(&parameters);
    EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, window, hardware, &parameters, &device),
              D3DERR_NOTAVAILABLE);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(d3d->lastDevice(), nullptr);
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, window, software, &parameters, &device), D3D_OK);

    const auto& calls = d3d->createDeviceCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].behaviorFlags, hardware);
    EXPECT_EQ(calls[0].result, D3DERR_NOTAVAILABLE);
    EXPECT_EQ(calls[1].behaviorFlags, software);
    EXPECT_EQ(calls[1].focusWindow, window);
    EXPECT_EQ(calls[1].parameters.BackBufferWidth, 800u);
    EXPECT_EQ(calls[1].result, D3D_OK);

    RecordingDevice* recording = d3d->lastDevice();
    ASSERT_EQ(recording, device);
    EXPECT_EQ(recording->backBuffer().desc().Height, 450u);
    EXPECT_EQ(recording->renderState(D3DRS_ZENABLE), static_cast<DWORD>(D3DZB_TRUE));
    EXPECT_EQ(device->Release(), 0u);
    d3d->Release();
}

TEST(RecordingDirect3DTest, CreateDeviceChecksAndCompletesThePresentationParameters) {
    auto* d3d = new RecordingDirect3D();
    d3d->setWindowSize(1024, 576);
    IDirect3DDevice9* device = nullptr;

    D3DPRESENT_PARAMETERS fullScreen = windowed(1000, 700);
    fullScreen.Windowed = FALSE;
    EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &fullScreen, &device),
              D3DERR_INVALIDCALL)
        << "no such display mode";
    fullScreen.BackBufferWidth = 1280;
    fullScreen.BackBufferHeight = 720;
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &fullScreen, &device), D3D_OK);
    device->Release();

    EXPECT_EQ(d3d->CreateDevice(1, D3DDEVTYPE_HAL, nullptr, 0, &fullScreen, &device),
              D3DERR_INVALIDCALL);

    D3DPRESENT_PARAMETERS sized = windowed(0, 0);
    sized.BackBufferFormat = D3DFMT_UNKNOWN;
    sized.EnableAutoDepthStencil = FALSE;
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &sized, &device), D3D_OK);
    EXPECT_EQ(sized.BackBufferWidth, 1024u);
    EXPECT_EQ(sized.BackBufferHeight, 576u);
    EXPECT_EQ(sized.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(d3d->createDeviceCalls().back().parameters.BackBufferWidth, 0u)
        << "the record keeps what the caller passed";
    EXPECT_EQ(d3d->lastDevice()->renderState(D3DRS_ZENABLE), static_cast<DWORD>(D3DZB_FALSE));
    EXPECT_EQ(d3d->lastDevice()->autoDepthStencil(), nullptr);
    device->Release();
    d3d->Release();
}

}  // namespace
