// The IDirect3D9 object of the OpenGL device: display modes of SDL's display 0 and device
// creation. It keeps SDL's video subsystem initialised while it lives.
#pragma once

#include <atomic>

#include "platform/d3d9/d3d9.h"

class GLDirect3D final : public IDirect3D9 {
public:
    GLDirect3D() = default;

    ULONG AddRef() override;
    ULONG Release() override;
    UINT GetAdapterCount() override { return 1; }
    UINT GetAdapterModeCount(UINT adapter, D3DFORMAT format) override;
    HRESULT EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode,
                             D3DDISPLAYMODE* displayMode) override;
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow, DWORD behaviorFlags,
                         D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) override;

private:
    ~GLDirect3D() override;
    std::atomic<ULONG> refs_{1};
};
