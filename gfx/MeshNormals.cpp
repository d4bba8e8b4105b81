#include "gfx/MeshNormals.h"

#include <vector>

#include "gfx/KelvoMesh.h"

namespace kelvo {

void computeFaceNormal(FaceBase& face) {
    std::vector<VertexBase*> corners;
    face.getVertices(corners);
    face.normal = {};
    if (corners.size() < 3) {
        return;
    }
    const Vec3* p0 = corners[0]->position();
    const Vec3* p1 = corners[1]->position();
    const Vec3* p2 = corners[2]->position();
    if (p0 && p1 && p2) {
        face.normal = cross(*p1 - *p0, *p2 - *p0);
    }
}

void computeFaceNormals(KelvoMesh& mesh) {
    if (mesh.faceNormalsValid) {
        return;
    }
    for (const auto& face : mesh.faces()) {
        computeFaceNormal(*face);
    }
    mesh.faceNormalsValid = true;
}

bool computeVertexNormals(KelvoMesh& mesh) {
    if (mesh.vertices().empty()) {
        return true;
    }
    if (mesh.vertices().front()->normal() == nullptr || mesh.vertexNormalsValid) {
        return false;
    }
    for (const auto& vertex : mesh.vertices()) {
        if (Vec3* normal = vertex->normal()) {
            *normal = {};
        }
    }
    computeFaceNormals(mesh);
    std::vector<VertexBase*> corners;
    for (const auto& face : mesh.faces()) {
        corners.clear();
        face->getVertices(corners);
        for (VertexBase* corner : corners) {
            if (Vec3* normal = corner->normal()) {
                *normal = *normal + face->normal;
            }
        }
    }
    for (const auto& vertex : mesh.vertices()) {
        if (Vec3* normal = vertex->normal()) {
            *normal = normalize(*normal);
        }
    }
    mesh.vertexNormalsValid = true;
    return true;
}

}  // namespace kelvo
