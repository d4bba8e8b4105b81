// The device state an effect's technique may change, captured at Begin through the device's Get*
// calls and put back at End: the render states its passes set, the textures and listed sampler
// states of the samplers they use, and the current program. Nothing else is touched (render
// targets, viewport, streams and transforms stay as the caller leaves them).
#pragma once

#include <utility>
#include <vector>

#include "platform/d3d9/d3d9.h"

namespace fx {

class EffectStateBlock {
public:
    // What a technique's passes set, gathered once per technique.
    struct Scope {
        std::vector<D3DRENDERSTATETYPE> renderStates;
        std::vector<std::pair<DWORD, D3DSAMPLERSTATETYPE>> samplerStates;
        std::vector<DWORD> textures;  // sampler indices
    };

    EffectStateBlock() = default;
    ~EffectStateBlock();
    EffectStateBlock(const EffectStateBlock&) = delete;
    EffectStateBlock& operator=(const EffectStateBlock&) = delete;

    // flags are Begin's: D3DXFX_DONOTSAVESTATE captures nothing, D3DXFX_DONOTSAVESHADERSTATE
    // leaves out the program, D3DXFX_DONOTSAVESAMPLERSTATE the sampler states.
    void capture(IDirect3DDevice9* device, const Scope& scope, DWORD flags);
    // Sets every captured value back and forgets them.
    void restore(IDirect3DDevice9* device);

private:
    void clear();

    std::vector<std::pair<D3DRENDERSTATETYPE, DWORD>> renderStates_;
    std::vector<std::pair<std::pair<DWORD, D3DSAMPLERSTATETYPE>, DWORD>> samplerStates_;
    std::vector<std::pair<DWORD, IDirect3DBaseTexture9*>> textures_;  // owned references
    bool hasProgram_ = false;
    IDirect3DProgram9* program_ = nullptr;  // owned reference
};

}  // namespace fx
