#include "platform/d3d9/core/DeviceRules.h"

#include <algorithm>

#include "platform/d3d9/core/PixelFormat.h"

namespace {

HRESULT answer(bool valid) {
    return valid ? D3D_OK : D3DERR_INVALIDCALL;
}

}  // namespace

D3DMATRIX DeviceRules::identity() {
    D3DMATRIX m{};
    for (int i = 0; i < 4; ++i) {
        m.m[i][i] = 1.0f;
    }
    return m;
}

UINT DeviceRules::fullMipChain(UINT width, UINT height) {
    UINT levels = 1;
    for (UINT side = std::max(width, height); side > 1; side >>= 1) {
        ++levels;
    }
    return levels;
}

UINT DeviceRules::textureLevels(UINT width, UINT height, UINT levels, DWORD usage) {
    if ((usage & D3DUSAGE_AUTOGENMIPMAP) != 0) {
        return 1;
    }
    return levels == 0 ? fullMipChain(width, height) : levels;
}

D3DSURFACE_DESC DeviceRules::levelDesc(UINT width, UINT height, UINT level, DWORD usage,
                                       D3DFORMAT format, D3DPOOL pool) {
    return {format,
            D3DRTYPE_SURFACE,
            usage,
            pool,
            D3DMULTISAMPLE_NONE,
            0,
            std::max(1u, width >> level),
            std::max(1u, height >> level)};
}

// Shared handles belong to the Ex device; render targets and depth textures live in the default
// pool; an automatic chain cannot be asked for more than one level.
HRESULT DeviceRules::checkTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                  D3DFORMAT format, D3DPOOL pool, const void* sharedHandle) {
    const bool onTheCard = (usage & (D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL)) != 0;
    return answer(sharedHandle == nullptr && width > 0 && height > 0 &&
                  PixelFormat::bytesPerPixel(format) > 0 && levels <= fullMipChain(width, height) &&
                  !((usage & D3DUSAGE_AUTOGENMIPMAP) != 0 && levels > 1) &&
                  !(onTheCard && pool != D3DPOOL_DEFAULT));
}

HRESULT DeviceRules::checkDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                              const void* sharedHandle) {
    return answer(sharedHandle == nullptr && width > 0 && height > 0 &&
                  PixelFormat::isDepth(format));
}

HRESULT DeviceRules::checkOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format,
                                                D3DPOOL pool, const void* sharedHandle) {
    return answer(sharedHandle == nullptr && width > 0 && height > 0 && pool != D3DPOOL_MANAGED &&
                  PixelFormat::bytesPerPixel(format) > 0 && !PixelFormat::isDepth(format));
}

HRESULT DeviceRules::checkVertexBuffer(UINT length, const void* sharedHandle) {
    return answer(sharedHandle == nullptr && length > 0);
}

HRESULT DeviceRules::checkIndexBuffer(UINT length, D3DFORMAT format, const void* sharedHandle) {
    return answer(sharedHandle == nullptr && length > 0 &&
                  (format == D3DFMT_INDEX16 || format == D3DFMT_INDEX32));
}

HRESULT DeviceRules::checkRenderTargetData(const D3DSURFACE_DESC& source,
                                           const D3DSURFACE_DESC& destination) {
    return answer((source.Usage & D3DUSAGE_RENDERTARGET) != 0 &&
                  destination.Pool == D3DPOOL_SYSTEMMEM && source.Width == destination.Width &&
                  source.Height == destination.Height && source.Format == destination.Format);
}

HRESULT DeviceRules::checkUpdateTexture(const D3DSURFACE_DESC& sourceTop, UINT sourceLevels,
                                        const D3DSURFACE_DESC& destinationTop,
                                        UINT destinationLevels, UINT* firstSourceLevel) {
    if (sourceTop.Pool != D3DPOOL_SYSTEMMEM || destinationTop.Pool != D3DPOOL_DEFAULT ||
        sourceTop.Format != destinationTop.Format) {
        return D3DERR_INVALIDCALL;
    }
    for (UINT first = 0; first < sourceLevels; ++first) {
        const D3DSURFACE_DESC level = levelDesc(sourceTop.Width, sourceTop.Height, first, 0,
                                                sourceTop.Format, sourceTop.Pool);
        if (level.Width == destinationTop.Width && level.Height == destinationTop.Height) {
            *firstSourceLevel = first;
            return answer(sourceLevels - first >= destinationLevels);
        }
    }
    return D3DERR_INVALIDCALL;
}

bool DeviceRules::textureLockable(D3DPOOL pool, DWORD usage) {
    return surfaceLockable(usage) && (pool != D3DPOOL_DEFAULT || (usage & D3DUSAGE_DYNAMIC) != 0);
}

bool DeviceRules::surfaceLockable(DWORD usage) {
    return (usage & (D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL)) == 0;
}
