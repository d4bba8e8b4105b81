// The Direct3D state of the device: render, sampler and texture-stage states and transforms,
// with Direct3D's defaults, plus a version per group of states. Each GL context remembers the
// versions it last applied, so a draw re-translates only the groups that changed since that
// context last drew (and a second thread's context catches up on everything it missed).
#pragma once

#include <array>
#include <cstdint>

#include "platform/d3d9/d3d9.h"

enum class StateGroup : unsigned {
    Blend,
    Depth,
    Raster,
    ColorWrite,
    Viewport,
    Targets,
    Textures,
    VertexInput,
    FixedFunction,
    Program,
    Count
};

class GLStateShadow {
public:
    static constexpr unsigned kRenderStateCount = 256;
    static constexpr unsigned kSamplerCount = 20;  // 16 pixel samplers, then 4 vertex samplers
    static constexpr unsigned kSamplerStateCount = 14;
    static constexpr unsigned kStageCount = 8;
    static constexpr unsigned kStageStateCount = 33;
    static constexpr unsigned kGroupCount = static_cast<unsigned>(StateGroup::Count);

    explicit GLStateShadow(bool autoDepthStencil);

    // Sampler slot of a Direct3D sampler number (0..15, 257..260); -1 when out of range.
    static int samplerSlot(DWORD sampler);

    bool setRenderState(DWORD state, DWORD value);
    DWORD renderState(DWORD state) const { return renderStates_[state]; }
    static bool validRenderState(DWORD state) { return state < kRenderStateCount; }

    bool setSamplerState(int slot, DWORD type, DWORD value);
    DWORD samplerState(int slot, DWORD type) const { return samplerStates_[slot][type]; }
    static bool validSamplerState(DWORD type) { return type > 0 && type < kSamplerStateCount; }

    bool setStageState(DWORD stage, DWORD type, DWORD value);
    DWORD stageState(DWORD stage, DWORD type) const { return stageStates_[stage][type]; }
    static bool validStageState(DWORD stage, DWORD type) {
        return stage < kStageCount && type > 0 && type < kStageStateCount;
    }

    // Transform index: 0 view, 1 projection, 2..9 texture 0..7, 10 world; -1 when unsupported.
    static int transformSlot(D3DTRANSFORMSTATETYPE state);
    void setTransform(int slot, const D3DMATRIX& matrix);
    const D3DMATRIX& transform(int slot) const { return transforms_[slot]; }
    static constexpr int kView = 0;
    static constexpr int kProjection = 1;
    static constexpr int kWorld = 10;

    void touch(StateGroup group) { ++versions_[static_cast<unsigned>(group)]; }
    std::uint64_t version(StateGroup group) const {
        return versions_[static_cast<unsigned>(group)];
    }

private:
    void touchGroupOf(DWORD renderState);

    std::array<DWORD, kRenderStateCount> renderStates_{};
    std::array<std::array<DWORD, kSamplerStateCount>, kSamplerCount> samplerStates_{};
    std::array<std::array<DWORD, kStageStateCount>, kStageCount> stageStates_{};
    std::array<D3DMATRIX, 11> transforms_{};
    // Version 1 from the start: a fresh context (at 0) applies Direct3D's defaults explicitly.
    std::array<std::uint64_t, kGroupCount> versions_ = initialVersions();
    static std::array<std::uint64_t, kGroupCount> initialVersions() {
        std::array<std::uint64_t, kGroupCount> v{};
        v.fill(1);
        return v;
    }
};
