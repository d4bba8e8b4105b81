#include "gfx/FaceVertices.h"

#include "gfx/Edge.h"
#include "gfx/FaceBase.h"

namespace kelvo {

namespace {

bool isEndOf(const VertexBase* vertex, const Edge* edge) {
    return edge != nullptr && (edge->a == vertex || edge->b == vertex);
}

// The end of the first edge that the second edge shares, so the walk starts at a corner.
VertexBase* firstCorner(const Edge& first, const Edge* next) {
    if (isEndOf(first.a, next)) {
        return first.a;
    }
    if (isEndOf(first.b, next)) {
        return first.b;
    }
    return first.a;
}

VertexBase* otherEnd(const Edge& edge, const VertexBase* last) {
    if (last == edge.a) {
        return edge.b;
    }
    if (last == edge.b) {
        return edge.a;
    }
    return edge.b;
}

}  // namespace

void faceVertices(const FaceBase& face, std::vector<VertexBase*>& vertices) {
    VertexBase* last = nullptr;
    for (int i = 0; i < face.edgeCount(); ++i) {
        const Edge* edge = face.getEdge(i);
        if (edge == nullptr) {
            continue;
        }
        last = (i == 0) ? firstCorner(*edge, face.getEdge(1)) : otherEnd(*edge, last);
        vertices.push_back(last);
    }
}

}  // namespace kelvo
