#include "platform/d3dx9/EffectStateBlock.h"

#include "platform/d3dx9/d3dx9.h"

namespace fx {

EffectStateBlock::~EffectStateBlock() {
    clear();
}

void EffectStateBlock::clear() {
    for (auto& [sampler, texture] : textures_) {
        if (texture != nullptr) {
            texture->Release();
        }
    }
    if (program_ != nullptr) {
        program_->Release();
    }
    renderStates_.clear();
    samplerStates_.clear();
    textures_.clear();
    hasProgram_ = false;
    program_ = nullptr;
}

void EffectStateBlock::capture(IDirect3DDevice9* device, const Scope& scope, DWORD flags) {
    clear();
    if ((flags & D3DXFX_DONOTSAVESTATE) != 0) {
        return;
    }
    // A state the device cannot report is left out rather than restored to a made-up value.
    for (auto state : scope.renderStates) {
        DWORD value = 0;
        if (SUCCEEDED(device->GetRenderState(state, &value))) {
            renderStates_.emplace_back(state, value);
        }
    }
    if ((flags & D3DXFX_DONOTSAVESAMPLERSTATE) == 0) {
        for (const auto& key : scope.samplerStates) {
            DWORD value = 0;
            if (SUCCEEDED(device->GetSamplerState(key.first, key.second, &value))) {
                samplerStates_.emplace_back(key, value);
            }
        }
    }
    for (auto sampler : scope.textures) {
        IDirect3DBaseTexture9* texture = nullptr;
        if (SUCCEEDED(device->GetTexture(sampler, &texture))) {
            textures_.emplace_back(sampler, texture);
        }
    }
    if ((flags & D3DXFX_DONOTSAVESHADERSTATE) == 0) {
        hasProgram_ = SUCCEEDED(device->GetProgram(&program_));
    }
}

void EffectStateBlock::restore(IDirect3DDevice9* device) {
    for (const auto& [state, value] : renderStates_) {
        device->SetRenderState(state, value);
    }
    for (const auto& [key, value] : samplerStates_) {
        device->SetSamplerState(key.first, key.second, value);
    }
    for (const auto& [sampler, texture] : textures_) {
        device->SetTexture(sampler, texture);
    }
    if (hasProgram_) {
        device->SetProgram(program_);
    }
    clear();
}

}  // namespace fx
