// The render-state and sampler-state names an effect file may use, with the names of their values,
// so that effect files read like Direct3D effect state assignments ("CULLMODE = 'NONE'").
#pragma once

#include <optional>
#include <string_view>

#include "platform/d3d9/d3d9.h"

namespace fx {

// How a state's value is written in an effect file.
enum class StateValueKind {
    Bool,     // true / false
    Integer,  // a number, 0 to 0xFFFFFFFF
    Float,    // a number, stored as the bits of a float (MIPMAPLODBIAS)
    Cull,     // NONE, CW, CCW
    Blend,    // ZERO, ONE, SRCCOLOR, ...
    BlendOp,  // ADD, SUBTRACT, REVSUBTRACT, MIN, MAX
    Compare,  // NEVER, LESS, ..., ALWAYS
    ZBuffer,  // true / false or USEW
    Fill,     // POINT, WIREFRAME, SOLID
    Address,  // WRAP, MIRROR, CLAMP, BORDER, MIRRORONCE
    Filter,   // NONE, POINT, LINEAR, ANISOTROPIC
};

struct StateInfo {
    DWORD state;
    StateValueKind kind;
};

class EffectStateNames {
public:
    static std::optional<StateInfo> renderState(std::string_view name);
    static std::optional<StateInfo> samplerState(std::string_view name);
    // The value of a named constant for a state of the given kind.
    static std::optional<DWORD> namedValue(StateValueKind kind, std::string_view name);
};

}  // namespace fx
