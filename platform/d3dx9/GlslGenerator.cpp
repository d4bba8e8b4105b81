#include "platform/d3dx9/GlslGenerator.h"

namespace fx {
namespace {

std::string arraySuffix(unsigned arraySize) {
    std::string suffix;
    if (arraySize != 0) {
        // Appended piecewise: GCC 12 warns falsely (-Wrestrict) on "[" + std::to_string(n).
        suffix += '[';
        suffix += std::to_string(arraySize);
        suffix += ']';
    }
    return suffix;
}

std::string typeName(const EffectDescription& effect, const TypeRef& type) {
    return type.structIndex >= 0 ? effect.structs[type.structIndex].name
                                 : GlslGenerator::glslType(type.value);
}

void appendCode(std::string& out, const CodeBlock& code) {
    if (code.text.empty()) {
        return;
    }
    out += "#line " + std::to_string(code.line) + " " +
           std::to_string(GlslGenerator::kEffectFileSource) + "\n";
    out += code.text;
    if (code.text.back() != '\n') {
        out += '\n';
    }
}

}  // namespace

const char* GlslGenerator::glslType(const ValueType& type) {
    switch (type.base) {
        case BaseType::Int:
            return "int";
        case BaseType::Bool:
            return "bool";
        case BaseType::Texture:
            return "sampler2D";
        case BaseType::Float:
            break;
    }
    switch (type.columns) {
        case 2:
            return "vec2";
        case 3:
            return "vec3";
        case 4:
            return "vec4";
        case 16:
            return "mat4";
        default:
            return "float";
    }
}

std::string GlslGenerator::stage(const EffectDescription& effect, const PassDesc& pass,
                                 ShaderStage stage) {
    std::string out = "#version 450 core\n";
    for (const auto& type : effect.structs) {
        out += "struct " + type.name + " {\n";
        for (const auto& member : type.members) {
            out += "    " + typeName(effect, member.type) + " " + member.name +
                   arraySuffix(member.type.arraySize) + ";\n";
        }
        out += "};\n";
    }
    for (const auto& parameter : effect.parameters) {
        // Textures reach the shaders through samplers only.
        if (parameter.type.structIndex < 0 && parameter.type.value.base == BaseType::Texture) {
            continue;
        }
        out += "uniform " + typeName(effect, parameter.type) + " " + parameter.name +
               arraySuffix(parameter.type.arraySize) + ";\n";
    }
    for (const auto& sampler : effect.samplers) {
        out += "layout(binding = " + std::to_string(sampler.unit) + ") uniform sampler2D " +
               sampler.name + ";\n";
    }
    appendCode(out, effect.shared);
    appendCode(out, stage == ShaderStage::Vertex ? pass.vertex : pass.fragment);
    return out;
}

}  // namespace fx
