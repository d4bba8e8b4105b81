// The Direct3D state of the device: render, sampler and texture-stage states and transforms,
// with Direct3D's defaults (the shared CapturableState), plus a version per group of states. Each
// GL context remembers the versions it last applied, so a draw re-translates only the groups that
// changed since that context last drew (and a second thread's context catches up on everything it
// missed).
#pragma once

#include <array>
#include <cstdint>

#include "platform/d3d9/core/CapturableState.h"
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
    static constexpr unsigned kSamplerCount = CapturableState::kSamplerSlots;
    static constexpr unsigned kSamplerStateCount = CapturableState::kSamplerStates;
    static constexpr unsigned kStageCount = CapturableState::kStages;
    static constexpr unsigned kGroupCount = static_cast<unsigned>(StateGroup::Count);

    explicit GLStateShadow(bool autoDepthStencil) : state_(autoDepthStencil) {}

    bool setRenderState(DWORD state, DWORD value);
    DWORD renderState(DWORD state) const { return state_.render[state]; }

    bool setSamplerState(int slot, DWORD type, DWORD value);
    DWORD samplerState(int slot, DWORD type) const {
        return state_.sampler[static_cast<unsigned>(slot)][type];
    }

    bool setStageState(DWORD stage, DWORD type, DWORD value);
    DWORD stageState(DWORD stage, DWORD type) const { return state_.stage[stage][type]; }

    // Slots as CapturableState::transformSlot gives them.
    void setTransform(int slot, const D3DMATRIX& matrix);
    const D3DMATRIX& transform(int slot) const {
        return state_.transform[static_cast<unsigned>(slot)];
    }
    static constexpr int kView = CapturableState::kView;
    static constexpr int kProjection = CapturableState::kProjection;
    static constexpr int kWorld = CapturableState::kWorld;

    void touch(StateGroup group) { ++versions_[static_cast<unsigned>(group)]; }
    std::uint64_t version(StateGroup group) const {
        return versions_[static_cast<unsigned>(group)];
    }

private:
    void touchGroupOf(DWORD renderState);

    CapturableState state_;
    // Version 1 from the start: a fresh context (at 0) applies Direct3D's defaults explicitly.
    std::array<std::uint64_t, kGroupCount> versions_ = initialVersions();
    static std::array<std::uint64_t, kGroupCount> initialVersions() {
        std::array<std::uint64_t, kGroupCount> v{};
        v.fill(1);
        return v;
    }
};
