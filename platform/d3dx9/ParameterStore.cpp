#include "platform/d3dx9/ParameterStore.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace fx {
namespace {

INT toInt(float value) {
    // Out-of-range and NaN inputs would be undefined behaviour for a plain cast.
    if (!(value > -2147483648.0f && value < 2147483648.0f)) {
        return value > 0.0f ? 2147483647 : (value < 0.0f ? -2147483647 - 1 : 0);
    }
    return static_cast<INT>(value);
}

// SetVector on an int scalar stores the vector as a D3DCOLOR (x = red ... w = alpha).
INT packColor(const D3DXVECTOR4& v) {
    auto channel = [](float c) {
        return static_cast<unsigned>(std::lround(std::clamp(c, 0.0f, 1.0f) * 255.0f));
    };
    return static_cast<INT>(D3DCOLOR_ARGB(channel(v.w), channel(v.x), channel(v.y), channel(v.z)));
}

}  // namespace

ParameterStore::ParameterStore(const EffectDescription& effect) {
    for (const auto& parameter : effect.parameters) {
        const unsigned index = add(effect, parameter.name, parameter.type);
        if (!parameter.defaults.empty()) {
            const Node node = nodes_[index];
            writeFloats(node, parameter.defaults.data(),
                        static_cast<unsigned>(parameter.defaults.size()));
        }
    }
}

ParameterStore::~ParameterStore() {
    for (auto* texture : textures_) {
        if (texture != nullptr) {
            texture->Release();
        }
    }
}

unsigned ParameterStore::add(const EffectDescription& effect, const std::string& name,
                             const TypeRef& type) {
    const auto index = static_cast<unsigned>(nodes_.size());
    nodes_.emplace_back();
    byName_[name] = index;
    Node node;
    node.type = type.value;
    // An array of structs counts as a struct: its words mix types and it takes no float list.
    node.isStruct = type.structIndex >= 0;
    node.offset = static_cast<unsigned>(floats_.size());
    node.firstLeaf = static_cast<unsigned>(leaves_.size());
    if (type.arraySize != 0) {
        node.isArray = true;
        TypeRef element = type;
        element.arraySize = 0;
        for (unsigned i = 0; i < type.arraySize; ++i) {
            add(effect, name + "[" + std::to_string(i) + "]", element);
        }
    } else if (type.structIndex >= 0) {
        for (const auto& member : effect.structs[type.structIndex].members) {
            add(effect, name + "." + member.name, member.type);
        }
    } else {
        leaves_.push_back(Leaf{name, type.value, node.offset, 0});
        const unsigned words = type.value.columns;
        floats_.resize(floats_.size() + words, 0.0f);
        ints_.resize(ints_.size() + words, 0);
        textures_.resize(textures_.size() + words, nullptr);
    }
    node.words = static_cast<unsigned>(floats_.size()) - node.offset;
    node.leafCount = static_cast<unsigned>(leaves_.size()) - node.firstLeaf;
    nodes_[index] = node;
    return index;
}

int ParameterStore::leafIndex(const std::string& name) const {
    const auto found = byName_.find(name);
    if (found == byName_.end() || !nodes_[found->second].isLeaf()) {
        return -1;
    }
    return static_cast<int>(nodes_[found->second].firstLeaf);
}

const ParameterStore::Node* ParameterStore::find(D3DXHANDLE name) const {
    if (name == nullptr) {
        return nullptr;
    }
    const auto found = byName_.find(name);
    return found == byName_.end() ? nullptr : &nodes_[found->second];
}

const ParameterStore::Node* ParameterStore::findScalar(D3DXHANDLE name) const {
    const Node* node = find(name);
    return node != nullptr && node->isLeaf() && node->type.isScalar() ? node : nullptr;
}

void ParameterStore::touch(const Node& node, unsigned words) {
    ++clock_;
    for (unsigned i = node.firstLeaf; i < node.firstLeaf + node.leafCount; ++i) {
        if (leaves_[i].offset < node.offset + words) {
            leaves_[i].version = clock_;
        }
    }
}

void ParameterStore::writeFloats(const Node& node, const float* values, unsigned count) {
    const unsigned words = std::min(count, node.words);
    for (unsigned i = 0; i < words; ++i) {
        const unsigned word = node.offset + i;
        switch (node.type.base) {
            case BaseType::Float:
                floats_[word] = values[i];
                break;
            case BaseType::Int:
                ints_[word] = toInt(values[i]);
                break;
            case BaseType::Bool:
                ints_[word] = values[i] != 0.0f ? TRUE : FALSE;
                break;
            case BaseType::Texture:
                break;
        }
    }
    touch(node, words);
}

void ParameterStore::writeInt(const Node& node, INT value) {
    if (node.type.base == BaseType::Float) {
        floats_[node.offset] = static_cast<float>(value);
    } else {
        ints_[node.offset] = node.type.base == BaseType::Bool ? (value != 0 ? TRUE : FALSE) : value;
    }
    touch(node, 1);
}

float ParameterStore::readFloat(unsigned word, BaseType base) const {
    if (base == BaseType::Float) {
        return floats_[word];
    }
    return static_cast<float>(ints_[word]);
}

HRESULT ParameterStore::setFloat(D3DXHANDLE name, float value) {
    const Node* node = findScalar(name);
    if (node == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    writeFloats(*node, &value, 1);
    return D3D_OK;
}

HRESULT ParameterStore::setInt(D3DXHANDLE name, INT value) {
    const Node* node = findScalar(name);
    if (node == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    writeInt(*node, value);
    return D3D_OK;
}

HRESULT ParameterStore::setBool(D3DXHANDLE name, BOOL value) {
    return setInt(name, value != FALSE ? TRUE : FALSE);
}

HRESULT ParameterStore::setFloatArray(D3DXHANDLE name, const float* values, UINT count) {
    const Node* node = find(name);
    const bool numeric = node != nullptr && !node->isStruct && node->type.base != BaseType::Texture;
    if (!numeric || (values == nullptr && count != 0)) {
        return D3DERR_INVALIDCALL;
    }
    if (count != 0) {
        writeFloats(*node, values, count);
    }
    return D3D_OK;
}

HRESULT ParameterStore::setVector(D3DXHANDLE name, const D3DXVECTOR4* vector) {
    const Node* node = find(name);
    if (node == nullptr || !node->isLeaf() || vector == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    if (node->type.isVector()) {
        const float values[4] = {vector->x, vector->y, vector->z, vector->w};
        writeFloats(*node, values, node->type.columns);
        return D3D_OK;
    }
    if (!node->type.isScalar()) {
        return D3DERR_INVALIDCALL;
    }
    if (node->type.base == BaseType::Int) {
        writeInt(*node, packColor(*vector));
    } else {
        writeFloats(*node, &vector->x, 1);
    }
    return D3D_OK;
}

HRESULT ParameterStore::setMatrix(D3DXHANDLE name, const D3DXMATRIX* matrix) {
    const Node* node = find(name);
    if (node == nullptr || !node->isLeaf() || !node->type.isMatrix() || matrix == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    writeFloats(*node, &matrix->m[0][0], 16);
    return D3D_OK;
}

HRESULT ParameterStore::setTexture(D3DXHANDLE name, IDirect3DBaseTexture9* texture) {
    const Node* node = find(name);
    if (node == nullptr || !node->isLeaf() || node->type.base != BaseType::Texture) {
        return D3DERR_INVALIDCALL;
    }
    auto*& slot = textures_[node->offset];
    if (texture != nullptr) {
        texture->AddRef();
    }
    if (slot != nullptr) {
        slot->Release();
    }
    slot = texture;
    touch(*node, 1);
    return D3D_OK;
}

HRESULT ParameterStore::getFloat(D3DXHANDLE name, float* value) const {
    const Node* node = findScalar(name);
    if (node == nullptr || value == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *value = readFloat(node->offset, node->type.base);
    return D3D_OK;
}

HRESULT ParameterStore::getInt(D3DXHANDLE name, INT* value) const {
    const Node* node = findScalar(name);
    if (node == nullptr || value == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *value =
        node->type.base == BaseType::Float ? toInt(floats_[node->offset]) : ints_[node->offset];
    return D3D_OK;
}

HRESULT ParameterStore::getBool(D3DXHANDLE name, BOOL* value) const {
    const Node* node = findScalar(name);
    if (node == nullptr || value == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *value = readFloat(node->offset, node->type.base) != 0.0f ? TRUE : FALSE;
    return D3D_OK;
}

HRESULT ParameterStore::getFloatArray(D3DXHANDLE name, float* values, UINT count) const {
    const Node* node = find(name);
    const bool numeric = node != nullptr && !node->isStruct && node->type.base != BaseType::Texture;
    if (!numeric || (values == nullptr && count != 0)) {
        return D3DERR_INVALIDCALL;
    }
    const unsigned words = std::min<unsigned>(count, node->words);
    for (unsigned i = 0; i < words; ++i) {
        values[i] = readFloat(node->offset + i, node->type.base);
    }
    return D3D_OK;
}

HRESULT ParameterStore::getVector(D3DXHANDLE name, D3DXVECTOR4* vector) const {
    const Node* node = find(name);
    if (node == nullptr || !node->isLeaf() || vector == nullptr ||
        !(node->type.isVector() || node->type.isScalar())) {
        return D3DERR_INVALIDCALL;
    }
    float values[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    for (unsigned i = 0; i < node->type.columns; ++i) {
        values[i] = readFloat(node->offset + i, node->type.base);
    }
    *vector = D3DXVECTOR4{values[0], values[1], values[2], values[3]};
    return D3D_OK;
}

HRESULT ParameterStore::getMatrix(D3DXHANDLE name, D3DXMATRIX* matrix) const {
    const Node* node = find(name);
    if (node == nullptr || !node->isLeaf() || !node->type.isMatrix() || matrix == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    std::memcpy(&matrix->m[0][0], &floats_[node->offset], 16 * sizeof(float));
    return D3D_OK;
}

HRESULT ParameterStore::getTexture(D3DXHANDLE name, IDirect3DBaseTexture9** texture) const {
    const Node* node = find(name);
    if (node == nullptr || !node->isLeaf() || node->type.base != BaseType::Texture ||
        texture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *texture = textures_[node->offset];
    if (*texture != nullptr) {
        (*texture)->AddRef();
    }
    return D3D_OK;
}

}  // namespace fx
