// One mesh in its two forms: the GPU buffers (D3DMesh) and the editable topology (KelvoMesh).
// Geometry enters through the buffers; the editable form is built from them only when
// something needs it (bounding box, normals, tangent frames, a transform, a modifier).
//
// Changes made to the editable form (transform, modifiers, computed normals and tangent frames)
// are not written back to the buffers: the draw shows the buffers as they were uploaded.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "gfx/D3DMesh.h"
#include "gfx/GeometryState.h"
#include "gfx/KelvoMesh.h"
#include "gfx/Matrix.h"

namespace kelvo {

class MeshGeometry {
public:
    MeshGeometry(IDirect3DDevice9* device, int faceCountHint, int vertexCountHint);
    MeshGeometry(const MeshGeometry&) = delete;
    MeshGeometry& operator=(const MeshGeometry&) = delete;

    // Fills the buffers; the geometry then holds buffers only and its box is out of date.
    void upload(const std::vector<Vertex>& vertices, const std::vector<std::uint32_t>* indices);

    // Rebuilds the editable form from the buffers: one vertex per buffer vertex (position,
    // normal and texture coordinate 0; other attributes default), one edge per index pair
    // shared by all triangles that use it, one face per triangle. Triangles naming a vertex
    // beyond the buffer are reported and left out.
    void buildEditable();

    // Draws the buffers; an empty geometry raises fatal error 165 and draws nothing.
    void draw();
    // Vertex normals of the editable form, unless the model file supplied normals.
    void ensureNormals();
    // Tangent frames of a changed editable form; an empty geometry raises fatal error 226.
    void ensureTangentFrames();
    // Minimum x, y, z then maximum x, y, z of the editable form's positions; a mesh without
    // vertices has minimum 10000 and maximum -10000 on each axis.
    const float* boundingBox();
    // Positions become p x M (with translation), normals n x the upper-left 3x3 of M, not
    // renormalised. An empty geometry has nothing to transform.
    void transform(const Matrix& m);

    // For modifiers: build the editable form if only buffers exist, then mark it changed.
    void prepareForEdit();

    D3DMesh& gpu() { return gpu_; }
    KelvoMesh& editable() { return editable_; }
    GeometryState state() const { return state_; }
    bool boxValid() const { return boxValid_; }
    bool hasFileNormals() const { return hasFileNormals_; }
    void setHasFileNormals(bool has) { hasFileNormals_ = has; }

private:
    void computeBox();

    D3DMesh gpu_;
    KelvoMesh editable_;
    GeometryState state_ = GeometryState::Empty;
    std::array<float, 6> box_{};
    bool boxValid_ = false;
    bool hasFileNormals_ = false;
};

}  // namespace kelvo
