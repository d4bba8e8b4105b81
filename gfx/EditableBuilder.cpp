#include "gfx/EditableBuilder.h"

#include <cstring>

#include "gfx/HrCheck.h"
#include "platform/os/AssertionReport.h"

namespace kelvo {

namespace {

constexpr const char* kSource = "gfx/D3DMesh";
// The lines the builder's failure reports name (they share the GPU mesh's source).
constexpr int kLockVerticesLine = 279;
constexpr int kUnlockVerticesLine = 395;
constexpr int kLockIndicesLine = 404;
constexpr int kWholeTrianglesLine = 406;
constexpr int kIndexRangeLine = 424;
constexpr int kSharedEdge12Line = 425;
constexpr int kSharedEdge23Line = 426;
constexpr int kSharedEdge31Line = 427;
constexpr int kUnlockIndicesLine = 490;

template <typename Element, typename Base>
std::vector<Base*> pointers(const std::vector<std::unique_ptr<Element>>& owned) {
    std::vector<Base*> raw;
    raw.reserve(owned.size());
    for (const auto& element : owned) {
        raw.push_back(element.get());
    }
    return raw;
}

}  // namespace

void EditableBuilder::build(KelvoMesh& mesh) {
    if (!readVertices() || !readTriangles()) {
        vertices_.clear();
        edges_.clear();
        faces_.clear();
    }
    const std::vector<VertexBase*> vertices = pointers<Vertex, VertexBase>(vertices_);
    const std::vector<Edge*> edges = pointers<Edge, Edge>(edges_);
    const std::vector<FaceBase*> faces = pointers<TriFace, FaceBase>(faces_);
    mesh.set(&vertices, &edges, &faces);
}

bool EditableBuilder::readVertices() {
    IDirect3DVertexBuffer9* buffer = gpu_.vertexBuffer();
    if (buffer == nullptr) {
        return true;
    }
    void* data = nullptr;
    if (FAILED(HR_CHECK(kSource, kLockVerticesLine, buffer->Lock(0, 0, &data, D3DLOCK_READONLY))) ||
        data == nullptr) {
        return false;
    }
    const auto* records = static_cast<const unsigned char*>(data);
    const std::size_t stride = static_cast<std::size_t>(gpu_.vertexStride());
    for (int k = 0; k < gpu_.vertexCount(); ++k) {
        VertexAttributes record;
        std::memcpy(&record, records + static_cast<std::size_t>(k) * stride, sizeof record);
        auto vertex = std::make_unique<Vertex>();
        vertex->attributes().position = record.position;
        vertex->attributes().normal = record.normal;
        vertex->attributes().texCoord0 = record.texCoord0;
        vertices_.push_back(std::move(vertex));
    }
    HR_CHECK(kSource, kUnlockVerticesLine, buffer->Unlock());
    return true;
}

bool EditableBuilder::readTriangles() {
    IDirect3DIndexBuffer9* buffer = gpu_.indexBuffer();
    if (buffer == nullptr) {
        return true;
    }
    void* data = nullptr;
    if (FAILED(HR_CHECK(kSource, kLockIndicesLine, buffer->Lock(0, 0, &data, D3DLOCK_READONLY))) ||
        data == nullptr) {
        return false;
    }
    const int indexAmount = gpu_.indexCount();
    if (indexAmount % 3 != 0) {
        os::assertionReport("!(d3dIndexAmount%3)", kSource, kWholeTrianglesLine);
    }
    const auto* indices = static_cast<const std::uint32_t*>(data);
    for (int t = 0; t < indexAmount / 3; ++t) {
        addTriangle(indices[3 * t], indices[3 * t + 1], indices[3 * t + 2]);
    }
    HR_CHECK(kSource, kUnlockIndicesLine, buffer->Unlock());
    return true;
}

void EditableBuilder::addTriangle(std::uint32_t i1, std::uint32_t i2, std::uint32_t i3) {
    const std::size_t vertexAmount = vertices_.size();
    if (i1 >= vertexAmount || i2 >= vertexAmount || i3 >= vertexAmount) {
        if (!reportedBadIndex_) {
            os::assertionReport("i1 < vertexAmount && i2 < vertexAmount && i3 < vertexAmount",
                                kSource, kIndexRangeLine);
            reportedBadIndex_ = true;
        }
        return;
    }
    if (edgeOf(i1, i2) != edgeOf(i2, i1)) {
        os::assertionReport(
            "vertexPairToEdge[vertexPair(i1, i2)] == vertexPairToEdge[vertexPair(i2, i1)]", kSource,
            kSharedEdge12Line);
    }
    if (edgeOf(i2, i3) != edgeOf(i3, i2)) {
        os::assertionReport(
            "vertexPairToEdge[vertexPair(i2, i3)] == vertexPairToEdge[vertexPair(i3, i2)]", kSource,
            kSharedEdge23Line);
    }
    if (edgeOf(i3, i1) != edgeOf(i1, i3)) {
        os::assertionReport(
            "vertexPairToEdge[vertexPair(i3, i1)] == vertexPairToEdge[vertexPair(i1, i3)]", kSource,
            kSharedEdge31Line);
    }
    Edge* e12 = edgeFor(i1, i2);
    Edge* e23 = edgeFor(i2, i3);
    Edge* e31 = edgeFor(i3, i1);
    faces_.push_back(std::make_unique<TriFace>(e12, e23, e31));
}

Edge* EditableBuilder::edgeOf(std::uint32_t from, std::uint32_t to) const {
    const auto found = vertexPairToEdge_.find({from, to});
    return found == vertexPairToEdge_.end() ? nullptr : found->second;
}

Edge* EditableBuilder::edgeFor(std::uint32_t from, std::uint32_t to) {
    if (Edge* existing = edgeOf(from, to)) {
        return existing;
    }
    edges_.push_back(std::make_unique<Edge>(Edge{vertices_[from].get(), vertices_[to].get()}));
    Edge* created = edges_.back().get();
    vertexPairToEdge_[{from, to}] = created;
    vertexPairToEdge_[{to, from}] = created;
    return created;
}

}  // namespace kelvo
