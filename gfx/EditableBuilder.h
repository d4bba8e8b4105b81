// Turns the filled buffers of a D3DMesh into the elements of an editable mesh. Buffer vertex k
// becomes vertex k; every triangle becomes a face whose edges are looked up by their index pair
// in either order, so triangles that share two buffer vertices share one edge (created in the
// direction of the first triangle that used it), while corners that are merely duplicated in
// the buffer share nothing.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <utility>

#include "gfx/D3DMesh.h"
#include "gfx/KelvoMesh.h"
#include "gfx/TriFace.h"

namespace kelvo {

class EditableBuilder {
public:
    explicit EditableBuilder(D3DMesh& gpu) : gpu_(gpu) {}

    // Replaces the mesh's elements with the buffers' content. When a buffer cannot be read the
    // mesh is left empty (the failed lock has been reported).
    void build(KelvoMesh& mesh);

private:
    using Pair = std::pair<std::uint32_t, std::uint32_t>;

    bool readVertices();
    bool readTriangles();
    void addTriangle(std::uint32_t i1, std::uint32_t i2, std::uint32_t i3);
    Edge* edgeOf(std::uint32_t from, std::uint32_t to) const;
    Edge* edgeFor(std::uint32_t from, std::uint32_t to);

    D3DMesh& gpu_;
    std::vector<std::unique_ptr<Vertex>> vertices_;
    std::vector<std::unique_ptr<Edge>> edges_;
    std::vector<std::unique_ptr<TriFace>> faces_;
    std::map<Pair, Edge*> vertexPairToEdge_;
    bool reportedBadIndex_ = false;
};

}  // namespace kelvo
