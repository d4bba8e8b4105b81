// The attribute block of a mesh vertex, laid out exactly as the GPU vertex declaration reads it
// (one stream, 80 bytes), so an upload copies the block as it is.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gfx/Vec3.h"

namespace kelvo {

struct TexCoord {
    float u = 0.0f;
    float v = 0.0f;
};

struct VertexAttributes {
    Vec3 position;
    Vec3 normal;
    std::uint32_t colour = 0xFFFFFFFFu;  // packed, opaque white
    TexCoord texCoord0;
    TexCoord texCoord1;
    Vec3 tangent;
    Vec3 binormal;
    float blendWeight = 1.0f;
    std::uint32_t blendIndices0 = 0;
    std::uint32_t blendIndices1 = 0;
};

static_assert(sizeof(VertexAttributes) == 80, "the GPU vertex is 80 bytes");
static_assert(offsetof(VertexAttributes, normal) == 12);
static_assert(offsetof(VertexAttributes, colour) == 24);
static_assert(offsetof(VertexAttributes, texCoord0) == 28);
static_assert(offsetof(VertexAttributes, texCoord1) == 36);
static_assert(offsetof(VertexAttributes, tangent) == 44);
static_assert(offsetof(VertexAttributes, binormal) == 56);
static_assert(offsetof(VertexAttributes, blendWeight) == 68);
static_assert(offsetof(VertexAttributes, blendIndices0) == 72);
static_assert(offsetof(VertexAttributes, blendIndices1) == 76);

}  // namespace kelvo
