// The test double of IDirect3D9: one adapter with a configurable list of display modes, and
// CreateDevice that records its arguments, fails when told to and otherwise yields a
// RecordingDevice. Construct with new and Release when done.
#pragma once

#include <string>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/recording/FailurePlan.h"

class RecordingDevice;

class RecordingDirect3D final : public IDirect3D9 {
public:
    struct CreateDeviceCall {
        UINT adapter;
        D3DDEVTYPE deviceType;
        HWND focusWindow;
        DWORD behaviorFlags;
        // As the caller passed them, before the device filled in defaults.
        D3DPRESENT_PARAMETERS parameters;
        HRESULT result;
    };

    // A few common 32-bit (X8R8G8B8) modes at 60 Hz.
    static std::vector<D3DDISPLAYMODE> defaultModes();

    explicit RecordingDirect3D(std::vector<D3DDISPLAYMODE> modes = defaultModes());

    // Every CreateDevice fails with result, or with nth > 0 only the nth attempt from now.
    void failCreateDevice(HRESULT result, unsigned nth = 0);
    const std::vector<CreateDeviceCall>& createDeviceCalls() const { return calls_; }
    // The device of the last successful CreateDevice, or null. Not a reference: valid while
    // whoever received the device holds it.
    RecordingDevice* lastDevice() const { return lastDevice_; }
    // The back-buffer size a windowed device gets when the caller passes 0 (the window's).
    void setWindowSize(UINT width, UINT height);

    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override;
    UINT GetAdapterCount() override { return 1; }
    UINT GetAdapterModeCount(UINT adapter, D3DFORMAT format) override;
    HRESULT EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode,
                             D3DDISPLAYMODE* displayMode) override;
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow, DWORD behaviorFlags,
                         D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) override;

protected:
    ~RecordingDirect3D() override = default;

private:
    std::vector<D3DDISPLAYMODE> modesOf(D3DFORMAT format) const;
    bool supportsFullScreen(const D3DPRESENT_PARAMETERS& parameters) const;

    ULONG refs_ = 1;
    std::vector<D3DDISPLAYMODE> modes_;
    FailurePlan failures_;
    std::vector<CreateDeviceCall> calls_;
    RecordingDevice* lastDevice_ = nullptr;
    UINT windowWidth_ = 640;
    UINT windowHeight_ = 360;
};
