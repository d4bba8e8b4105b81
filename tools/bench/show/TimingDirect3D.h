// A Direct3D object whose devices are TimingDevices over the inner object's devices; the
// benchmark hands it to the driver so that the whole show runs through the measuring device.
// It notes when the device was made, so the loading time can be told from window and device
// creation.
#pragma once

#include <atomic>
#include <chrono>

#include "platform/d3d9/d3d9.h"
#include "tools/bench/show/DeviceCallStats.h"

class TimingDirect3D final : public IDirect3D9 {
public:
    // Takes over one reference to inner (which must not be null).
    TimingDirect3D(IDirect3D9* inner, DeviceCallStats& stats);

    ULONG AddRef() override;
    ULONG Release() override;
    UINT GetAdapterCount() override;
    UINT GetAdapterModeCount(UINT adapter, D3DFORMAT format) override;
    HRESULT EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode,
                             D3DDISPLAYMODE* displayMode) override;
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow, DWORD behaviorFlags,
                         D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) override;

    // When the last device was created (the epoch when none was).
    std::chrono::steady_clock::time_point deviceCreatedAt() const { return deviceCreatedAt_; }

private:
    ~TimingDirect3D() override = default;

    IDirect3D9* inner_;
    DeviceCallStats& stats_;
    std::atomic<ULONG> references_{1};
    std::chrono::steady_clock::time_point deviceCreatedAt_{};
};
