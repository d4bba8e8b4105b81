#include "tools/bench/show/TimingDirect3D.h"

#include "tools/bench/show/PassTimingDevice.h"
#include "tools/bench/show/TimingDevice.h"

TimingDirect3D::TimingDirect3D(IDirect3D9* inner, DeviceCallStats& stats)
    : inner_(inner), stats_(stats) {}

ULONG TimingDirect3D::AddRef() {
    return ++references_;
}

ULONG TimingDirect3D::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        inner_->Release();
        delete this;
    }
    return left;
}

UINT TimingDirect3D::GetAdapterCount() {
    return inner_->GetAdapterCount();
}

UINT TimingDirect3D::GetAdapterModeCount(UINT adapter, D3DFORMAT format) {
    return inner_->GetAdapterModeCount(adapter, format);
}

HRESULT TimingDirect3D::EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode,
                                         D3DDISPLAYMODE* displayMode) {
    return inner_->EnumAdapterModes(adapter, format, mode, displayMode);
}

HRESULT TimingDirect3D::CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                                     DWORD behaviorFlags, D3DPRESENT_PARAMETERS* parameters,
                                     IDirect3DDevice9** device) {
    IDirect3DDevice9* inner = nullptr;
    const HRESULT result = inner_->CreateDevice(adapter, deviceType, focusWindow, behaviorFlags,
                                                parameters, device != nullptr ? &inner : nullptr);
    if (device != nullptr) {
        TimingDevice* timing = nullptr;
        if (inner != nullptr) {
            timing = stats_.namePasses
                         ? static_cast<TimingDevice*>(new PassTimingDevice(inner, stats_))
                         : new TimingDevice(inner, stats_);
        }
        *device = timing;
    }
    deviceCreatedAt_ = std::chrono::steady_clock::now();
    return result;
}
