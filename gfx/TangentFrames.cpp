#include "gfx/TangentFrames.h"

#include <vector>

#include "gfx/KelvoMesh.h"
#include "gfx/MeshNormals.h"

namespace kelvo {

namespace {

void computeFaceFrame(FaceBase& face) {
    face.tangent = {};
    face.binormal = {};
    std::vector<VertexBase*> corners;
    face.getVertices(corners);
    if (corners.size() < 3) {
        return;
    }
    const Vec3* p[3];
    const TexCoord* c[3];
    for (std::size_t k = 0; k < 3; ++k) {
        p[k] = corners[k]->position();
        c[k] = corners[k]->texCoord0();
        if (p[k] == nullptr || c[k] == nullptr) {
            return;
        }
    }
    const Vec3 e1 = *p[1] - *p[0];
    const Vec3 e2 = *p[2] - *p[0];
    const float du1 = c[1]->u - c[0]->u;
    const float dv1 = c[1]->v - c[0]->v;
    const float du2 = c[2]->u - c[0]->u;
    const float dv2 = c[2]->v - c[0]->v;
    const float det = dv2 * du1 - du2 * dv1;
    if (det == 0.0f) {
        return;
    }
    face.tangent = (e1 * dv2 - e2 * dv1) * (1.0f / det);
    face.binormal = (e2 * du1 - e1 * du2) * (1.0f / det);
}

void accumulateFaceFrames(KelvoMesh& mesh) {
    std::vector<VertexBase*> corners;
    for (const auto& face : mesh.faces()) {
        corners.clear();
        face->getVertices(corners);
        for (VertexBase* corner : corners) {
            *corner->tangent() = *corner->tangent() + face->tangent;
            *corner->binormal() = *corner->binormal() + face->binormal;
        }
    }
}

void orthogonalise(VertexBase& vertex) {
    const Vec3 n = vertex.normal() ? *vertex.normal() : Vec3{};
    const Vec3 t = *vertex.tangent();
    const Vec3 b = *vertex.binormal();
    // The binormal's sign keeps mirrored texture mappings mirrored.
    const Vec3 nxt = cross(n, t);
    const float sign = dot(nxt, b) < 0.0f ? -1.0f : 1.0f;
    *vertex.tangent() = normalize(t - n * dot(n, t));
    *vertex.binormal() = nxt * sign;
}

}  // namespace

void computeTangentFrames(KelvoMesh& mesh) {
    if (mesh.vertices().empty()) {
        return;
    }
    VertexBase& first = *mesh.vertices().front();
    if (first.tangent() == nullptr || first.binormal() == nullptr || mesh.tangentFramesValid) {
        return;
    }
    // Every vertex must carry a frame; the first one speaks for the mesh's vertex kind.
    for (const auto& vertex : mesh.vertices()) {
        *vertex->tangent() = {};
        *vertex->binormal() = {};
    }
    for (const auto& face : mesh.faces()) {
        computeFaceFrame(*face);
    }
    computeVertexNormals(mesh);
    accumulateFaceFrames(mesh);
    for (const auto& vertex : mesh.vertices()) {
        orthogonalise(*vertex);
    }
    mesh.tangentFramesValid = true;
}

}  // namespace kelvo
