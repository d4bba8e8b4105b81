// The recording device's plain-value states: Direct3D's defaults and argument rules from the
// shared CapturableState, addressed by Direct3D's own numbers. Callers check the numbers with
// the valid* functions first.
#pragma once

#include "platform/d3d9/core/CapturableState.h"
#include "platform/d3d9/d3d9.h"

class StateShadow {
public:
    explicit StateShadow(bool autoDepthStencil) : state_(autoDepthStencil) {}

    static bool validRenderState(DWORD state) { return CapturableState::validRenderState(state); }
    static bool validSampler(DWORD sampler) { return CapturableState::samplerSlot(sampler) >= 0; }
    static bool validSamplerState(DWORD sampler, DWORD type) {
        return validSampler(sampler) && CapturableState::validSamplerState(type);
    }
    static bool validStageState(DWORD stage, DWORD type) {
        return CapturableState::validStage(stage) && CapturableState::validStageState(type);
    }
    static bool validTransform(DWORD state) { return CapturableState::transformSlot(state) >= 0; }

    DWORD renderState(DWORD state) const { return state_.render[state]; }
    void setRenderState(DWORD state, DWORD value) { state_.render[state] = value; }
    DWORD samplerState(DWORD sampler, DWORD type) const {
        return state_.sampler[slot(CapturableState::samplerSlot(sampler))][type];
    }
    void setSamplerState(DWORD sampler, DWORD type, DWORD value) {
        state_.sampler[slot(CapturableState::samplerSlot(sampler))][type] = value;
    }
    DWORD textureStageState(DWORD stage, DWORD type) const { return state_.stage[stage][type]; }
    void setTextureStageState(DWORD stage, DWORD type, DWORD value) {
        state_.stage[stage][type] = value;
    }
    const D3DMATRIX& transform(DWORD state) const {
        return state_.transform[slot(CapturableState::transformSlot(state))];
    }
    void setTransform(DWORD state, const D3DMATRIX& matrix) {
        state_.transform[slot(CapturableState::transformSlot(state))] = matrix;
    }

private:
    static unsigned slot(int index) { return static_cast<unsigned>(index); }

    CapturableState state_;
};
