// A point light. Its position is the translation row of its local transform; the lighting
// binding multiplies `color` by `intensity` and reads the three attenuation factors.
#pragma once

#include "gfx/INode.h"
#include "platform/d3dx9/d3dx9.h"

namespace kelvo {

class NodePointlight : public INode {
public:
    // A light at (x, y, z) of the given RGBA colour, intensity 1.
    NodePointlight(float x, float y, float z, float attLin, float attQuad, float attConst,
                   const D3DXVECTOR4& color);

    D3DXVECTOR4 color;
    float intensity = 1.0f;
    float attConst;
    float attLin;
    float attQuad;
};

}  // namespace kelvo
