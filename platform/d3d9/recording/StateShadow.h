// The device states that are plain values: render, sampler and texture-stage states and
// transforms, starting from the defaults of a freshly created Direct3D 9 device.
#pragma once

#include <map>
#include <utility>

#include "platform/d3d9/d3d9.h"

class StateShadow {
public:
    // ZENABLE starts TRUE only on a device created with an automatic depth-stencil surface.
    explicit StateShadow(bool autoDepthStencil);

    static bool validSampler(DWORD sampler);
    static bool validStage(DWORD stage);
    static bool validTransform(DWORD state);
    static D3DMATRIX identity();

    DWORD renderState(DWORD state) const;
    void setRenderState(DWORD state, DWORD value) { render_[state] = value; }
    DWORD samplerState(DWORD sampler, DWORD type) const;
    void setSamplerState(DWORD sampler, DWORD type, DWORD value);
    DWORD textureStageState(DWORD stage, DWORD type) const;
    void setTextureStageState(DWORD stage, DWORD type, DWORD value);
    D3DMATRIX transform(DWORD state) const;
    void setTransform(DWORD state, const D3DMATRIX& matrix) { transforms_[state] = matrix; }

private:
    static DWORD defaultSamplerState(DWORD type);
    static DWORD defaultStageState(DWORD stage, DWORD type);

    std::map<DWORD, DWORD> render_;
    std::map<std::pair<DWORD, DWORD>, DWORD> sampler_;
    std::map<std::pair<DWORD, DWORD>, DWORD> stage_;
    std::map<DWORD, D3DMATRIX> transforms_;
};
