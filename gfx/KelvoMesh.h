// The editable form of a mesh: vertices with all their attributes, edges joining two vertices,
// and faces made of edges. It owns every element. The three flags say which derived data
// (vertex normals, face normals, tangent frames) is up to date; every structural change clears
// them and the next computation fills them again.
#pragma once

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

#include "gfx/Edge.h"
#include "gfx/FaceBase.h"
#include "gfx/VertexBase.h"

namespace kelvo {

class KelvoMesh {
public:
    KelvoMesh() = default;
    KelvoMesh(const KelvoMesh&) = delete;
    KelvoMesh& operator=(const KelvoMesh&) = delete;

    // Rebuilds the mesh from copies of the given elements; a null list leaves that part alone.
    // Edges are re-pointed at the copies of their vertices and faces at the copies of their
    // edges, so edges may only name vertices of the same call and faces only edges of the same
    // call. An edge or face that names anything else is reported and left out, and elements
    // that would be left pointing at replaced ones (edges when only vertices are given, faces
    // when their edges are replaced) are dropped. The caller keeps its lists.
    void set(const std::vector<VertexBase*>* vertices, const std::vector<Edge*>* edges,
             const std::vector<FaceBase*>* faces);

    const std::vector<std::unique_ptr<VertexBase>>& vertices() const { return vertices_; }
    const std::vector<std::unique_ptr<Edge>>& edges() const { return edges_; }
    const std::vector<std::unique_ptr<FaceBase>>& faces() const { return faces_; }

    // Puts a face in the place of face i and hands back the one it replaces.
    std::unique_ptr<FaceBase> replaceFace(std::size_t i, std::unique_ptr<FaceBase> face);

    void clearFlags();

    bool vertexNormalsValid = false;
    bool faceNormalsValid = false;
    bool tangentFramesValid = false;

private:
    void setVertices(const std::vector<VertexBase*>& vertices);
    void setEdges(const std::vector<Edge*>& edges);
    void setFaces(const std::vector<FaceBase*>& faces);

    std::vector<std::unique_ptr<VertexBase>> vertices_;
    std::vector<std::unique_ptr<Edge>> edges_;
    std::vector<std::unique_ptr<FaceBase>> faces_;
    // Old element -> its copy, valid during one set().
    std::unordered_map<const VertexBase*, VertexBase*> vertexMap_;
    std::unordered_map<const Edge*, Edge*> edgeMap_;
};

}  // namespace kelvo
