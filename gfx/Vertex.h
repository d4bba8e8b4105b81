// The engine's one vertex kind: every attribute of the GPU vertex, stored in its 80-byte block.
#pragma once

#include "gfx/VertexBase.h"

namespace kelvo {

class Vertex final : public VertexBase {
public:
    Vertex() = default;
    explicit Vertex(const VertexAttributes& attributes) : attributes_(attributes) {}
    Vertex(const Vertex&) = default;
    Vertex& operator=(const Vertex&) = default;

    Vec3* position() override { return &attributes_.position; }
    Vec3* normal() override { return &attributes_.normal; }
    TexCoord* texCoord0() override { return &attributes_.texCoord0; }
    TexCoord* texCoord1() override { return &attributes_.texCoord1; }
    TexCoord* texCoord(int set) override;
    Vec3* tangent() override { return &attributes_.tangent; }
    Vec3* binormal() override { return &attributes_.binormal; }
    std::uint32_t* colour() override { return &attributes_.colour; }
    float* blendWeight() override { return &attributes_.blendWeight; }
    std::uint32_t* blendIndices0() override { return &attributes_.blendIndices0; }
    std::uint32_t* blendIndices1() override { return &attributes_.blendIndices1; }

    void setPosition(float x, float y, float z) override { attributes_.position = {x, y, z}; }
    void setNormal(float x, float y, float z) override { attributes_.normal = {x, y, z}; }
    void setTexCoord0(float u, float v) override { attributes_.texCoord0 = {u, v}; }
    void setTexCoord1(float u, float v) override { attributes_.texCoord1 = {u, v}; }
    void setColour(std::uint32_t colour) override { attributes_.colour = colour; }
    void setTexCoord(int set, float u, float v) override;
    void setBlendWeight(float weight) override { attributes_.blendWeight = weight; }
    void setBlendIndices0(std::uint32_t indices) override { attributes_.blendIndices0 = indices; }
    void setBlendIndices1(std::uint32_t indices) override { attributes_.blendIndices1 = indices; }

    int size() const override { return static_cast<int>(sizeof(VertexAttributes)); }
    std::unique_ptr<VertexBase> clone() const override;

    const VertexAttributes& attributes() const { return attributes_; }
    VertexAttributes& attributes() { return attributes_; }

private:
    VertexAttributes attributes_;
};

}  // namespace kelvo
