#include "gfx/D3DMesh.h"

#include <algorithm>
#include <cstring>

#include "gfx/HrCheck.h"
#include "platform/os/AssertionReport.h"

namespace kelvo {

namespace {

constexpr const char* kSource = "gfx/D3DMesh";
// The lines the mesh's failure reports name.
constexpr int kVertexSizeLine = 41;
constexpr int kCreateIndexBufferLine = 67;
constexpr int kCreateVertexBufferLine = 101;
constexpr int kEmptyVertexListLine = 160;
constexpr int kLockVerticesLine = 171;
constexpr int kUnlockVerticesLine = 197;
constexpr int kLockIndicesLine = 203;
constexpr int kIndexRangeLine = 205;
constexpr int kUnlockIndicesLine = 208;
constexpr int kWholeTrianglesLine = 506;
constexpr int kSetStreamSourceLine = 512;
constexpr int kSetIndicesLine = 517;
constexpr int kDrawLine = 518;

constexpr D3DVERTEXELEMENT9 kVertexElements[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
    {0, 24, D3DDECLTYPE_D3DCOLOR, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0},
    {0, 28, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    {0, 36, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 1},
    {0, 44, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 2},
    {0, 56, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 3},
    {0, 68, D3DDECLTYPE_FLOAT1, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_BLENDWEIGHT, 0},
    {0, 72, D3DDECLTYPE_UBYTE4, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_BLENDINDICES, 0},
    {0, 76, D3DDECLTYPE_UBYTE4, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_BLENDINDICES, 1},
    D3DDECL_END(),
};

template <typename Buffer>
void release(Buffer*& buffer) {
    if (buffer != nullptr) {
        buffer->Release();
        buffer = nullptr;
    }
}

// The indices with every triangle that names a vertex outside the list left out; a trailing
// incomplete triangle stays when its indices are valid, so the draw still sees the bad count.
std::vector<std::uint32_t> validTriangles(const std::vector<std::uint32_t>& indices,
                                          std::size_t vertexAmount) {
    std::vector<std::uint32_t> kept;
    kept.reserve(indices.size());
    bool reported = false;
    for (std::size_t first = 0; first < indices.size(); first += 3) {
        const std::size_t last = std::min(first + 3, indices.size());
        const bool valid = std::all_of(indices.begin() + first, indices.begin() + last,
                                       [&](std::uint32_t i) { return i < vertexAmount; });
        if (valid) {
            kept.insert(kept.end(), indices.begin() + first, indices.begin() + last);
        } else if (!reported) {
            os::assertionReport("indices[i] < vertexAmount", kSource, kIndexRangeLine);
            reported = true;
        }
    }
    return kept;
}

}  // namespace

const D3DVERTEXELEMENT9* D3DMesh::vertexElements() {
    return kVertexElements;
}

D3DMesh::D3DMesh(IDirect3DDevice9* device, int faceCountHint, int vertexCountHint)
    : device_(device), vertexCountHint_(vertexCountHint), faceCountHint_(faceCountHint) {
    device_->CreateVertexDeclaration(kVertexElements, &declaration_);
}

D3DMesh::~D3DMesh() {
    release(indexBuffer_);
    release(vertexBuffer_);
    release(declaration_);
}

void D3DMesh::ensureCapacity(int indexAmount, int vertexAmount, int vertexSize) {
    if (!(!vertexAmount || (vertexAmount && vertexSize))) {
        os::assertionReport("!vertexAmount || ( vertexAmount && vertexSize )", kSource,
                            kVertexSizeLine);
    }
    // A buffer whose creation failed is absent with capacity 0, so no upload writes into it.
    if (indexAmount != 0 && indexAmount > indexCapacity_) {
        release(indexBuffer_);
        indexCapacity_ = 0;
        const int capacity = std::max(3 * faceCountHint_, indexAmount);
        const UINT bytes = static_cast<UINT>(capacity) * sizeof(std::uint32_t);
        if (SUCCEEDED(
                HR_CHECK(kSource, kCreateIndexBufferLine,
                         device_->CreateIndexBuffer(bytes, D3DUSAGE_DYNAMIC, D3DFMT_INDEX32,
                                                    D3DPOOL_SYSTEMMEM, &indexBuffer_, nullptr)))) {
            indexCapacity_ = capacity;
        }
    }
    if (vertexAmount != 0 && vertexAmount > vertexCapacity_) {
        release(vertexBuffer_);
        vertexCapacity_ = 0;
        const int capacity = std::max(vertexCountHint_, vertexAmount);
        const UINT bytes = static_cast<UINT>(capacity) * static_cast<UINT>(vertexSize);
        if (SUCCEEDED(
                HR_CHECK(kSource, kCreateVertexBufferLine,
                         device_->CreateVertexBuffer(bytes, D3DUSAGE_DYNAMIC, 0, D3DPOOL_SYSTEMMEM,
                                                     &vertexBuffer_, nullptr)))) {
            vertexCapacity_ = capacity;
        }
    }
}

void D3DMesh::upload(const std::vector<Vertex>& vertices,
                     const std::vector<std::uint32_t>* indices) {
    if (vertices.empty()) {
        os::assertionReport("vertexList.size() > 0", kSource, kEmptyVertexListLine);
        return;
    }
    const std::vector<std::uint32_t> kept =
        indices ? validTriangles(*indices, vertices.size()) : std::vector<std::uint32_t>{};
    vertexStride_ = vertices.front().size();
    ensureCapacity(static_cast<int>(kept.size()), static_cast<int>(vertices.size()), vertexStride_);
    vertexCount_ = static_cast<int>(vertices.size());
    writeVertices(vertices);
    if (indices) {
        indexCount_ = static_cast<int>(kept.size());
        writeIndices(kept);
    }
}

void D3DMesh::writeVertices(const std::vector<Vertex>& vertices) {
    if (vertexBuffer_ == nullptr) {
        return;
    }
    void* data = nullptr;
    const UINT bytes = static_cast<UINT>(vertexCount_) * static_cast<UINT>(vertexStride_);
    if (FAILED(HR_CHECK(kSource, kLockVerticesLine,
                        vertexBuffer_->Lock(0, bytes, &data, D3DLOCK_DISCARD))) ||
        data == nullptr) {
        return;
    }
    auto* out = static_cast<unsigned char*>(data);
    for (const Vertex& vertex : vertices) {
        std::memcpy(out, &vertex.attributes(), sizeof(VertexAttributes));
        out += vertexStride_;
    }
    HR_CHECK(kSource, kUnlockVerticesLine, vertexBuffer_->Unlock());
}

void D3DMesh::writeIndices(const std::vector<std::uint32_t>& indices) {
    // With no indices there is no buffer to write, and Lock with size 0 would mean all of it.
    if (indexBuffer_ == nullptr || indices.empty()) {
        return;
    }
    void* data = nullptr;
    const UINT bytes = static_cast<UINT>(indices.size() * sizeof(std::uint32_t));
    if (FAILED(HR_CHECK(kSource, kLockIndicesLine,
                        indexBuffer_->Lock(0, bytes, &data, D3DLOCK_DISCARD))) ||
        data == nullptr) {
        return;
    }
    std::memcpy(data, indices.data(), bytes);
    HR_CHECK(kSource, kUnlockIndicesLine, indexBuffer_->Unlock());
}

void D3DMesh::draw() {
    if ((indexCount_ % 3) != 0) {
        os::assertionReport("( d3dIndexAmount % 3 ) == 0", kSource, kWholeTrianglesLine);
    }
    if (vertexBuffer_ == nullptr || indexBuffer_ == nullptr) {
        return;
    }
    HR_CHECK(kSource, kSetStreamSourceLine,
             device_->SetStreamSource(0, vertexBuffer_, 0, static_cast<UINT>(vertexStride_)));
    device_->SetVertexDeclaration(declaration_);
    HR_CHECK(kSource, kSetIndicesLine, device_->SetIndices(indexBuffer_));
    HR_CHECK(
        kSource, kDrawLine,
        device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, static_cast<UINT>(vertexCount_), 0,
                                      static_cast<UINT>(indexCount_ / 3)));
}

}  // namespace kelvo
