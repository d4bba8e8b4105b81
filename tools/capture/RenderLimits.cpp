#include "tools/capture/RenderLimits.h"

namespace {

// The smallest device there is: nothing but the question is asked of it.
D3DPRESENT_PARAMETERS probePresentation() {
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = 16;
    pp.BackBufferHeight = 16;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.BackBufferCount = 1;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.Windowed = TRUE;
    return pp;
}

}  // namespace

std::optional<RenderLimits> RenderLimits::query(const std::function<IDirect3D9*()>& createDirect3D,
                                                std::string* error) {
    IDirect3D9* d3d = createDirect3D();
    if (d3d == nullptr) {
        *error = "no OpenGL 4.5 device (see above)";
        return std::nullopt;
    }
    D3DPRESENT_PARAMETERS pp = probePresentation();
    IDirect3DDevice9* device = nullptr;
    D3DCAPS9 caps{};
    const bool asked =
        d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr,
                          D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &device) == D3D_OK &&
        device->GetDeviceCaps(&caps) == D3D_OK;
    if (device != nullptr) {
        device->Release();
    }
    d3d->Release();
    if (!asked) {
        *error = "the device could not be made or would not tell its limits (see above)";
        return std::nullopt;
    }
    return RenderLimits(static_cast<int>(caps.MaxTextureWidth),
                        static_cast<int>(caps.MaxTextureHeight));
}

std::string RenderLimits::problemWith(int width, int height) const {
    if (width <= maxWidth_ && height <= maxHeight_) {
        return {};
    }
    return "cannot render " + std::to_string(width) + "x" + std::to_string(height) +
           ": this renderer draws pictures up to " + std::to_string(maxWidth_) + "x" +
           std::to_string(maxHeight_) + " (the size times --supersample must fit)";
}
