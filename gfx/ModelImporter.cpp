#include "gfx/ModelImporter.h"

#include <assimp/cimport.h>
#include <assimp/material.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "gfx/DataFileCache.h"
#include "gfx/GraphicsContext.h"
#include "gfx/MeshGeometry.h"
#include "gfx/MeshInstance.h"
#include "gfx/Vertex.h"
#include "platform/os/MessageBox.h"

namespace kelvo {

namespace {

constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFFu;

// The integer part of c x 255; values outside 0..1 (and NaN) are clamped first so that no
// channel spills into its neighbour.
std::uint32_t packChannel(float c) {
    const float clamped = std::isnan(c) ? 0.0f : std::clamp(c, 0.0f, 1.0f);
    return static_cast<std::uint32_t>(clamped * 255.0f);
}

std::uint32_t packColour(const aiColor4D& c) {
    return packChannel(c.r) << 24 | packChannel(c.g) << 16 | packChannel(c.b) << 8 |
           packChannel(c.a);
}

// Assimp stores matrices for column vectors, the engine for row vectors.
Matrix transposed(const aiMatrix4x4& t) {
    return Matrix(t.a1, t.b1, t.c1, t.d1, t.a2, t.b2, t.c2, t.d2, t.a3, t.b3, t.c3, t.d3, t.a4,
                  t.b4, t.c4, t.d4);
}

std::string nodeName(const aiNode& node) {
    return std::string(node.mName.data, node.mName.length);
}

std::string diskName(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

void setTexCoords(Vertex& vertex, const aiMesh& mesh, unsigned v, bool duplicateFirstChannel) {
    const aiVector3D* set0 = mesh.mTextureCoords[0];
    const aiVector3D* set1 = mesh.mTextureCoords[1];
    if (set0 != nullptr) {
        const float u = set0[v].x;
        const float flippedV = 1.0f - set0[v].y;
        vertex.setTexCoord0(u, flippedV);
        if (set1 == nullptr || duplicateFirstChannel) {
            vertex.setTexCoord1(u, flippedV);
        }
    }
    if (set1 != nullptr && !duplicateFirstChannel) {
        vertex.setTexCoord1(set1[v].x, set1[v].y);
        if (set0 == nullptr) {
            vertex.setTexCoord0(set1[v].x, set1[v].y);
        }
    }
}

// Triangles only, each as (b, a, c); shorter faces and faces naming a missing vertex are
// dropped, extra indices of longer faces ignored.
std::vector<std::uint32_t> triangleIndices(const aiMesh& mesh) {
    std::vector<std::uint32_t> indices;
    indices.reserve(static_cast<std::size_t>(mesh.mNumFaces) * 3);
    for (unsigned f = 0; mesh.mFaces != nullptr && f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices < 3 || face.mIndices == nullptr) {
            continue;
        }
        const unsigned* i = face.mIndices;
        if (i[0] >= mesh.mNumVertices || i[1] >= mesh.mNumVertices || i[2] >= mesh.mNumVertices) {
            continue;
        }
        indices.insert(indices.end(), {i[1], i[0], i[2]});
    }
    return indices;
}

void readColour(const aiMaterial& material, const char* key, D3DXVECTOR4& out) {
    aiColor4D c;
    if (aiGetMaterialColor(&material, key, 0, 0, &c) == aiReturn_SUCCESS) {
        out = {c.r, c.g, c.b, c.a};
    }
}

Texture* readTexture(const aiMaterial& material, aiTextureType type) {
    aiString path;
    aiTextureMapping mapping = aiTextureMapping_UV;
    if (aiGetMaterialTexture(&material, type, 0, &path, &mapping) != aiReturn_SUCCESS ||
        path.length == 0) {
        return nullptr;
    }
    // The name comes from the file: one reaching outside the data folder is treated as missing.
    const std::string name(path.data, path.length);
    preloadContainedDataFile(name);
    return GraphicsContext::instance().loadTexture(name);
}

}  // namespace

ModelImporter::ModelImporter() = default;

ModelImporter::~ModelImporter() {
    // Detach everything first, so no node's destruction walks a node already destroyed.
    for (auto& node : ownedNodes_) {
        removeAllChildren(node.get());
    }
    ownedNodes_.clear();
    for (const aiScene* imported : ownedScenes_) {
        aiReleaseImport(imported);
    }
}

INode* ModelImporter::load(const Matrix& m) {
    return loadFile(kModelFile, m);
}

INode* ModelImporter::loadFile(const std::string& fileName, const Matrix& m) {
    return convert(aiImportFile(diskName(fileName).c_str(), 0), fileName, m);
}

INode* ModelImporter::loadFromMemory(const void* bytes, std::size_t size, const char* formatHint,
                                     const Matrix& m) {
    const aiScene* imported = nullptr;
    if (bytes != nullptr && size > 0 && size <= 0xFFFFFFFFu) {
        imported = aiImportFileFromMemory(static_cast<const char*>(bytes),
                                          static_cast<unsigned>(size), 0, formatHint);
    }
    return convert(imported, "<memory>", m);
}

template <typename Node>
Node* ModelImporter::make() {
    auto node = std::make_unique<Node>();
    Node* raw = node.get();
    ownedNodes_.push_back(std::move(node));
    return raw;
}

INode* ModelImporter::convert(const aiScene* imported, const std::string& sourceName,
                              const Matrix& m) {
    meshes.clear();
    materials.clear();
    meshMaterials.clear();
    root = nullptr;
    if (imported != nullptr) {
        ownedScenes_.push_back(imported);
        scene = imported;
    }
    if (imported == nullptr || imported->mRootNode == nullptr) {
        reportUnreadable(sourceName);
        root = make<DummyNode>();
        return root;
    }
    for (unsigned i = 0; imported->mMeshes != nullptr && i < imported->mNumMeshes; ++i) {
        if (imported->mMeshes[i] != nullptr) {
            importMesh(*imported->mMeshes[i], sourceName, m);
        }
    }
    for (unsigned i = 0; imported->mMaterials != nullptr && i < imported->mNumMaterials; ++i) {
        if (imported->mMaterials[i] != nullptr) {
            importMaterial(*imported->mMaterials[i]);
        } else {
            materials.emplace_back();
        }
    }
    build(*imported->mRootNode);
    return root;
}

void ModelImporter::reportUnreadable(const std::string& sourceName) {
    os::showMessageBox("Couldn't read model " + sourceName + ": " + aiGetErrorString(), "error");
}

void ModelImporter::importMesh(const aiMesh& source, const std::string& sourceName,
                               const Matrix& m) {
    std::vector<Vertex> vertices(source.mVertices != nullptr ? source.mNumVertices : 0);
    for (unsigned v = 0; v < vertices.size(); ++v) {
        Vertex& vertex = vertices[v];
        vertex.setPosition(source.mVertices[v].x, source.mVertices[v].y, source.mVertices[v].z);
        std::uint32_t colour = kOpaqueWhite;
        if (useFixedColour) {
            colour = fixedColour;
        } else if (source.mColors[0] != nullptr) {
            colour = packColour(source.mColors[0][v]);
        }
        vertex.setColour(colour);
        if (source.mNormals != nullptr) {
            const aiVector3D& n = source.mNormals[v];
            const float sign = flipNormals ? -1.0f : 1.0f;
            vertex.setNormal(sign * n.x, sign * n.y, sign * n.z);
        }
        setTexCoords(vertex, source, v, duplicateFirstChannel);
    }
    const std::vector<std::uint32_t> indices =
        vertices.empty() ? std::vector<std::uint32_t>{} : triangleIndices(source);

    Mesh* mesh = make<Mesh>();
    mesh->geometry = std::make_unique<MeshGeometry>(GraphicsContext::instance().device,
                                                    static_cast<int>(source.mNumFaces),
                                                    static_cast<int>(vertices.size()));
    mesh->geometry->setHasFileNormals(source.mNormals != nullptr);
    // A mesh without vertices keeps an empty geometry; build() never instantiates it.
    if (!vertices.empty()) {
        mesh->geometry->upload(vertices, &indices);
        mesh->geometry->transform(m);
    }
    mesh->name = sourceName;
    meshes.push_back(mesh);
    meshMaterials.push_back(source.mMaterialIndex);
}

void ModelImporter::importMaterial(const aiMaterial& source) {
    SurfaceMaterial material;
    readColour(source, "$clr.ambient", material.ambient);
    readColour(source, "$clr.diffuse", material.diffuse);
    readColour(source, "$clr.specular", material.specular);
    if (Texture* diffuse = readTexture(source, aiTextureType_DIFFUSE)) {
        material.diffuseMap = diffuse;
        if (duplicateFirstChannel) {
            material.normalMap = diffuse;
        }
    }
    if (Texture* normals = readTexture(source, aiTextureType_NORMALS)) {
        material.normalMap = normals;
    }
    materials.push_back(material);
}

// Depth first, a node before its children, with an explicit stack so that a deeply nested
// file cannot exhaust the call stack. Each entry carries the parent its node attaches to.
void ModelImporter::build(const aiNode& top) {
    std::vector<std::pair<INode*, const aiNode*>> pending{{nullptr, &top}};
    while (!pending.empty()) {
        auto [parent, node] = pending.back();
        pending.pop_back();
        INode* childParent = buildNode(parent, *node);
        for (unsigned c = node->mNumChildren; c > 0 && node->mChildren != nullptr; --c) {
            if (node->mChildren[c - 1] != nullptr) {
                pending.emplace_back(childParent, node->mChildren[c - 1]);
            }
        }
    }
    if (root == nullptr) {
        root = make<DummyNode>();
    }
}

// Returns the parent for the node's children: the given one, or the group this parentless
// call created.
INode* ModelImporter::buildNode(INode* parent, const aiNode& node) {
    if (node.mNumMeshes == 0 || node.mMeshes == nullptr) {
        DummyNode* group = make<DummyNode>();
        group->name = nodeName(node);
        group->localTransform = transposed(node.mTransformation);
        if (parent != nullptr) {
            addChild(parent, group);
            return parent;
        }
        root = group;
        return group;
    }
    // A parentless mesh node gets a new group even when none of its mesh indices is usable,
    // so that its children still share one parent.
    if (parent == nullptr) {
        parent = make<DummyNode>();
        if (root == nullptr) {
            root = parent;
        }
    }
    for (unsigned i = 0; i < node.mNumMeshes; ++i) {
        instantiate(parent, node, node.mMeshes[i]);
    }
    return parent;
}

void ModelImporter::instantiate(INode* parent, const aiNode& node, unsigned meshIndex) {
    if (meshIndex >= meshes.size() ||
        meshes[meshIndex]->geometry->state() == GeometryState::Empty) {
        return;
    }
    Mesh* mesh = meshes[meshIndex];
    MeshInstance* instance = make<MeshInstance>();
    addChild(instance, mesh);
    mesh->name = nodeName(node) + "Mesh";
    instance->name = nodeName(node);
    instance->localTransform = transposed(node.mTransformation);
    const unsigned materialIndex = meshMaterials[meshIndex];
    if (materialIndex < materials.size()) {
        instance->material = materials[materialIndex];
    }
    addChild(parent, instance);
}

}  // namespace kelvo
