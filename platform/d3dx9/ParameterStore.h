// The values of an effect's parameters, addressed by full name ("material.ambient",
// "pointLight[2].color", "matrixPalette[12]", and the aggregates "pointLight", "pointLight[2]",
// "matrixPalette"). Storage is packed, one 4-byte word per scalar, so a float3[2] holds six
// words and SetFloatArray runs over them contiguously, as D3DX's effects do.
//
// The setters follow D3DX's shape rules: SetFloat/SetInt/SetBool take scalars (converting to the
// declared type), SetVector vectors (a scalar takes x), SetMatrix a single float4x4 (an array
// element counts), SetFloatArray scalars, vectors, matrices and arrays of them, SetTexture
// textures. Anything else, or an undeclared name, is D3DERR_INVALIDCALL and changes nothing.
//
// Every leaf (a single scalar, vector, matrix or texture: one GL uniform) carries a version that
// rises when the leaf is written, so the effect uploads only what changed.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/d3dx9/EffectDescription.h"
#include "platform/d3dx9/d3dx9.h"

namespace fx {

class ParameterStore {
public:
    struct Leaf {
        std::string name;  // the GLSL uniform name
        ValueType type;
        unsigned offset = 0;  // first word
        std::uint64_t version = 0;
    };

    explicit ParameterStore(const EffectDescription& effect);
    ~ParameterStore();
    ParameterStore(const ParameterStore&) = delete;
    ParameterStore& operator=(const ParameterStore&) = delete;

    HRESULT setFloat(D3DXHANDLE name, float value);
    HRESULT setInt(D3DXHANDLE name, INT value);
    HRESULT setBool(D3DXHANDLE name, BOOL value);
    HRESULT setFloatArray(D3DXHANDLE name, const float* values, UINT count);
    HRESULT setVector(D3DXHANDLE name, const D3DXVECTOR4* vector);
    HRESULT setMatrix(D3DXHANDLE name, const D3DXMATRIX* matrix);
    HRESULT setTexture(D3DXHANDLE name, IDirect3DBaseTexture9* texture);

    HRESULT getFloat(D3DXHANDLE name, float* value) const;
    HRESULT getInt(D3DXHANDLE name, INT* value) const;
    HRESULT getBool(D3DXHANDLE name, BOOL* value) const;
    HRESULT getFloatArray(D3DXHANDLE name, float* values, UINT count) const;
    HRESULT getVector(D3DXHANDLE name, D3DXVECTOR4* vector) const;
    HRESULT getMatrix(D3DXHANDLE name, D3DXMATRIX* matrix) const;
    HRESULT getTexture(D3DXHANDLE name, IDirect3DBaseTexture9** texture) const;

    const std::vector<Leaf>& leaves() const { return leaves_; }
    // The leaf of a single value by name, or -1.
    int leafIndex(const std::string& name) const;
    const float* floats(const Leaf& leaf) const { return &floats_[leaf.offset]; }
    const INT* ints(const Leaf& leaf) const { return &ints_[leaf.offset]; }
    IDirect3DBaseTexture9* texture(const Leaf& leaf) const { return textures_[leaf.offset]; }

private:
    struct Node {
        ValueType type;  // of the elements for an array of basic values
        bool isStruct = false;
        bool isArray = false;
        unsigned offset = 0;
        unsigned words = 0;
        unsigned firstLeaf = 0;
        unsigned leafCount = 0;

        bool isLeaf() const { return !isStruct && !isArray; }
    };

    unsigned add(const EffectDescription& effect, const std::string& name, const TypeRef& type);
    const Node* find(D3DXHANDLE name) const;
    const Node* findScalar(D3DXHANDLE name) const;
    // Writes words[offset .. offset + count) converted to the node's base type.
    void writeFloats(const Node& node, const float* values, unsigned count);
    void writeInt(const Node& node, INT value);
    float readFloat(unsigned word, BaseType base) const;
    void touch(const Node& node, unsigned words);

    std::unordered_map<std::string, unsigned> byName_;
    std::vector<Node> nodes_;
    std::vector<Leaf> leaves_;
    std::vector<float> floats_;                     // words of float leaves
    std::vector<INT> ints_;                         // words of int and bool leaves
    std::vector<IDirect3DBaseTexture9*> textures_;  // words of texture leaves (owned references)
    std::uint64_t clock_ = 0;
};

}  // namespace fx
