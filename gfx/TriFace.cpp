#include "gfx/TriFace.h"

#include "gfx/FaceVertices.h"

namespace kelvo {

std::unique_ptr<FaceBase> TriFace::clone() const {
    return std::make_unique<TriFace>(*this);
}

void TriFace::setEdge(int index, Edge* edge) {
    if (index >= 0 && index < edgeCount()) {
        edges_[static_cast<std::size_t>(index)] = edge;
    }
}

Edge* TriFace::getEdge(int index) const {
    if (index < 0 || index >= edgeCount()) {
        return nullptr;
    }
    return edges_[static_cast<std::size_t>(index)];
}

void TriFace::getVertices(std::vector<VertexBase*>& vertices) const {
    faceVertices(*this, vertices);
}

}  // namespace kelvo
