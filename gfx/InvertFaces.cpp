#include "gfx/InvertFaces.h"

#include "gfx/MeshGeometry.h"

namespace kelvo::meshmodify {

void InvertFaces::apply(MeshGeometry& geometry) {
    geometry.prepareForEdit();
    KelvoMesh& mesh = geometry.editable();
    mesh.clearFlags();
    for (std::size_t i = 0; i < mesh.faces().size(); ++i) {
        const FaceBase& source = *mesh.faces()[i];
        std::unique_ptr<FaceBase> inverted = source.clone();
        const int n = source.edgeCount();
        for (int j = 0; j < n; ++j) {
            inverted->setEdge(j, source.getEdge(n - 1 - j));
        }
        mesh.replaceFace(i, std::move(inverted));
    }
}

}  // namespace kelvo::meshmodify
