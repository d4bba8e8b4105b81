#include "platform/d3d9/recording/RecordingDirect3D.h"

#include <algorithm>

#include "platform/d3d9/recording/RecordingDevice.h"

std::vector<D3DDISPLAYMODE> RecordingDirect3D::defaultModes() {
    return {
        {640, 480, 60, D3DFMT_X8R8G8B8},   {800, 600, 60, D3DFMT_X8R8G8B8},
        {1024, 768, 60, D3DFMT_X8R8G8B8},  {1280, 720, 60, D3DFMT_X8R8G8B8},
        {1280, 1024, 60, D3DFMT_X8R8G8B8}, {1920, 1080, 60, D3DFMT_X8R8G8B8},
    };
}

RecordingDirect3D::RecordingDirect3D(std::vector<D3DDISPLAYMODE> modes)
    : modes_(std::move(modes)) {}

void RecordingDirect3D::failCreateDevice(HRESULT result, unsigned nth) {
    failures_.fail("CreateDevice", result, nth);
}

void RecordingDirect3D::setWindowSize(UINT width, UINT height) {
    windowWidth_ = width;
    windowHeight_ = height;
}

ULONG RecordingDirect3D::Release() {
    const ULONG left = refs_ == 0 ? 0 : --refs_;
    if (left == 0) {
        delete this;
    }
    return left;
}

std::vector<D3DDISPLAYMODE> RecordingDirect3D::modesOf(D3DFORMAT format) const {
    std::vector<D3DDISPLAYMODE> found;
    std::copy_if(modes_.begin(), modes_.end(), std::back_inserter(found),
                 [format](const D3DDISPLAYMODE& mode) { return mode.Format == format; });
    return found;
}

UINT RecordingDirect3D::GetAdapterModeCount(UINT adapter, D3DFORMAT format) {
    return adapter == D3DADAPTER_DEFAULT ? static_cast<UINT>(modesOf(format).size()) : 0;
}

HRESULT RecordingDirect3D::EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode,
                                            D3DDISPLAYMODE* displayMode) {
    const std::vector<D3DDISPLAYMODE> modes = modesOf(format);
    if (adapter != D3DADAPTER_DEFAULT || displayMode == nullptr || mode >= modes.size()) {
        return D3DERR_INVALIDCALL;
    }
    *displayMode = modes[mode];
    return D3D_OK;
}

bool RecordingDirect3D::supportsFullScreen(const D3DPRESENT_PARAMETERS& parameters) const {
    return std::any_of(modes_.begin(), modes_.end(), [&](const D3DDISPLAYMODE& mode) {
        return mode.Width == parameters.BackBufferWidth &&
               mode.Height == parameters.BackBufferHeight &&
               mode.Format == parameters.BackBufferFormat &&
               (parameters.FullScreen_RefreshRateInHz == 0 ||
                parameters.FullScreen_RefreshRateInHz == mode.RefreshRate);
    });
}

HRESULT RecordingDirect3D::CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                                        DWORD behaviorFlags, D3DPRESENT_PARAMETERS* parameters,
                                        IDirect3DDevice9** device) {
    calls_.push_back(CreateDeviceCall{adapter, deviceType, focusWindow, behaviorFlags,
                                      parameters ? *parameters : D3DPRESENT_PARAMETERS{}, D3D_OK});
    HRESULT hr = failures_.next("CreateDevice");
    if (SUCCEEDED(hr) &&
        (device == nullptr || parameters == nullptr || adapter != D3DADAPTER_DEFAULT ||
         (!parameters->Windowed && !supportsFullScreen(*parameters)))) {
        hr = D3DERR_INVALIDCALL;
    }
    if (device != nullptr) {
        *device = nullptr;
    }
    if (SUCCEEDED(hr)) {
        // Direct3D fills in what a windowed caller may leave at 0, and reports it back.
        if (parameters->Windowed && parameters->BackBufferWidth == 0) {
            parameters->BackBufferWidth = windowWidth_;
        }
        if (parameters->Windowed && parameters->BackBufferHeight == 0) {
            parameters->BackBufferHeight = windowHeight_;
        }
        if (parameters->Windowed && parameters->BackBufferFormat == D3DFMT_UNKNOWN) {
            parameters->BackBufferFormat = D3DFMT_X8R8G8B8;
        }
        parameters->BackBufferCount = std::max(1u, parameters->BackBufferCount);
        lastDevice_ = new RecordingDevice(*parameters);
        *device = lastDevice_;
    }
    calls_.back().result = hr;
    return hr;
}
