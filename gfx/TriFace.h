// A triangle of the editable mesh: three edges.
#pragma once

#include <array>

#include "gfx/FaceBase.h"

namespace kelvo {

class TriFace final : public FaceBase {
public:
    TriFace() = default;
    TriFace(Edge* e0, Edge* e1, Edge* e2) : edges_{e0, e1, e2} {}
    TriFace(const TriFace&) = default;
    TriFace& operator=(const TriFace&) = default;

    int edgeCount() const override { return 3; }
    std::unique_ptr<FaceBase> clone() const override;
    void setEdge(int index, Edge* edge) override;
    Edge* getEdge(int index) const override;
    void getVertices(std::vector<VertexBase*>& vertices) const override;

private:
    std::array<Edge*, 3> edges_{};
};

}  // namespace kelvo
