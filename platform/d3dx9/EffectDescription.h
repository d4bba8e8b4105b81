// What an effect file declares, after parsing and validation: the parameter list (with struct
// types and arrays), the samplers, the shared GLSL code and the techniques with their passes.
// The effect compiler and the run-time effect both work from this one description, so the GLSL
// the build checks is the GLSL the device receives.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/d3d9/d3d9.h"

namespace fx {

enum class BaseType { Float, Int, Bool, Texture };

// A basic type: a scalar, a float vector, a float4x4 or a texture.
struct ValueType {
    BaseType base = BaseType::Float;
    unsigned columns = 1;  // 1 to 4; 16 for float4x4

    bool isMatrix() const { return columns == 16; }
    bool isVector() const { return columns >= 2 && columns <= 4; }
    bool isScalar() const { return columns == 1 && base != BaseType::Texture; }
};

// A declared type reference: a basic type or a struct, optionally an array.
struct TypeRef {
    ValueType value;
    int structIndex = -1;    // index into EffectDescription::structs, or -1 for a basic type
    unsigned arraySize = 0;  // 0 for a single value
};

struct StructMember {
    std::string name;
    TypeRef type;  // basic types only, arrays allowed
};

struct StructType {
    std::string name;
    std::vector<StructMember> members;
};

struct Parameter {
    std::string name;
    TypeRef type;
    std::vector<float> defaults;  // flattened, at most the parameter's size; the rest is zero
    int line = 0;
};

struct SamplerDesc {
    std::string name;
    std::string texture;  // a parameter of type texture
    std::vector<std::pair<D3DSAMPLERSTATETYPE, DWORD>> states;
    unsigned unit = 0;  // texture unit and Direct3D sampler index
    int line = 0;
};

// GLSL text with the line of the effect file on which its first line stands.
struct CodeBlock {
    std::string text;
    int line = 0;
};

struct PassDesc {
    CodeBlock vertex;
    CodeBlock fragment;
    std::vector<std::pair<D3DRENDERSTATETYPE, DWORD>> renderStates;
    std::vector<unsigned> samplers;  // indices of the samplers the pass's code names
    int line = 0;
};

struct TechniqueDesc {
    std::string name;
    std::vector<PassDesc> passes;
    int line = 0;
};

struct EffectDescription {
    std::string sourceName;
    std::vector<StructType> structs;
    std::vector<Parameter> parameters;
    std::vector<SamplerDesc> samplers;
    CodeBlock shared;
    std::vector<TechniqueDesc> techniques;
};

}  // namespace fx
