#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

#include "gfx/InvertFaces.h"
#include "gfx/MeshGeometry.h"
#include "gfx/MeshNormals.h"
#include "platform/d3d9/recording/RecordingDevice.h"
#include "platform/os/AssertionCapture.h"
#include "platform/os/MessageBoxCapture.h"
#include "tests/unit/MeshFixtures.h"

using kelvo::Edge;
using kelvo::GeometryState;
using kelvo::KelvoMesh;
using kelvo::Matrix;
using kelvo::MeshGeometry;
using kelvo::Vec3;
using kelvo::Vertex;
using kelvo::VertexBase;
using meshtest::vertexAt;
using os::AssertionRecord;
using os::MessageBoxRecord;

namespace {

// A closed axis-aligned box from (0, 0, 0) to (2, 4, 6): 8 shared corners, 12 triangles wound
// counter-clockwise seen from outside.
const std::vector<std::uint32_t> kBoxIndices{
    0, 2, 1, 0, 3, 2,  // z = 0
    4, 5, 6, 4, 6, 7,  // z = 6
    0, 1, 5, 0, 5, 4,  // y = 0
    3, 7, 6, 3, 6, 2,  // y = 4
    0, 4, 7, 0, 7, 3,  // x = 0
    1, 2, 6, 1, 6, 5,  // x = 2
};

std::vector<Vertex> boxCorners() {
    std::vector<Vertex> corners;
    for (const Vec3& p : {Vec3{0, 0, 0}, Vec3{2, 0, 0}, Vec3{2, 4, 0}, Vec3{0, 4, 0}, Vec3{0, 0, 6},
                          Vec3{2, 0, 6}, Vec3{2, 4, 6}, Vec3{0, 4, 6}}) {
        corners.push_back(vertexAt(p));
    }
    return corners;
}

std::vector<std::vector<const Edge*>> edgeOrders(const KelvoMesh& mesh) {
    std::vector<std::vector<const Edge*>> orders;
    for (const auto& face : mesh.faces()) {
        orders.push_back({face->getEdge(0), face->getEdge(1), face->getEdge(2)});
    }
    return orders;
}

std::array<float, 6> boxOf(const float* box) {
    return {box[0], box[1], box[2], box[3], box[4], box[5]};
}

class MeshGeometryTest : public testing::Test {
protected:
    ~MeshGeometryTest() override { device->Release(); }

    RecordingDevice* device = new RecordingDevice();
    os::AssertionCapture reports;
    os::MessageBoxCapture boxes;
};

}  // namespace

TEST_F(MeshGeometryTest, ClosedBoxSharesEveryEdgeBetweenTwoFaces) {
    MeshGeometry geometry(device, 12, 8);
    geometry.upload(boxCorners(), &kBoxIndices);
    geometry.buildEditable();
    const KelvoMesh& mesh = geometry.editable();
    EXPECT_EQ(geometry.state(), GeometryState::InAgreement);
    ASSERT_EQ(mesh.vertices().size(), 8u);
    EXPECT_EQ(mesh.edges().size(), 18u);
    ASSERT_EQ(mesh.faces().size(), 12u);
    std::map<const Edge*, int> uses;
    for (const auto& face : mesh.faces()) {
        for (int i = 0; i < 3; ++i) {
            ++uses[face->getEdge(i)];
        }
    }
    for (const auto& [edge, count] : uses) {
        EXPECT_EQ(count, 2);
    }
    // Shared edges keep each face's winding: every smooth normal points out of the box.
    geometry.ensureNormals();
    const Vec3 centre{1, 2, 3};
    for (const auto& v : mesh.vertices()) {
        EXPECT_GT(kelvo::dot(*v->normal(), *v->position() - centre), 0.0f);
    }
    EXPECT_TRUE(reports.records().empty());
}

TEST_F(MeshGeometryTest, DuplicatedCornersAndDegenerateTrianglesShareNothing) {
    // Two triangles meeting along x = 1 through duplicated buffer vertices, and one triangle
    // that uses a single vertex twice.
    MeshGeometry geometry(device, 3, 6);
    const std::vector<std::uint32_t> indices{0, 1, 2, 3, 4, 5, 0, 0, 1};
    geometry.upload({vertexAt({0, 0, 0}), vertexAt({1, 0, 0}), vertexAt({1, 1, 0}),
                     vertexAt({1, 0, 0}), vertexAt({2, 0, 0}), vertexAt({1, 1, 0})},
                    &indices);
    geometry.buildEditable();
    // 3 + 3 edges for the two triangles, then (0, 0) new and (0, 1), (1, 0) already known.
    EXPECT_EQ(geometry.editable().edges().size(), 7u);
    EXPECT_EQ(geometry.editable().faces().size(), 3u);
    kelvo::computeFaceNormals(geometry.editable());
    EXPECT_EQ(geometry.editable().faces()[2]->normal, (Vec3{}));
}

TEST_F(MeshGeometryTest, BadIndicesInTheBufferAreReportedAndSkipped) {
    MeshGeometry geometry(device, 2, 3);
    const std::vector<std::uint32_t> indices{0, 1, 2, 2, 1, 0, 1};
    geometry.upload({vertexAt({0, 0, 0}), vertexAt({1, 0, 0}), vertexAt({0, 1, 0})}, &indices);
    // Vertices alone shrink the count while the old indices stay: 2 now names nothing.
    geometry.gpu().upload({vertexAt({0, 0, 0}), vertexAt({1, 0, 0})}, nullptr);
    reports.clear();
    geometry.buildEditable();
    EXPECT_EQ(
        reports.records(),
        (std::vector<AssertionRecord>{
            {"!(d3dIndexAmount%3)", "gfx/D3DMesh", 406},
            {"i1 < vertexAmount && i2 < vertexAmount && i3 < vertexAmount", "gfx/D3DMesh", 424}}));
    EXPECT_EQ(geometry.editable().vertices().size(), 2u);
    EXPECT_TRUE(geometry.editable().faces().empty());
}

TEST_F(MeshGeometryTest, EmptyGeometryRaisesItsFatalErrorsAndDrawsNothing) {
    MeshGeometry geometry(device, 1, 3);
    device->BeginScene();
    device->clearCalls();
    geometry.draw();
    geometry.ensureTangentFrames();
    EXPECT_EQ(boxes.records(),
              (std::vector<MessageBoxRecord>{{"Kelvo error", "Unexpected fatal error(#165)."},
                                             {"Kelvo error", "Unexpected fatal error(#226)."}}));
    EXPECT_TRUE(device->calls().empty());
    geometry.ensureNormals();
    geometry.transform(Matrix::identity());
    EXPECT_EQ(geometry.state(), GeometryState::Empty);
}

TEST_F(MeshGeometryTest, StatesFollowUploadEditAndDraw) {
    MeshGeometry geometry(device, 12, 8);
    geometry.upload(boxCorners(), &kBoxIndices);
    EXPECT_EQ(geometry.state(), GeometryState::BuffersOnly);
    geometry.ensureTangentFrames();
    EXPECT_EQ(geometry.state(), GeometryState::BuffersOnly);

    geometry.ensureNormals();
    EXPECT_EQ(geometry.state(), GeometryState::EditableChanged);
    geometry.ensureTangentFrames();
    EXPECT_TRUE(geometry.editable().tangentFramesValid);

    device->BeginScene();
    geometry.draw();
    EXPECT_EQ(geometry.state(), GeometryState::InAgreement);
    EXPECT_EQ(device->countCalls("DrawIndexedPrimitive"), 1u);
    // Normals already up to date: nothing changes.
    geometry.ensureNormals();
    EXPECT_EQ(geometry.state(), GeometryState::InAgreement);

    geometry.transform(Matrix::identity());
    EXPECT_EQ(geometry.state(), GeometryState::EditableChanged);
    EXPECT_FALSE(geometry.editable().vertexNormalsValid);

    MeshGeometry fromFile(device, 12, 8);
    fromFile.setHasFileNormals(true);
    fromFile.upload(boxCorners(), &kBoxIndices);
    fromFile.ensureNormals();
    EXPECT_EQ(fromFile.state(), GeometryState::BuffersOnly);
}

TEST_F(MeshGeometryTest, BoundingBoxFollowsTheTransform) {
    MeshGeometry empty(device, 1, 1);
    EXPECT_EQ(boxOf(empty.boundingBox()),
              (std::array<float, 6>{10000, 10000, 10000, -10000, -10000, -10000}));

    MeshGeometry geometry(device, 12, 8);
    std::vector<Vertex> corners = boxCorners();
    corners[6].setNormal(0, 0, 1);
    geometry.upload(corners, &kBoxIndices);
    EXPECT_EQ(boxOf(geometry.boundingBox()), (std::array<float, 6>{0, 0, 0, 2, 4, 6}));

    // Swap x and z, then move by (10, 20, 30): normals turn with the matrix but do not move.
    const Matrix m(0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 10, 20, 30, 1);
    geometry.transform(m);
    EXPECT_EQ(boxOf(geometry.boundingBox()), (std::array<float, 6>{10, 20, 30, 16, 24, 32}));
    EXPECT_EQ(*geometry.editable().vertices()[6]->normal(), (Vec3{1, 0, 0}));
}

TEST_F(MeshGeometryTest, InvertingFacesTurnsThemOverAndTwiceRestoresThem) {
    MeshGeometry geometry(device, 12, 8);
    geometry.upload(boxCorners(), &kBoxIndices);
    geometry.buildEditable();
    KelvoMesh& mesh = geometry.editable();
    const auto original = edgeOrders(mesh);

    kelvo::meshmodify::InvertFaces invert;
    invert.apply(geometry);
    EXPECT_EQ(geometry.state(), GeometryState::EditableChanged);
    const auto inverted = edgeOrders(mesh);
    for (std::size_t i = 0; i < original.size(); ++i) {
        EXPECT_EQ(inverted[i],
                  (std::vector<const Edge*>{original[i][2], original[i][1], original[i][0]}));
    }
    geometry.ensureNormals();
    for (const auto& v : mesh.vertices()) {
        EXPECT_LT(kelvo::dot(*v->normal(), *v->position() - Vec3{1, 2, 3}), 0.0f);
    }

    invert.apply(geometry);
    EXPECT_FALSE(mesh.vertexNormalsValid);
    EXPECT_EQ(edgeOrders(mesh), original);
}
