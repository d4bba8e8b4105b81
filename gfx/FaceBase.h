// The abstract face of the editable mesh: a closed ring of edges plus the face's normal and
// tangent frame, which the normal and tangent computations fill. A face does not own its edges.
#pragma once

#include <memory>
#include <vector>

#include "gfx/Vec3.h"

namespace kelvo {

struct Edge;
class VertexBase;

class FaceBase {
public:
    virtual ~FaceBase() = default;

    virtual int edgeCount() const = 0;
    // Same normal, tangent, binormal and edge pointers.
    virtual std::unique_ptr<FaceBase> clone() const = 0;
    // An index outside 0 .. edgeCount() - 1 is ignored (setEdge) or answers null (getEdge).
    virtual void setEdge(int index, Edge* edge) = 0;
    virtual Edge* getEdge(int index) const = 0;
    // Appends the face's vertices in winding order (see faceVertices).
    virtual void getVertices(std::vector<VertexBase*>& vertices) const = 0;

    // Unnormalised (its length is twice the area for a triangle); zero until computed.
    Vec3 normal;
    Vec3 tangent;
    Vec3 binormal;

protected:
    FaceBase() = default;
    FaceBase(const FaceBase&) = default;
    FaceBase& operator=(const FaceBase&) = default;
};

}  // namespace kelvo
