// Builds the complete GLSL 4.50 source of one stage of a pass: the struct definitions and uniform
// declarations generated from the effect's parameter list (so every GL uniform is named exactly
// like its effect parameter: "material.ambient", "pointLight[2].color", "matrixPalette[12]"),
// one sampler2D per sampler at its texture unit, then the shared code and the stage's code.
// "#line N 1" directives keep compiler messages on the effect file's own line numbers; the
// generated part is source string 0.
#pragma once

#include <string>

#include "platform/d3dx9/EffectDescription.h"

namespace fx {

enum class ShaderStage { Vertex, Fragment };

class GlslGenerator {
public:
    // The source string number that marks lines of the effect file in compiler messages.
    static constexpr int kEffectFileSource = 1;

    static std::string stage(const EffectDescription& effect, const PassDesc& pass,
                             ShaderStage stage);
    // The GLSL name of a basic type ("vec4" for float4).
    static const char* glslType(const ValueType& type);
};

}  // namespace fx
