// Direct3D 9's argument rules, written once for both devices: pure functions that answer a
// creation call's arguments as Direct3D 9 does (D3D_OK or D3DERR_INVALIDCALL), before either
// device makes anything. A device adds on top only the limits it documents for itself.
#pragma once

#include "platform/d3d9/d3d9.h"

class DeviceRules {
public:
    static D3DMATRIX identity();
    // The number of levels of a complete mip chain down to 1 x 1.
    static UINT fullMipChain(UINT width, UINT height);
    // The levels a texture created with these arguments shows its caller (0 asks for the whole
    // chain; an automatically generated chain shows one).
    static UINT textureLevels(UINT width, UINT height, UINT levels, DWORD usage);
    // The description of a texture's level: its size halves per level, down to 1.
    static D3DSURFACE_DESC levelDesc(UINT width, UINT height, UINT level, DWORD usage,
                                     D3DFORMAT format, D3DPOOL pool);

    static HRESULT checkTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                D3DPOOL pool, const void* sharedHandle);
    static HRESULT checkDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                            const void* sharedHandle);
    static HRESULT checkOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format,
                                              D3DPOOL pool, const void* sharedHandle);
    static HRESULT checkVertexBuffer(UINT length, const void* sharedHandle);
    static HRESULT checkIndexBuffer(UINT length, D3DFORMAT format, const void* sharedHandle);

    // GetRenderTargetData: a render target read into a system-memory surface of its size and
    // format.
    static HRESULT checkRenderTargetData(const D3DSURFACE_DESC& source,
                                         const D3DSURFACE_DESC& destination);
    // UpdateTexture: a system-memory source into a default-pool destination of its format. The
    // destination's levels match the source's from `*firstSourceLevel` on, so a larger source
    // gives its lower levels. `top` descriptions are level 0's; level counts as GetLevelCount.
    static HRESULT checkUpdateTexture(const D3DSURFACE_DESC& sourceTop, UINT sourceLevels,
                                      const D3DSURFACE_DESC& destinationTop, UINT destinationLevels,
                                      UINT* firstSourceLevel);

    // A texture level may be locked in the managed, system-memory and scratch pools, or in the
    // default pool with dynamic usage; never a render target's or depth texture's.
    static bool textureLockable(D3DPOOL pool, DWORD usage);
    // A surface of its own (not a texture level) may be locked when it is an off-screen plain
    // surface: render targets and depth-stencil surfaces live on the card.
    static bool surfaceLockable(DWORD usage);
};
