#include "gfx/MeshGeometry.h"

#include <algorithm>

#include "gfx/EditableBuilder.h"
#include "gfx/FatalError.h"
#include "gfx/MeshNormals.h"
#include "gfx/TangentFrames.h"

namespace kelvo {

namespace {

Vec3 transformNormal(const Vec3& n, const Matrix& m) {
    return {n.x * m(0, 0) + n.y * m(1, 0) + n.z * m(2, 0),
            n.x * m(0, 1) + n.y * m(1, 1) + n.z * m(2, 1),
            n.x * m(0, 2) + n.y * m(1, 2) + n.z * m(2, 2)};
}

}  // namespace

MeshGeometry::MeshGeometry(IDirect3DDevice9* device, int faceCountHint, int vertexCountHint)
    : gpu_(device, faceCountHint, vertexCountHint) {}

void MeshGeometry::upload(const std::vector<Vertex>& vertices,
                          const std::vector<std::uint32_t>* indices) {
    gpu_.upload(vertices, indices);
    if (!vertices.empty()) {
        state_ = GeometryState::BuffersOnly;
        boxValid_ = false;
    }
}

void MeshGeometry::buildEditable() {
    EditableBuilder(gpu_).build(editable_);
    state_ = GeometryState::InAgreement;
    boxValid_ = false;
}

void MeshGeometry::draw() {
    if (state_ == GeometryState::Empty) {
        fatalError(165);
        return;
    }
    if (state_ == GeometryState::EditableChanged) {
        state_ = GeometryState::InAgreement;
    }
    gpu_.draw();
}

void MeshGeometry::ensureNormals() {
    if (hasFileNormals_ || state_ == GeometryState::Empty) {
        return;
    }
    if (state_ == GeometryState::BuffersOnly) {
        buildEditable();
    }
    if (computeVertexNormals(editable_)) {
        state_ = GeometryState::EditableChanged;
    }
}

void MeshGeometry::ensureTangentFrames() {
    if (state_ == GeometryState::Empty) {
        fatalError(226);
        return;
    }
    if (state_ == GeometryState::EditableChanged) {
        computeTangentFrames(editable_);
    }
}

const float* MeshGeometry::boundingBox() {
    if (!boxValid_) {
        if (state_ == GeometryState::BuffersOnly) {
            buildEditable();
        }
        computeBox();
    }
    return box_.data();
}

void MeshGeometry::computeBox() {
    Vec3 low{10000.0f, 10000.0f, 10000.0f};
    Vec3 high{-10000.0f, -10000.0f, -10000.0f};
    for (const auto& vertex : editable_.vertices()) {
        if (const Vec3* p = vertex->position()) {
            low = {std::min(low.x, p->x), std::min(low.y, p->y), std::min(low.z, p->z)};
            high = {std::max(high.x, p->x), std::max(high.y, p->y), std::max(high.z, p->z)};
        }
    }
    box_ = {low.x, low.y, low.z, high.x, high.y, high.z};
    boxValid_ = true;
}

void MeshGeometry::transform(const Matrix& m) {
    if (state_ == GeometryState::Empty) {
        return;
    }
    if (state_ == GeometryState::BuffersOnly) {
        buildEditable();
    }
    editable_.clearFlags();
    for (const auto& vertex : editable_.vertices()) {
        if (Vec3* p = vertex->position()) {
            *p = transformPoint(*p, m);
        }
        if (Vec3* n = vertex->normal()) {
            *n = transformNormal(*n, m);
        }
    }
    // The box was taken from the positions just moved.
    boxValid_ = false;
    state_ = GeometryState::EditableChanged;
}

void MeshGeometry::prepareForEdit() {
    if (state_ == GeometryState::BuffersOnly) {
        buildEditable();
    }
    state_ = GeometryState::EditableChanged;
}

}  // namespace kelvo
