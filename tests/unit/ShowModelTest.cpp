// The committed model file as the show reads it: through the importer, from data/.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <tuple>
#include <vector>

#include "EngineTestBase.h"
#include "UploadedGeometry.h"
#include "gfx/Mesh.h"
#include "gfx/ModelImporter.h"
#include "gfx/Vec3.h"
#include "platform/os/AssertionCapture.h"
#include "platform/os/MessageBoxCapture.h"

using kelvo::Matrix;
using kelvo::Mesh;
using kelvo::Vec3;
using kelvo::VertexAttributes;

namespace {

class ShowModelTest : public EngineTestBase {
protected:
    void SetUp() override {
        EngineTestBase::SetUp();
        root = importer.load(Matrix::identity());
    }

    os::AssertionCapture assertions;
    os::MessageBoxCapture messages;
    kelvo::ModelImporter importer;
    kelvo::INode* root = nullptr;
};

}  // namespace

TEST_F(ShowModelTest, ImportsCleanlyWithDistinctMaterialsAndItsTexture) {
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(messages.count(), 0u) << "the model and its texture are found";
    EXPECT_EQ(assertions.count(), 0u);
    ASSERT_GE(importer.meshes.size(), 3u);
    ASSERT_GE(importer.materials.size(), 4u);

    std::set<std::tuple<float, float, float>> ambients;
    std::set<std::tuple<float, float, float>> diffuses;
    std::set<std::tuple<float, float, float>> speculars;
    int textured = 0;
    for (const kelvo::SurfaceMaterial& m : importer.materials) {
        ambients.emplace(m.ambient.x, m.ambient.y, m.ambient.z);
        diffuses.emplace(m.diffuse.x, m.diffuse.y, m.diffuse.z);
        speculars.emplace(m.specular.x, m.specular.y, m.specular.z);
        EXPECT_GT(m.ambient.x + m.ambient.y + m.ambient.z, 0.15f)
            << "the far, dim point lights alone would leave the model dark";
        textured += m.diffuseMap != nullptr ? 1 : 0;
    }
    EXPECT_EQ(ambients.size(), importer.materials.size());
    EXPECT_EQ(diffuses.size(), importer.materials.size());
    EXPECT_GE(speculars.size(), importer.materials.size() - 1);
    EXPECT_GE(textured, 1);
    for (unsigned index : importer.meshMaterials) {
        EXPECT_LT(index, importer.materials.size());
    }
}

TEST_F(ShowModelTest, GeometryIsAFewThousandTrianglesWoundWithTheirNormals) {
    std::size_t triangles = 0;
    for (Mesh* mesh : importer.meshes) {
        const std::vector<VertexAttributes> vertices = uploadedVertices(*mesh);
        const std::vector<std::uint32_t> indices = uploadedIndices(*mesh);
        EXPECT_LE(vertices.size(), 65535u) << "a mesh of the file format holds at most 65535";
        ASSERT_EQ(indices.size() % 3, 0u);
        triangles += indices.size() / 3;
        int inward = 0;
        for (std::size_t i = 0; i < indices.size(); i += 3) {
            const VertexAttributes& a = vertices.at(indices[i]);
            const VertexAttributes& b = vertices.at(indices[i + 1]);
            const VertexAttributes& c = vertices.at(indices[i + 2]);
            const Vec3 face = kelvo::cross(b.position - a.position, c.position - a.position);
            // Clockwise on screen seen from the side the normal faces: the side the culling
            // keeps, and the side the lighting treats as the outside.
            inward += kelvo::dot(face, a.normal) > 0.0f ? 0 : 1;
        }
        EXPECT_EQ(inward, 0) << "every triangle's winding agrees with its normals";
    }
    EXPECT_GE(triangles, 2000u);
    EXPECT_LE(triangles, 12000u);
}

TEST_F(ShowModelTest, RampRunsAlongXThroughTheOriginWithANarrowCrossSection) {
    // The show's cameras strafe along x by up to 200 units (at its scale of 0.005) and sit
    // 50 to 80 units off the x axis: the model must reach along x and stay clear of them. The
    // show replaces the root's transform by its scale, so the file's axes are the show's.
    Vec3 low{1e9f, 1e9f, 1e9f};
    Vec3 high{-1e9f, -1e9f, -1e9f};
    for (Mesh* mesh : importer.meshes) {
        const float* box = mesh->geometry->boundingBox();
        for (int corner = 0; corner < 8; ++corner) {
            const Vec3 p{box[(corner & 1) != 0 ? 3 : 0], box[(corner & 2) != 0 ? 4 : 1],
                         box[(corner & 4) != 0 ? 5 : 2]};
            low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
            high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
        }
    }
    EXPECT_LT(low.x, -200.0f);
    EXPECT_GT(high.x, 200.0f);
    EXPECT_LT(high.x + low.x, 40.0f) << "centred on the origin along x";
    EXPECT_GT(high.x + low.x, -40.0f);
    for (float extent : {low.y, high.y, low.z, high.z}) {
        EXPECT_LT(std::abs(extent), 32.0f);
        EXPECT_GT(std::abs(extent), 8.0f);
    }
    EXPECT_GT(high.y, 0.0f) << "the ramp climbs along y, the show's up";
    EXPECT_LT(low.y, 0.0f);
}
