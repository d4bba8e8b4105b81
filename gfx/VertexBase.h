// The abstract vertex of the editable mesh. Each attribute is reached through an accessor that
// returns a pointer into the vertex (read and write) or null when the vertex kind lacks that
// attribute; the normal and tangent computations look at the first vertex of a mesh to decide
// whether there is anything to compute. Setters of missing attributes do nothing.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/Vec3.h"
#include "gfx/VertexAttributes.h"

namespace kelvo {

class VertexBase {
public:
    virtual ~VertexBase() = default;

    virtual Vec3* position() { return nullptr; }
    virtual Vec3* normal() { return nullptr; }
    virtual TexCoord* texCoord0() { return nullptr; }
    virtual TexCoord* texCoord1() { return nullptr; }
    // Set 0 or 1; any other set is missing.
    virtual TexCoord* texCoord(int set) {
        (void)set;
        return nullptr;
    }
    virtual Vec3* tangent() { return nullptr; }
    virtual Vec3* binormal() { return nullptr; }
    virtual std::uint32_t* colour() { return nullptr; }
    virtual float* blendWeight() { return nullptr; }
    virtual std::uint32_t* blendIndices0() { return nullptr; }
    virtual std::uint32_t* blendIndices1() { return nullptr; }

    virtual void setPosition(float x, float y, float z) { (void)x, (void)y, (void)z; }
    virtual void setNormal(float x, float y, float z) { (void)x, (void)y, (void)z; }
    virtual void setTexCoord0(float u, float v) { (void)u, (void)v; }
    virtual void setTexCoord1(float u, float v) { (void)u, (void)v; }
    virtual void setColour(std::uint32_t colour) { (void)colour; }
    virtual void setTexCoord(int set, float u, float v) { (void)set, (void)u, (void)v; }
    virtual void setBlendWeight(float weight) { (void)weight; }
    virtual void setBlendIndices0(std::uint32_t indices) { (void)indices; }
    virtual void setBlendIndices1(std::uint32_t indices) { (void)indices; }

    // Bytes of the attribute block; the GPU upload takes its vertex stride from it.
    virtual int size() const = 0;
    virtual std::unique_ptr<VertexBase> clone() const = 0;

protected:
    VertexBase() = default;
    VertexBase(const VertexBase&) = default;
    VertexBase& operator=(const VertexBase&) = default;
};

}  // namespace kelvo
