#include "gfx/NodePointlight.h"

namespace kelvo {

NodePointlight::NodePointlight(float x, float y, float z, float attLin_, float attQuad_,
                               float attConst_, const D3DXVECTOR4& color_)
    : color(color_), attConst(attConst_), attLin(attLin_), attQuad(attQuad_) {
    localTransform(3, 0) = x;
    localTransform(3, 1) = y;
    localTransform(3, 2) = z;
}

}  // namespace kelvo
