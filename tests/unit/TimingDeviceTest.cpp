// The benchmark's measuring device over the recording device: calls reach the inner device
// unchanged with their results, creations and draws are counted, and the inner device lives
// exactly as long as the decorator.
#include <gtest/gtest.h>

#include "platform/d3d9/recording/RecordingDevice.h"
#include "platform/d3d9/recording/RecordingDirect3D.h"
#include "tools/bench/show/TimingDevice.h"
#include "tools/bench/show/TimingDirect3D.h"

namespace {

TEST(TimingDeviceTest, ForwardsCallsAndResultsAndCountsCreationsAndDraws) {
    auto* inner = new RecordingDevice();
    inner->AddRef();  // the test's own reference, to look at the device afterwards
    DeviceCallStats stats;
    IDirect3DDevice9* device = new TimingDevice(inner, stats);

    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(
        device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
        D3D_OK);
    EXPECT_EQ(device->SetTexture(0, texture), D3D_OK);
    EXPECT_EQ(inner->textureAt(0), texture);
    const float quad[4 * 5] = {};
    device->BeginScene();
    device->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, 20), D3D_OK);
    device->EndScene();
    inner->failCall("Present", D3DERR_DEVICELOST);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);

    const DeviceCallStats::Snapshot counted = stats.snapshot();
    EXPECT_EQ(counted.creations, 1);
    EXPECT_EQ(counted.draws, 1);
    EXPECT_EQ(counted.calls, 7);
    EXPECT_GE(counted.insideNs, 0);
    EXPECT_EQ(inner->countCalls("DrawPrimitiveUP"), 1u);

    device->SetTexture(0, nullptr);
    texture->Release();
    const ULONG before = inner->refCount();
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(inner->refCount(), before - 1);
    EXPECT_EQ(inner->liveObjectCount(), 0u);
    inner->Release();
}

TEST(TimingDeviceTest, Direct3DHandsOutMeasuringDevicesAndNotesWhen) {
    DeviceCallStats stats;
    IDirect3D9* d3d = new TimingDirect3D(new RecordingDirect3D(), stats);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = 64;
    parameters.BackBufferHeight = 36;
    parameters.Windowed = TRUE;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &parameters, &device), D3D_OK);
    ASSERT_NE(device, nullptr);
    EXPECT_NE(dynamic_cast<TimingDevice*>(device), nullptr);
    EXPECT_NE(static_cast<TimingDirect3D*>(d3d)->deviceCreatedAt(),
              std::chrono::steady_clock::time_point{});
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    EXPECT_EQ(stats.snapshot().calls, 1);
    device->Release();
    d3d->Release();
}

}  // namespace
