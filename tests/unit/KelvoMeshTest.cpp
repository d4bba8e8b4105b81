#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/MeshNormals.h"
#include "gfx/TangentFrames.h"
#include "platform/os/AssertionCapture.h"
#include "tests/unit/MeshFixtures.h"

using kelvo::Edge;
using kelvo::FaceBase;
using kelvo::KelvoMesh;
using kelvo::TriFace;
using kelvo::Vec3;
using kelvo::Vertex;
using kelvo::VertexBase;
using meshtest::fillMesh;
using meshtest::normalOf;
using meshtest::vertexAt;
using os::AssertionRecord;

namespace {

void expectNear(const Vec3& actual, const Vec3& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

const std::string kEdgeCheck =
    "(currEdge->a && currEdge->b) || !\"Invalid vertex pointer(s) in edge struct!\"";
const std::string kFaceCheck =
    "(currEdge != NULL && newEdge != NULL) || !\"Invalid edge pointer(s) in face struct!\"";

}  // namespace

TEST(KelvoMeshSet, ElementsNamingAnythingOutsideTheCallAreReportedAndLeftOut) {
    os::AssertionCapture capture;
    Vertex inside, outside;
    Edge good{&inside, &inside}, bad{&inside, &outside};
    TriFace usesBad(&good, &bad, &good), usesGood(&good, &good, &good);
    std::vector<VertexBase*> vertices{&inside};
    std::vector<Edge*> edges{&good, &bad};
    std::vector<FaceBase*> faces{&usesBad, &usesGood};
    KelvoMesh mesh;
    mesh.set(&vertices, &edges, &faces);
    EXPECT_EQ(capture.records(),
              (std::vector<AssertionRecord>{{kEdgeCheck, "gfx/KelvoMesh", 94},
                                            {kFaceCheck, "gfx/KelvoMesh", 121}}));
    EXPECT_EQ(mesh.edges().size(), 1u);
    EXPECT_EQ(mesh.faces().size(), 1u);
    EXPECT_TRUE(kelvo::computeVertexNormals(mesh));

    // Edges without vertices and faces without edges name nothing the call copied.
    capture.clear();
    mesh.set(nullptr, &edges, nullptr);
    mesh.set(nullptr, nullptr, &faces);
    const auto records = capture.records();
    ASSERT_EQ(records.size(), 10u);
    EXPECT_EQ(records[0], (AssertionRecord{"!(edges && !vertices)", "gfx/KelvoMesh", 50}));
    EXPECT_EQ(records[3], (AssertionRecord{"!(faces && !edges )", "gfx/KelvoMesh", 51}));
    EXPECT_TRUE(mesh.edges().empty() && mesh.faces().empty());
}

TEST(KelvoMeshSet, NewVerticesAloneDropTheEdgesAndFacesOfTheOldOnes) {
    KelvoMesh mesh;
    fillMesh(mesh, meshtest::quadVertices(), meshtest::kQuadTriangles);
    Vertex lone;
    std::vector<VertexBase*> vertices{&lone};
    mesh.set(&vertices, nullptr, nullptr);
    EXPECT_EQ(mesh.vertices().size(), 1u);
    EXPECT_TRUE(mesh.edges().empty());
    EXPECT_TRUE(mesh.faces().empty());
}

TEST(MeshNormals, FaceNormalIsTwiceTheAreaAlongTheWinding) {
    KelvoMesh mesh;
    fillMesh(mesh, {vertexAt({0, 0, 0}), vertexAt({2, 0, 0}), vertexAt({0, 3, 0})}, {{0, 1, 2}});
    kelvo::computeFaceNormals(mesh);
    EXPECT_EQ(mesh.faces()[0]->normal, (Vec3{0, 0, 6}));
    EXPECT_TRUE(mesh.faceNormalsValid);
}

TEST(MeshNormals, FlatQuadVerticesAllFaceUp) {
    KelvoMesh mesh;
    fillMesh(mesh, meshtest::quadVertices(), meshtest::kQuadTriangles);
    ASSERT_TRUE(kelvo::computeVertexNormals(mesh));
    for (std::size_t i = 0; i < 4; ++i) {
        expectNear(normalOf(mesh, i), {0, 0, 1});
    }
    // Up to date: a second call changes nothing, even after the data was tampered with.
    mesh.vertices()[0]->setNormal(9, 9, 9);
    EXPECT_FALSE(kelvo::computeVertexNormals(mesh));
    EXPECT_EQ(normalOf(mesh, 0), (Vec3{9, 9, 9}));
}

TEST(MeshNormals, SharedVerticesAverageByAreaAndDegenerateFacesAddNothing) {
    KelvoMesh mesh;
    // Two perpendicular triangles sharing the edge 0-1, one twice the other's area, plus a
    // zero-area face that alone uses vertex 4.
    fillMesh(mesh,
             {vertexAt({0, 0, 0}), vertexAt({1, 0, 0}), vertexAt({0, 1, 0}), vertexAt({0, 0, 2}),
              vertexAt({5, 5, 5})},
             {{0, 1, 2}, {1, 0, 3}, {4, 4, 4}});
    ASSERT_TRUE(kelvo::computeVertexNormals(mesh));
    expectNear(normalOf(mesh, 0), kelvo::normalize({0, 2, 1}));
    expectNear(normalOf(mesh, 2), {0, 0, 1});
    EXPECT_EQ(normalOf(mesh, 4), (Vec3{0, 0, 0}));
}

TEST(MeshNormals, EmptyMeshAnswersTrueWithoutMarkingAnything) {
    KelvoMesh mesh;
    EXPECT_TRUE(kelvo::computeVertexNormals(mesh));
    EXPECT_FALSE(mesh.vertexNormalsValid);
    kelvo::computeTangentFrames(mesh);
    EXPECT_FALSE(mesh.tangentFramesValid);
}

TEST(TangentFrames, TexturedQuadFollowsItsTextureAxes) {
    KelvoMesh mesh;
    fillMesh(mesh, meshtest::quadVertices(), meshtest::kQuadTriangles);
    kelvo::computeTangentFrames(mesh);
    EXPECT_TRUE(mesh.tangentFramesValid);
    EXPECT_TRUE(mesh.vertexNormalsValid);
    for (const auto& v : mesh.vertices()) {
        expectNear(*v->tangent(), {1, 0, 0});
        EXPECT_GT(v->binormal()->y, 0.0f);
        EXPECT_EQ(v->binormal()->x, 0.0f);
    }
}

TEST(TangentFrames, MirroredTextureKeepsTheBinormalOnItsSide) {
    KelvoMesh mesh;
    // u runs against x: the tangent turns round, the binormal still points along +v (+y).
    fillMesh(mesh, meshtest::quadVertices({{{1, 0}, {0, 0}, {0, 1}, {1, 1}}}),
             meshtest::kQuadTriangles);
    kelvo::computeTangentFrames(mesh);
    for (const auto& v : mesh.vertices()) {
        expectNear(*v->tangent(), {-1, 0, 0});
        EXPECT_GT(v->binormal()->y, 0.0f);
    }
}

TEST(TangentFrames, CollinearTextureCoordinatesGiveNoTangent) {
    KelvoMesh mesh;
    fillMesh(
        mesh,
        {vertexAt({0, 0, 0}, {0, 0}), vertexAt({1, 0, 0}, {1, 1}), vertexAt({0, 1, 0}, {2, 2})},
        {{0, 1, 2}});
    kelvo::computeTangentFrames(mesh);
    EXPECT_EQ(mesh.faces()[0]->tangent, (Vec3{}));
    EXPECT_EQ(*mesh.vertices()[0]->tangent(), (Vec3{}));
    EXPECT_EQ(*mesh.vertices()[0]->binormal(), (Vec3{}));
}
