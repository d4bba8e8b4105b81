// Small model files for the importer tests: scenes assembled with Assimp's own types and
// written by its exporter, so the importer reads them as it reads any model file.
#pragma once

#include <assimp/material.h>
#include <assimp/scene.h>
#include <assimp/Exporter.hpp>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace modelfile {

struct Face {
    std::vector<unsigned> indices;
};

inline aiMesh* mesh(const std::vector<aiVector3D>& positions, const std::vector<Face>& faces,
                    unsigned materialIndex = 0) {
    auto* m = new aiMesh();
    m->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    m->mMaterialIndex = materialIndex;
    m->mNumVertices = static_cast<unsigned>(positions.size());
    m->mVertices = new aiVector3D[positions.size()];
    for (std::size_t i = 0; i < positions.size(); ++i) {
        m->mVertices[i] = positions[i];
    }
    m->mNumFaces = static_cast<unsigned>(faces.size());
    m->mFaces = new aiFace[faces.size()];
    for (std::size_t f = 0; f < faces.size(); ++f) {
        m->mFaces[f].mNumIndices = static_cast<unsigned>(faces[f].indices.size());
        m->mFaces[f].mIndices = new unsigned[faces[f].indices.size()];
        for (std::size_t i = 0; i < faces[f].indices.size(); ++i) {
            m->mFaces[f].mIndices[i] = faces[f].indices[i];
        }
    }
    return m;
}

inline aiMesh* triangle(unsigned materialIndex = 0) {
    return mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{{0, 1, 2}}}, materialIndex);
}

inline aiNode* node(const std::string& name, std::initializer_list<unsigned> meshes,
                    std::initializer_list<aiNode*> children = {},
                    aiVector3D translation = {0, 0, 0}) {
    auto* n = new aiNode(name);
    n->mTransformation.a4 = translation.x;
    n->mTransformation.b4 = translation.y;
    n->mTransformation.c4 = translation.z;
    n->mNumMeshes = static_cast<unsigned>(meshes.size());
    n->mMeshes = new unsigned[meshes.size()];
    std::copy(meshes.begin(), meshes.end(), n->mMeshes);
    n->addChildren(static_cast<unsigned>(children.size()), const_cast<aiNode**>(children.begin()));
    return n;
}

inline aiMaterial* material() {
    auto* m = new aiMaterial();
    const aiString name("m");
    m->AddProperty(&name, AI_MATKEY_NAME);
    return m;
}

// Takes ownership of the meshes, materials and root.
inline std::unique_ptr<aiScene> scene(std::vector<aiMesh*> meshes, aiNode* root,
                                      std::vector<aiMaterial*> materials = {material()}) {
    auto s = std::make_unique<aiScene>();
    s->mNumMeshes = static_cast<unsigned>(meshes.size());
    s->mMeshes = new aiMesh*[meshes.size()];
    std::copy(meshes.begin(), meshes.end(), s->mMeshes);
    s->mNumMaterials = static_cast<unsigned>(materials.size());
    s->mMaterials = new aiMaterial*[materials.size()];
    std::copy(materials.begin(), materials.end(), s->mMaterials);
    s->mRootNode = root;
    return s;
}

// The scene in Assimp's binary dump format, which keeps every field as it is.
inline std::string bytes(const aiScene& s) {
    Assimp::Exporter exporter;
    const aiExportDataBlob* blob = exporter.ExportToBlob(&s, "assbin");
    if (blob == nullptr) {
        return {};
    }
    return std::string(static_cast<const char*>(blob->data), blob->size);
}

}  // namespace modelfile
