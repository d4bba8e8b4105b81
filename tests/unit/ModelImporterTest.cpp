#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "EngineTestBase.h"
#include "ModelFiles.h"
#include "UploadedGeometry.h"
#include "gfx/DataFileCache.h"
#include "gfx/DummyNode.h"
#include "gfx/Mesh.h"
#include "gfx/MeshInstance.h"
#include "gfx/ModelImporter.h"
#include "gfx/Texture.h"
#include "platform/os/AssertionCapture.h"
#include "platform/os/MessageBoxCapture.h"
#include "platform/os/QuitRequest.h"

using kelvo::DummyNode;
using kelvo::INode;
using kelvo::Matrix;
using kelvo::Mesh;
using kelvo::MeshInstance;
using kelvo::ModelImporter;
using kelvo::VertexAttributes;

namespace {

class ModelImporterTest : public EngineTestBase {
protected:
    INode* import(const aiScene& s, const Matrix& m = Matrix::identity()) {
        const std::string file = modelfile::bytes(s);
        EXPECT_FALSE(file.empty());
        return importer.loadFromMemory(file.data(), file.size(), "assbin", m);
    }

    static MeshInstance& instanceAt(INode* parent, std::size_t i) {
        return dynamic_cast<MeshInstance&>(*parent->children.at(i));
    }

    ModelImporter importer;
    os::AssertionCapture assertions;
    os::MessageBoxCapture messages;
};

// The process-wide data file cache reads from the working directory: for the length of a test it
// is a fresh folder with a data/ folder inside, below a parent of its own. Cache entries outlive
// the test, so names carry the folder's unique part.
class WorkingFolder {
public:
    WorkingFolder() : previous_(std::filesystem::current_path()) {
        std::string pattern = std::filesystem::path(testing::TempDir()) / "kelvo_model-XXXXXX";
        parent_ = mkdtemp(pattern.data());
        std::filesystem::create_directories(parent_ / "work" / "data");
        std::filesystem::current_path(parent_ / "work");
    }
    ~WorkingFolder() {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(parent_);
    }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

    std::string tag() const { return parent_.filename().string(); }
    // Relative to the working folder ("../x" lands in the parent).
    void write(const std::string& relative, const std::string& bytes) const {
        const auto path = std::filesystem::current_path() / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::string absolute(const std::string& relative) const {
        return (std::filesystem::current_path() / relative).lexically_normal().string();
    }

private:
    std::filesystem::path previous_;
    std::filesystem::path parent_;
};

// A one-pixel uncompressed 24-bit TGA.
std::string pixelTga() {
    std::string tga(18, '\0');
    tga[2] = 2;
    tga[12] = 1;
    tga[14] = 1;
    tga[16] = 24;
    return tga + "\x10\x20\x30";
}

aiMaterial* texturedMaterial(const std::string& texture) {
    aiMaterial* m = modelfile::material();
    const aiString path(texture);
    m->AddProperty(&path, AI_MATKEY_TEXTURE_DIFFUSE(0));
    return m;
}

aiMesh* attributedTriangle() {
    aiMesh* m = modelfile::triangle();
    m->mNormals = new aiVector3D[3]{{0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    m->mColors[0] = new aiColor4D[3]{{1, 0.5f, 0, 1}, {2, -1, NAN, 0.5f}, {0, 0, 0, 0}};
    m->mTextureCoords[0] = new aiVector3D[3]{{0.25f, 0.25f, 0}, {1, 0, 0}, {0, 1, 0}};
    m->mNumUVComponents[0] = 2;
    return m;
}

}  // namespace

TEST_F(ModelImporterTest, VerticesAndIndicesFollowTheConversionRules) {
    auto s = modelfile::scene({attributedTriangle()}, modelfile::node("n", {0}));
    import(*s);
    ASSERT_EQ(importer.meshes.size(), 1u);
    Mesh& mesh = *importer.meshes[0];
    const auto v = uploadedVertices(mesh);
    ASSERT_EQ(v.size(), 3u);

    EXPECT_EQ(uploadedIndices(mesh), (std::vector<std::uint32_t>{1, 0, 2}));
    EXPECT_EQ(v[0].texCoord0.u, 0.25f);
    EXPECT_EQ(v[0].texCoord0.v, 0.75f);
    EXPECT_EQ(v[0].texCoord1.v, 0.75f) << "set 1 repeats the flipped set 0 when the file has none";
    EXPECT_EQ(v[0].normal.z, -1.0f) << "flipNormals negates the file's normals";
    EXPECT_EQ(v[0].colour, 0xFF7F00FFu);
    EXPECT_EQ(v[1].colour, 0xFF00007Fu) << "channels outside 0..1 and NaN are clamped";
    EXPECT_TRUE(mesh.geometry->hasFileNormals());
    EXPECT_EQ(assertions.count(), 0u);
}

TEST_F(ModelImporterTest, SecondTextureSetStaysUnflippedAndOptionsOverrideFileValues) {
    aiMesh* m = attributedTriangle();
    m->mTextureCoords[1] = new aiVector3D[3]{{0.5f, 0.25f, 0}, {}, {}};
    m->mNumUVComponents[1] = 2;
    auto s = modelfile::scene({m}, modelfile::node("n", {0}));
    importer.flipNormals = false;
    importer.useFixedColour = true;
    importer.fixedColour = 0x11223344u;
    import(*s);
    const auto v = uploadedVertices(*importer.meshes[0]);
    EXPECT_EQ(v[0].texCoord1.u, 0.5f);
    EXPECT_EQ(v[0].texCoord1.v, 0.25f);
    EXPECT_EQ(v[0].texCoord0.v, 0.75f);
    EXPECT_EQ(v[0].normal.z, 1.0f);
    EXPECT_EQ(v[2].colour, 0x11223344u);

    importer.duplicateFirstChannel = true;
    import(*s);
    EXPECT_EQ(uploadedVertices(*importer.meshes[0])[0].texCoord1.v, 0.75f);
}

TEST_F(ModelImporterTest, TheLoadTransformReachesTheEditableFormNotTheBuffers) {
    auto s = modelfile::scene({modelfile::triangle()}, modelfile::node("n", {0}));
    Matrix m = Matrix::identity();
    m(3, 0) = 5.0f;
    import(*s, m);
    Mesh& mesh = *importer.meshes[0];
    EXPECT_EQ(mesh.geometry->state(), kelvo::GeometryState::EditableChanged);
    EXPECT_EQ(mesh.geometry->boundingBox()[0], 5.0f);
    EXPECT_EQ(uploadedVertices(mesh)[1].position.x, 1.0f);
}

TEST_F(ModelImporterTest, NodeTreeBecomesOneFlatGroup) {
    // root (no meshes, translated) -> a (mesh 0) -> inner (group, own transform)
    //                              -> b (mesh 1)
    auto s = modelfile::scene(
        {modelfile::triangle(1), modelfile::triangle(0)},
        modelfile::node(
            "root", {},
            {modelfile::node("a", {0}, {modelfile::node("inner", {}, {}, {0, 7, 0})}, {1, 0, 0}),
             modelfile::node("b", {1})},
            {0, 0, 3}),
        {modelfile::material(), modelfile::material()});
    INode* root = import(*s);

    ASSERT_NE(dynamic_cast<DummyNode*>(root), nullptr);
    EXPECT_EQ(root->name, "root");
    EXPECT_EQ(root->localTransform(3, 2), 3.0f) << "transposed: translation in the fourth row";
    ASSERT_EQ(root->children.size(), 3u);
    MeshInstance& a = instanceAt(root, 0);
    EXPECT_EQ(a.name, "a");
    EXPECT_EQ(a.localTransform(3, 0), 1.0f);
    ASSERT_EQ(a.children.size(), 1u) << "the inner group does not hang below the instance";
    EXPECT_EQ(a.children[0], importer.meshes[0]);
    EXPECT_EQ(importer.meshes[0]->name, "aMesh");
    EXPECT_EQ(root->children[1]->name, "inner");
    EXPECT_TRUE(root->children[1]->children.empty());
    EXPECT_EQ(instanceAt(root, 2).children[0]->name, "bMesh");
    EXPECT_EQ(importer.meshMaterials, (std::vector<unsigned>{1, 0}));
}

TEST_F(ModelImporterTest, RootListingMeshesGetsAnUnnamedGroup) {
    auto s = modelfile::scene({modelfile::triangle(), modelfile::triangle()},
                              modelfile::node("top", {0, 1}, {}, {0, 2, 0}));
    INode* root = import(*s);
    ASSERT_NE(dynamic_cast<DummyNode*>(root), nullptr);
    EXPECT_EQ(root->name, "");
    EXPECT_EQ(root->localTransform, Matrix::identity());
    ASSERT_EQ(root->children.size(), 2u);
    EXPECT_EQ(instanceAt(root, 1).name, "top");
    EXPECT_EQ(instanceAt(root, 1).localTransform(3, 1), 2.0f);
}

TEST_F(ModelImporterTest, MalformedModelsAreMendedWithoutReadingOutOfBounds) {
    // Mesh 0: a line, a triangle naming vertex 9 of 4, one good quad-like face (first three
    // indices used); material index 5 of 1. Node names mesh 3 of 2 and both real meshes.
    aiMesh* broken = modelfile::mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}},
                                     {{{0, 1}}, {{0, 9, 2}}, {{3, 2, 1, 0}}}, 5);
    aiMesh* empty = modelfile::mesh({}, {});
    auto s = modelfile::scene({broken, empty}, modelfile::node("n", {3, 0, 1}));
    INode* root = import(*s);

    EXPECT_EQ(uploadedIndices(*importer.meshes[0]), (std::vector<std::uint32_t>{2, 3, 1}));
    ASSERT_EQ(root->children.size(), 1u) << "unknown and empty meshes are not instanced";
    EXPECT_EQ(instanceAt(root, 0).material.diffuse.x, 0.7f);
    EXPECT_EQ(assertions.count(), 0u);
    EXPECT_EQ(messages.count(), 0u);
}

TEST_F(ModelImporterTest, UnreadableFilesAreReportedAndGiveAnEmptyGroup) {
    const std::string garbage = "3DS? no: just some bytes that no format recognises\x01\x02";
    INode* fromMemory =
        importer.loadFromMemory(garbage.data(), garbage.size(), "3ds", Matrix::identity());
    ASSERT_NE(fromMemory, nullptr);
    EXPECT_TRUE(fromMemory->children.empty());
    EXPECT_TRUE(importer.meshes.empty());

    INode* missing = importer.loadFile("data\\no_such_model.3ds", Matrix::identity());
    ASSERT_NE(missing, nullptr);
    EXPECT_TRUE(missing->children.empty());
    ASSERT_EQ(messages.count(), 2u);
    EXPECT_NE(messages.records()[1].text.find("no_such_model"), std::string::npos);
}

TEST_F(ModelImporterTest, MaterialsTakeFileColoursAndTextures) {
    const WorkingFolder folder;
    const std::string texture = folder.tag() + "_tex.png";
    folder.write("data/" + texture, "not decodable, still a file");
    aiMaterial* coloured = modelfile::material();
    const aiColor3D ambient(0.25f, 0.5f, 0.75f);
    coloured->AddProperty(&ambient, 1, AI_MATKEY_COLOR_AMBIENT);
    const aiString path(texture);
    coloured->AddProperty(&path, AI_MATKEY_TEXTURE_DIFFUSE(0));
    auto s = modelfile::scene({modelfile::triangle()}, modelfile::node("n", {0}),
                              {coloured, modelfile::material()});
    importer.duplicateFirstChannel = true;
    import(*s);

    ASSERT_EQ(importer.materials.size(), 2u);
    const kelvo::SurfaceMaterial& first = importer.materials[0];
    EXPECT_EQ(first.ambient.z, 0.75f);
    EXPECT_EQ(first.ambient.w, 1.0f) << "a three-component colour gets alpha 1";
    EXPECT_EQ(first.diffuse.x, 0.7f) << "no diffuse colour in the file keeps the default";
    ASSERT_NE(first.diffuseMap, nullptr);
    EXPECT_EQ(first.normalMap, first.diffuseMap);
    EXPECT_EQ(importer.materials[1].diffuseMap, nullptr);
    EXPECT_NE(kelvo::findDataFile(texture), nullptr);
    EXPECT_EQ(messages.count(), 0u);
}

TEST_F(ModelImporterTest, TextureNamesReachingOutsideTheDataFolderCountAsMissing) {
    const WorkingFolder folder;
    const std::string tag = folder.tag();
    // Where the program's folder lookups would find each name.
    folder.write("data/" + tag + "_plain.tga", pixelTga());
    folder.write("data/" + tag + "_folder.tga", pixelTga());
    folder.write("data/textures/" + tag + ".tga", pixelTga());
    folder.write("../" + tag + "_up.tga", pixelTga());
    folder.write(tag + "_up.tga", pixelTga());
    folder.write("data/C:/" + tag + ".tga", pixelTga());
    const std::vector<std::string> inside = {tag + "_plain.tga", "data\\" + tag + "_folder.tga",
                                             "textures/" + tag + ".tga"};
    const std::vector<std::string> outside = {
        "../" + tag + "_up.tga", "..\\" + tag + "_up.tga", "data/../../" + tag + "_up.tga",
        folder.absolute(tag + "_up.tga"), "C:\\" + tag + ".tga"};
    const std::string missing = tag + "_missing.tga";
    std::vector<aiMaterial*> materials;
    for (const auto* names : {&inside, &outside}) {
        for (const std::string& name : *names) {
            materials.push_back(texturedMaterial(name));
        }
    }
    materials.push_back(texturedMaterial(missing));
    auto s = modelfile::scene({modelfile::triangle()}, modelfile::node("n", {0}), materials);
    INode* root = import(*s);

    ASSERT_EQ(importer.materials.size(), inside.size() + outside.size() + 1);
    std::size_t m = 0;
    for (const std::string& name : inside) {
        kelvo::Texture* texture = importer.materials[m++].diffuseMap;
        ASSERT_NE(texture, nullptr) << name;
        EXPECT_NE(texture->getTexture(), nullptr) << name;
    }
    // Each reaching name ends as the missing one does: reported, nothing read, no image.
    for (std::size_t i = 0; i <= outside.size(); ++i) {
        const std::string& name = i < outside.size() ? outside[i] : missing;
        kelvo::Texture* texture = importer.materials[m++].diffuseMap;
        ASSERT_NE(texture, nullptr) << name;
        EXPECT_EQ(texture->getTexture(), nullptr) << name;
        EXPECT_FALSE(texture->data().loaded) << name;
        EXPECT_EQ(kelvo::findDataFile(name), nullptr) << name;
    }
    EXPECT_EQ(messages.records(), std::vector<os::MessageBoxRecord>(
                                      outside.size() + 1, {"error", "Couldn't open file!"}));
    EXPECT_EQ(device->countCalls("UpdateTexture"), inside.size()) << "textures filled";
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->children.size(), 1u) << "the model is imported all the same";
    os::clearQuitRequest();
}
