#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "gfx/D3DMesh.h"
#include "platform/d3d9/recording/RecordingDevice.h"
#include "platform/d3d9/recording/RecordingIndexBuffer.h"
#include "platform/d3d9/recording/RecordingVertexBuffer.h"
#include "platform/os/AssertionCapture.h"

using kelvo::D3DMesh;
using kelvo::Vertex;
using kelvo::VertexAttributes;
using os::AssertionRecord;

namespace {

std::vector<Vertex> numberedVertices(int count) {
    std::vector<Vertex> vertices(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        vertices[static_cast<std::size_t>(i)].setPosition(static_cast<float>(i), 0, 0);
    }
    return vertices;
}

class D3DMeshTest : public testing::Test {
protected:
    ~D3DMeshTest() override { device->Release(); }

    RecordingDevice* device = new RecordingDevice();
    os::AssertionCapture reports;
};

}  // namespace

TEST_F(D3DMeshTest, DeclarationDescribesTheVertexBlock) {
    // offset, type, usage, usage index: one element per attribute of the vertex block.
    const std::array<std::array<unsigned, 4>, 10> expected{{
        {offsetof(VertexAttributes, position), D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0},
        {offsetof(VertexAttributes, normal), D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL, 0},
        {offsetof(VertexAttributes, colour), D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 0},
        {offsetof(VertexAttributes, texCoord0), D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD, 0},
        {offsetof(VertexAttributes, texCoord1), D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD, 1},
        {offsetof(VertexAttributes, tangent), D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_TEXCOORD, 2},
        {offsetof(VertexAttributes, binormal), D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_TEXCOORD, 3},
        {offsetof(VertexAttributes, blendWeight), D3DDECLTYPE_FLOAT1, D3DDECLUSAGE_BLENDWEIGHT, 0},
        {offsetof(VertexAttributes, blendIndices0), D3DDECLTYPE_UBYTE4, D3DDECLUSAGE_BLENDINDICES,
         0},
        {offsetof(VertexAttributes, blendIndices1), D3DDECLTYPE_UBYTE4, D3DDECLUSAGE_BLENDINDICES,
         1},
    }};
    const D3DVERTEXELEMENT9* e = D3DMesh::vertexElements();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ((std::array<unsigned, 4>{e[i].Offset, e[i].Type, e[i].Usage, e[i].UsageIndex}),
                  expected[i])
            << "element " << i;
        EXPECT_EQ(e[i].Stream, 0);
    }
    EXPECT_EQ(e[expected.size()].Stream, 0xFF);
    D3DMesh mesh(device, 1, 1);
    EXPECT_EQ(device->calls(),
              (std::vector<std::string>{"CreateVertexDeclaration(10 elements) -> decl#1"}));
}

TEST_F(D3DMeshTest, BuffersAreMadeOnlyWhenTheyMustGrowAndNeverBelowTheHints) {
    const std::vector<std::uint32_t> triangle{0, 1, 2};
    D3DMesh mesh(device, 4, 10);
    device->clearCalls();

    mesh.upload(numberedVertices(3), &triangle);
    mesh.upload(numberedVertices(10), &triangle);
    EXPECT_EQ(
        device->callsStartingWith("Create"),
        (std::vector<std::string>{
            "CreateIndexBuffer(48, D3DUSAGE_DYNAMIC, D3DFMT_INDEX32, D3DPOOL_SYSTEMMEM) -> ib#1",
            "CreateVertexBuffer(800, D3DUSAGE_DYNAMIC, 0, D3DPOOL_SYSTEMMEM) -> vb#1"}));

    const std::vector<std::uint32_t> many(15, 0);
    mesh.upload(numberedVertices(11), &many);
    EXPECT_EQ(mesh.vertexCapacity(), 11);
    EXPECT_EQ(mesh.indexCapacity(), 15);
    EXPECT_EQ(device->countCalls("CreateVertexBuffer"), 2u);
    EXPECT_EQ(device->countCalls("CreateIndexBuffer"), 2u);
    // The old buffers were released: only the declaration and the two new buffers live.
    EXPECT_EQ(device->liveObjectCount(), 3u);
    EXPECT_TRUE(reports.records().empty());
}

TEST_F(D3DMeshTest, UploadWritesWholeBlocksAndIndicesThroughDiscardLocks) {
    const std::vector<std::uint32_t> indices{2, 1, 0, 0, 2, 3};
    const std::vector<Vertex> vertices = numberedVertices(4);
    D3DMesh mesh(device, 2, 4);
    device->clearCalls();
    mesh.upload(vertices, &indices);

    EXPECT_EQ(device->callsStartingWith("vb#1."),
              (std::vector<std::string>{"vb#1.Lock(0, 320, D3DLOCK_DISCARD)", "vb#1.Unlock()"}));
    EXPECT_EQ(device->callsStartingWith("ib#1."),
              (std::vector<std::string>{"ib#1.Lock(0, 24, D3DLOCK_DISCARD)", "ib#1.Unlock()"}));
    const auto& vb = dynamic_cast<RecordingVertexBuffer&>(*mesh.vertexBuffer()).memory().bytes();
    EXPECT_EQ(std::memcmp(vb.data() + 3 * 80, &vertices[3].attributes(), 80), 0);
    const auto& ib = dynamic_cast<RecordingIndexBuffer&>(*mesh.indexBuffer()).memory().bytes();
    EXPECT_EQ(std::memcmp(ib.data(), indices.data(), 24), 0);
    EXPECT_EQ(mesh.vertexStride(), 80);
}

TEST_F(D3DMeshTest, DrawSetsTheStreamDeclarationAndIndicesThenDrawsTheTriangles) {
    const std::vector<std::uint32_t> indices{0, 1, 2, 0, 2, 3};
    D3DMesh mesh(device, 2, 4);
    mesh.upload(numberedVertices(4), &indices);
    device->BeginScene();
    device->clearCalls();
    mesh.draw();
    EXPECT_EQ(device->calls(), (std::vector<std::string>{
                                   "SetStreamSource(0, vb#1, 0, 80)",
                                   "SetVertexDeclaration(decl#1)",
                                   "SetIndices(ib#1)",
                                   "DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2)",
                               }));
    EXPECT_TRUE(reports.records().empty());
}

TEST_F(D3DMeshTest, AnIncompleteTriangleIsReportedAndTheWholeOnesDrawn) {
    const std::vector<std::uint32_t> indices{0, 1, 2, 3};
    D3DMesh mesh(device, 1, 4);
    mesh.upload(numberedVertices(4), &indices);
    device->BeginScene();
    device->clearCalls();
    mesh.draw();
    EXPECT_EQ(reports.records(),
              (std::vector<AssertionRecord>{{"( d3dIndexAmount % 3 ) == 0", "gfx/D3DMesh", 506}}));
    EXPECT_EQ(
        device->callsStartingWith("DrawIndexedPrimitive"),
        (std::vector<std::string>{"DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 1)"}));
}

TEST_F(D3DMeshTest, TrianglesNamingMissingVerticesAreReportedAndLeftOut) {
    const std::vector<std::uint32_t> indices{0, 1, 2, 0, 2, 9, 2, 1, 0};
    D3DMesh mesh(device, 3, 3);
    mesh.upload(numberedVertices(3), &indices);
    EXPECT_EQ(reports.records(),
              (std::vector<AssertionRecord>{{"indices[i] < vertexAmount", "gfx/D3DMesh", 205}}));
    EXPECT_EQ(mesh.indexCount(), 6);
    const auto& ib = dynamic_cast<RecordingIndexBuffer&>(*mesh.indexBuffer()).memory().bytes();
    const std::uint32_t kept[] = {0, 1, 2, 2, 1, 0};
    EXPECT_EQ(std::memcmp(ib.data(), kept, sizeof kept), 0);
}

TEST_F(D3DMeshTest, FailedDeviceCallsAreReportedAndNothingIsWrittenOrDrawn) {
    const std::vector<std::uint32_t> triangle{0, 1, 2};
    {
        D3DMesh mesh(device, 1, 3);
        device->failCall("CreateVertexBuffer", E_OUTOFMEMORY);
        mesh.upload(numberedVertices(3), &triangle);
        EXPECT_EQ(reports.records(), (std::vector<AssertionRecord>{{"0", "gfx/D3DMesh", 101}}));
        EXPECT_EQ(mesh.vertexCapacity(), 0);
        device->BeginScene();
        device->clearCalls();
        mesh.draw();
        EXPECT_TRUE(device->calls().empty());
    }
    device->clearFailures();
    reports.clear();
    {
        D3DMesh mesh(device, 1, 3);
        device->failCall("Lock", D3DERR_INVALIDCALL);
        mesh.upload(numberedVertices(3), &triangle);
        EXPECT_EQ(reports.records(), (std::vector<AssertionRecord>{{"0", "gfx/D3DMesh", 171},
                                                                   {"0", "gfx/D3DMesh", 203}}));
        EXPECT_EQ(device->countCalls("Unlock"), 0u);
    }
    EXPECT_EQ(device->liveObjectCount(), 0u);
}

TEST_F(D3DMeshTest, EmptyVertexListAndZeroVertexSizeAreReported) {
    D3DMesh mesh(device, 1, 1);
    mesh.upload({}, nullptr);
    mesh.ensureCapacity(0, 3, 0);
    const auto records = reports.records();
    // After the size check the zero-byte buffer is refused by the device, too.
    EXPECT_EQ(records, (std::vector<AssertionRecord>{
                           {"vertexList.size() > 0", "gfx/D3DMesh", 160},
                           {"!vertexAmount || ( vertexAmount && vertexSize )", "gfx/D3DMesh", 41},
                           {"0", "gfx/D3DMesh", 101}}));
    EXPECT_EQ(mesh.vertexStride(), -1);
}
