// Direct3D 9's plain-value device state, the part a state block captures: render, sampler and
// texture-stage states and transforms, holding the defaults of a freshly created device. Both
// devices keep their state in one of these, so a default is written once and both follow it.
#pragma once

#include <array>

#include "platform/d3d9/d3d9.h"

class CapturableState {
public:
    static constexpr unsigned kRenderStates = 256;
    // 16 pixel samplers, the displacement-map sampler, then the 4 vertex samplers.
    static constexpr unsigned kSamplerSlots = 21;
    static constexpr unsigned kDisplacementMapSlot = 16;
    static constexpr unsigned kSamplerStates = 14;
    static constexpr unsigned kStages = 8;
    static constexpr unsigned kStageStates = 33;
    // View, projection, texture 0..7, then world matrices 0..255.
    static constexpr unsigned kTransformSlots = 266;
    static constexpr int kView = 0;
    static constexpr int kProjection = 1;
    static constexpr int kWorld = 10;

    // ZENABLE starts TRUE only on a device created with an automatic depth-stencil surface.
    explicit CapturableState(bool autoDepthStencil);

    // Slot of a Direct3D sampler number (0..15, D3DDMAPSAMPLER, D3DVERTEXTEXTURESAMPLER0..3);
    // -1 when Direct3D has no such sampler.
    static int samplerSlot(DWORD sampler);
    // Slot of a transform (D3DTS_VIEW, D3DTS_PROJECTION, D3DTS_TEXTURE0..7,
    // D3DTS_WORLDMATRIX(0..255)); -1 when Direct3D has no such transform.
    static int transformSlot(DWORD state);
    static bool validRenderState(DWORD state) { return state < kRenderStates; }
    static bool validSamplerState(DWORD type) { return type > 0 && type < kSamplerStates; }
    static bool validStage(DWORD stage) { return stage < kStages; }
    static bool validStageState(DWORD type) { return type > 0 && type < kStageStates; }

    std::array<DWORD, kRenderStates> render{};
    std::array<std::array<DWORD, kSamplerStates>, kSamplerSlots> sampler{};
    std::array<std::array<DWORD, kStageStates>, kStages> stage{};
    std::array<D3DMATRIX, kTransformSlots> transform{};
};
