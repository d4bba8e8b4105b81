// Writes the production's model, data/mekki_rampa.3ds, and its texture, data/rampa_tx.png: a
// ramp of five boxes rising along x, about 80 x 40 x 24 units around the origin (the show
// draws the model at scale 0.005). Boxes alternate between a textured stone material and an
// untextured metal one. Deterministic: the same bytes on every run.
//
// Usage: make_mekki_rampa [output directory, default "data"]
#include <assimp/material.h>
#include <assimp/scene.h>
#include <assimp/Exporter.hpp>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kBoxCount = 5;
constexpr float kBoxWidth = 16.0f;
constexpr float kStepHeight = 8.0f;
constexpr float kDepth = 24.0f;
constexpr const char* kTextureName = "rampa_tx.png";
constexpr int kTextureSize = 64;

struct Box {
    aiVector3D min;
    aiVector3D max;
};

// One face of a box: four corners, counter-clockwise seen from outside, and the outward normal.
struct BoxFace {
    std::array<aiVector3D, 4> corners;
    aiVector3D normal;
};

std::array<BoxFace, 6> boxFaces(const Box& b) {
    const aiVector3D& l = b.min;
    const aiVector3D& h = b.max;
    return {{
        {{{{l.x, l.y, l.z}, {l.x, h.y, l.z}, {h.x, h.y, l.z}, {h.x, l.y, l.z}}}, {0, 0, -1}},
        {{{{h.x, l.y, h.z}, {h.x, h.y, h.z}, {l.x, h.y, h.z}, {l.x, l.y, h.z}}}, {0, 0, 1}},
        {{{{l.x, l.y, h.z}, {l.x, h.y, h.z}, {l.x, h.y, l.z}, {l.x, l.y, l.z}}}, {-1, 0, 0}},
        {{{{h.x, l.y, l.z}, {h.x, h.y, l.z}, {h.x, h.y, h.z}, {h.x, l.y, h.z}}}, {1, 0, 0}},
        {{{{l.x, h.y, l.z}, {l.x, h.y, h.z}, {h.x, h.y, h.z}, {h.x, h.y, l.z}}}, {0, 1, 0}},
        {{{{l.x, l.y, h.z}, {l.x, l.y, l.z}, {h.x, l.y, l.z}, {h.x, l.y, h.z}}}, {0, -1, 0}},
    }};
}

aiMesh* boxMesh(const Box& box, unsigned materialIndex) {
    auto* mesh = new aiMesh();
    mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    mesh->mMaterialIndex = materialIndex;
    mesh->mNumVertices = 24;
    mesh->mVertices = new aiVector3D[24];
    mesh->mNormals = new aiVector3D[24];
    mesh->mTextureCoords[0] = new aiVector3D[24];
    mesh->mNumUVComponents[0] = 2;
    mesh->mNumFaces = 12;
    mesh->mFaces = new aiFace[12];
    const std::array<aiVector3D, 4> uv{{{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}}};
    unsigned v = 0;
    unsigned f = 0;
    for (const BoxFace& face : boxFaces(box)) {
        for (unsigned c = 0; c < 4; ++c) {
            mesh->mVertices[v + c] = face.corners[c];
            mesh->mNormals[v + c] = -face.normal;
            mesh->mTextureCoords[0][v + c] = uv[c];
        }
        // The engine's importer swaps the first two indices of every triangle and negates the
        // file's normals, so the file holds the mirror image: clockwise triangles seen from
        // outside with normals pointing in.
        for (const std::array<unsigned, 3>& t : {std::array<unsigned, 3>{0, 2, 1}, {0, 3, 2}}) {
            aiFace& triangle = mesh->mFaces[f++];
            triangle.mNumIndices = 3;
            triangle.mIndices = new unsigned[3]{v + t[0], v + t[1], v + t[2]};
        }
        v += 4;
    }
    return mesh;
}

aiMaterial* material(const char* name, aiColor3D ambient, aiColor3D diffuse, aiColor3D specular,
                     const char* texture) {
    auto* m = new aiMaterial();
    const aiString materialName(name);
    m->AddProperty(&materialName, AI_MATKEY_NAME);
    m->AddProperty(&ambient, 1, AI_MATKEY_COLOR_AMBIENT);
    m->AddProperty(&diffuse, 1, AI_MATKEY_COLOR_DIFFUSE);
    m->AddProperty(&specular, 1, AI_MATKEY_COLOR_SPECULAR);
    if (texture != nullptr) {
        const aiString path(texture);
        m->AddProperty(&path, AI_MATKEY_TEXTURE_DIFFUSE(0));
    }
    return m;
}

aiScene* rampScene() {
    auto* scene = new aiScene();
    scene->mNumMaterials = 2;
    scene->mMaterials = new aiMaterial* [2] {
        material("stone", {0.2f, 0.18f, 0.15f}, {0.8f, 0.75f, 0.65f}, {0.3f, 0.3f, 0.3f},
                 kTextureName),
            material("metal", {0.05f, 0.08f, 0.12f}, {0.3f, 0.45f, 0.7f}, {1.0f, 1.0f, 1.0f},
                     nullptr)
    };
    scene->mNumMeshes = kBoxCount;
    scene->mMeshes = new aiMesh*[kBoxCount];
    scene->mRootNode = new aiNode("rampa");
    scene->mRootNode->mNumChildren = kBoxCount;
    scene->mRootNode->mChildren = new aiNode*[kBoxCount];
    const float left = -0.5f * kBoxWidth * kBoxCount;
    for (unsigned i = 0; i < kBoxCount; ++i) {
        const float x0 = left + kBoxWidth * static_cast<float>(i);
        const Box box{
            {x0, -20.0f, -0.5f * kDepth},
            {x0 + kBoxWidth, -20.0f + kStepHeight * static_cast<float>(i + 1), 0.5f * kDepth}};
        scene->mMeshes[i] = boxMesh(box, i % 2);
        auto* node = new aiNode("step" + std::to_string(i));
        node->mParent = scene->mRootNode;
        node->mNumMeshes = 1;
        node->mMeshes = new unsigned[1]{i};
        scene->mRootNode->mChildren[i] = node;
    }
    return scene;
}

// Warm sandstone with darker bands, so that the texture's orientation shows on screen.
bool writeTexture(const std::string& path) {
    std::vector<unsigned char> pixels(kTextureSize * kTextureSize * 3);
    for (int y = 0; y < kTextureSize; ++y) {
        for (int x = 0; x < kTextureSize; ++x) {
            const bool band = (y / 8) % 2 == 0;
            const bool seam = x % 16 == 0;
            unsigned char* p = &pixels[static_cast<std::size_t>((y * kTextureSize + x) * 3)];
            const int shade = seam ? 90 : (band ? 200 : 160);
            p[0] = static_cast<unsigned char>(shade);
            p[1] = static_cast<unsigned char>(shade * 9 / 10);
            p[2] = static_cast<unsigned char>(shade * 7 / 10);
        }
    }
    return stbi_write_png(path.c_str(), kTextureSize, kTextureSize, 3, pixels.data(),
                          kTextureSize * 3) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string directory = argc > 1 ? argv[1] : "data";
    const std::string modelPath = directory + "/mekki_rampa.3ds";
    const std::string texturePath = directory + "/" + kTextureName;

    aiScene* scene = rampScene();
    Assimp::Exporter exporter;
    const aiReturn exported = exporter.Export(scene, "3ds", modelPath);
    delete scene;
    if (exported != aiReturn_SUCCESS) {
        std::fprintf(stderr, "make_mekki_rampa: %s: %s\n", modelPath.c_str(),
                     exporter.GetErrorString());
        return 1;
    }
    if (!writeTexture(texturePath)) {
        std::fprintf(stderr, "make_mekki_rampa: cannot write %s\n", texturePath.c_str());
        return 1;
    }
    std::printf("wrote %s and %s\n", modelPath.c_str(), texturePath.c_str());
    return 0;
}
