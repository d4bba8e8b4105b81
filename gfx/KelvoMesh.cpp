#include "gfx/KelvoMesh.h"

#include "platform/os/AssertionReport.h"

namespace kelvo {

namespace {

constexpr const char* kSource = "gfx/KelvoMesh";
// The lines the mesh's failure reports name.
constexpr int kEdgesWithoutVerticesLine = 50;
constexpr int kFacesWithoutEdgesLine = 51;
constexpr int kEdgeVerticesLine = 94;
constexpr int kFaceEdgesLine = 121;

template <typename Key, typename Value>
Value* lookUp(const std::unordered_map<const Key*, Value*>& map, const Key* key) {
    const auto found = map.find(key);
    return found == map.end() ? nullptr : found->second;
}

}  // namespace

void KelvoMesh::set(const std::vector<VertexBase*>* vertices, const std::vector<Edge*>* edges,
                    const std::vector<FaceBase*>* faces) {
    if (edges && !vertices) {
        os::assertionReport("!(edges && !vertices)", kSource, kEdgesWithoutVerticesLine);
    }
    if (faces && !edges) {
        os::assertionReport("!(faces && !edges )", kSource, kFacesWithoutEdgesLine);
    }
    vertexMap_.clear();
    edgeMap_.clear();
    // Edges of replaced vertices and faces of replaced edges would point at freed elements.
    if (vertices) {
        setVertices(*vertices);
    }
    if (edges || vertices) {
        setEdges(edges ? *edges : std::vector<Edge*>{});
    }
    if (faces || edges || vertices) {
        setFaces(faces ? *faces : std::vector<FaceBase*>{});
    }
    vertexMap_.clear();
    edgeMap_.clear();
}

void KelvoMesh::setVertices(const std::vector<VertexBase*>& vertices) {
    clearFlags();
    vertices_.clear();
    vertices_.reserve(vertices.size());
    for (const VertexBase* source : vertices) {
        if (source == nullptr) {
            continue;
        }
        vertices_.push_back(source->clone());
        vertexMap_[source] = vertices_.back().get();
    }
}

void KelvoMesh::setEdges(const std::vector<Edge*>& edges) {
    clearFlags();
    edges_.clear();
    edges_.reserve(edges.size());
    for (const Edge* source : edges) {
        auto currEdge = std::make_unique<Edge>();
        if (source != nullptr) {
            currEdge->a = lookUp(vertexMap_, source->a);
            currEdge->b = lookUp(vertexMap_, source->b);
        }
        if (!(currEdge->a && currEdge->b)) {
            os::assertionReport(
                "(currEdge->a && currEdge->b) || !\"Invalid vertex pointer(s) in edge struct!\"",
                kSource, kEdgeVerticesLine);
            continue;
        }
        edgeMap_[source] = currEdge.get();
        edges_.push_back(std::move(currEdge));
    }
}

void KelvoMesh::setFaces(const std::vector<FaceBase*>& faces) {
    clearFlags();
    faces_.clear();
    faces_.reserve(faces.size());
    for (const FaceBase* source : faces) {
        if (source == nullptr) {
            continue;
        }
        std::unique_ptr<FaceBase> clone = source->clone();
        bool complete = true;
        for (int i = 0; i < clone->edgeCount(); ++i) {
            const Edge* currEdge = source->getEdge(i);
            Edge* newEdge = lookUp(edgeMap_, currEdge);
            if (!(currEdge != nullptr && newEdge != nullptr)) {
                os::assertionReport(
                    "(currEdge != NULL && newEdge != NULL) || !\"Invalid edge pointer(s) in face "
                    "struct!\"",
                    kSource, kFaceEdgesLine);
                complete = false;
            }
            clone->setEdge(i, newEdge);
        }
        if (complete) {
            faces_.push_back(std::move(clone));
        }
    }
}

std::unique_ptr<FaceBase> KelvoMesh::replaceFace(std::size_t i, std::unique_ptr<FaceBase> face) {
    faces_.at(i).swap(face);
    return face;
}

void KelvoMesh::clearFlags() {
    vertexNormalsValid = false;
    faceNormalsValid = false;
    tangentFramesValid = false;
}

}  // namespace kelvo
