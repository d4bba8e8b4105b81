// Reverses the winding of every face, so each face normal points the other way once computed
// again. Only the order of each face's edges changes; the edges keep their directions.
#pragma once

#include "gfx/IMeshModifier.h"

namespace kelvo::meshmodify {

class InvertFaces final : public IMeshModifier {
public:
    void apply(MeshGeometry& geometry) override;
};

}  // namespace kelvo::meshmodify
