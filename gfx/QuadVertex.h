// The vertex of the render utilities' screen quads: position and one texture coordinate pair,
// D3DFVF_XYZ | D3DFVF_TEX1, 20 bytes.
#pragma once

#include "platform/d3d9/d3d9.h"

namespace kelvo {

struct QuadVertex {
    static constexpr DWORD kFVF = D3DFVF_XYZ | D3DFVF_TEX1;

    float x, y, z;
    float u, v;
};

static_assert(sizeof(QuadVertex) == 20, "the quad's stride is 20 bytes");

}  // namespace kelvo
