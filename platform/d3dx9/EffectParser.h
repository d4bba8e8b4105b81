// Reads an effect file (TOML) into an EffectDescription and checks everything that can be checked
// without compiling GLSL: types, names, states, sampler textures, limits. Any input, including
// arbitrary bytes, gives either a description or one message "file:line: problem".
//
// The format, in short (see effects/README.md for the whole of it):
//   code = '''shared GLSL'''
//   [structs.Material]   ambient = "float4"
//   [parameters]         material = "Material"   pointLight = "PointLight[4]"
//                        tint = { type = "float4", default = [1, 1, 1, 1] }
//   [samplers.diffuse]   texture = "tex"   MINFILTER = "LINEAR"
//   [[technique]]        name = "Tube"
//   [[technique.pass]]   vertex = '''...'''   fragment = '''...'''
//                        states = { ZWRITEENABLE = false, CULLMODE = "NONE" }
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/d3dx9/EffectDescription.h"

namespace fx {

class EffectParser {
public:
    struct Result {
        std::optional<EffectDescription> effect;
        std::string error;  // "file:line: problem" when there is no effect
    };

    static constexpr std::size_t kMaxSourceBytes = 4u << 20;
    static constexpr unsigned kMaxArraySize = 1024;
    static constexpr unsigned kMaxParameterWords = 1u << 16;
    static constexpr unsigned kMaxSamplers = 16;
    static constexpr unsigned kMaxTechniques = 256;
    static constexpr unsigned kMaxPasses = 16;

    static Result parse(std::string_view text, std::string_view sourceName);
};

}  // namespace fx
