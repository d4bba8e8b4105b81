#include "platform/d3d9/gl/GLDirect3D.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <vector>

#include "platform/d3d9/gl/GLApi.h"
#include "platform/d3d9/gl/GLDevice.h"
#include "platform/os/DisplayModes.h"

namespace {

// The adapter's X8R8G8B8 modes are exactly the modes the full-screen switch accepts (one rule,
// os::isTrueColourFormat), in SDL's order with duplicates kept: the start-up dialog lists what
// the adapter reports, and a listed mode is never refused.
std::vector<os::DisplayMode> adapterModes() {
    return os::trueColourModes(os::sdlDisplayModes(0));
}

}  // namespace

IDirect3D9* Direct3DCreate9(UINT sdkVersion) {
    if (sdkVersion != D3D_SDK_VERSION) {
        return nullptr;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "d3d9: no video: %s\n", SDL_GetError());
        return nullptr;
    }
    return new GLDirect3D();
}

GLDirect3D::~GLDirect3D() {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

ULONG GLDirect3D::AddRef() {
    return ++refs_;
}

ULONG GLDirect3D::Release() {
    const ULONG left = --refs_;
    if (left == 0) {
        delete this;
    }
    return left;
}

UINT GLDirect3D::GetAdapterModeCount(UINT adapter, D3DFORMAT format) {
    if (adapter != 0 || format != D3DFMT_X8R8G8B8) {
        return 0;
    }
    return static_cast<UINT>(adapterModes().size());
}

HRESULT GLDirect3D::EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT index,
                                     D3DDISPLAYMODE* displayMode) {
    if (adapter != 0 || format != D3DFMT_X8R8G8B8 || displayMode == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    const std::vector<os::DisplayMode> modes = adapterModes();
    if (index >= modes.size()) {
        return D3DERR_INVALIDCALL;
    }
    const os::DisplayMode& mode = modes[index];
    *displayMode = {mode.width, mode.height, mode.refreshHz, D3DFMT_X8R8G8B8};
    return D3D_OK;
}

HRESULT GLDirect3D::CreateDevice(UINT adapter, D3DDEVTYPE, HWND focusWindow, DWORD,
                                 D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) {
    if (device == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *device = nullptr;
    if (adapter != 0 || parameters == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    HWND handle = parameters->hDeviceWindow != nullptr ? parameters->hDeviceWindow : focusWindow;
    auto* window = reinterpret_cast<SDL_Window*>(handle);
    // A windowed device with a zero size takes the window's size, as Direct3D does.
    if (window != nullptr &&
        (parameters->BackBufferWidth == 0 || parameters->BackBufferHeight == 0)) {
        int w = 0;
        int h = 0;
        SDL_GL_GetDrawableSize(window, &w, &h);
        parameters->BackBufferWidth =
            parameters->BackBufferWidth ? parameters->BackBufferWidth : static_cast<UINT>(w);
        parameters->BackBufferHeight =
            parameters->BackBufferHeight ? parameters->BackBufferHeight : static_cast<UINT>(h);
    }
    if (parameters->BackBufferWidth == 0 || parameters->BackBufferHeight == 0) {
        return D3DERR_INVALIDCALL;
    }
    if (parameters->BackBufferFormat == D3DFMT_UNKNOWN) {
        parameters->BackBufferFormat = D3DFMT_X8R8G8B8;
    }
    if (parameters->BackBufferCount == 0) {
        parameters->BackBufferCount = 1;
    }
    // OpenGL 4.5 core, or OpenGL ES 3.0 (WebGL2) in a browser.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, glprofile::kES ? 3 : 4);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, glprofile::kES ? 0 : 5);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK,
                        glprofile::kES ? SDL_GL_CONTEXT_PROFILE_ES : SDL_GL_CONTEXT_PROFILE_CORE);
#ifndef NDEBUG
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, SDL_GL_CONTEXT_DEBUG_FLAG);
#endif
    HRESULT result = D3D_OK;
    *device = GLDevice::create(window, *parameters, &result);
    return result;
}
