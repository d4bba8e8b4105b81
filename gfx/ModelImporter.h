// Turns a model file read by Assimp (no post-processing) into engine objects: one Mesh with
// filled GPU buffers per model mesh, one SurfaceMaterial per model material, and a flat graph
// of DummyNode and MeshInstance nodes for the model's node tree.
//
// Conversion rules: triangles (a, b, c) are uploaded as (b, a, c), which reverses the winding;
// texture coordinate set 0 is flipped to (u, 1 - v), set 1 is used as it is; vertex colours
// are packed red-high, alpha-low; flipNormals negates the file's normals. The graph is flat:
// the model root becomes the root group, and every other model node hangs directly below it
// as a group without children or as mesh instances (transforms of intermediate model nodes do
// not reach their descendants).
//
// The importer owns every object it makes, for its whole life; a later load keeps the earlier
// objects alive. Malformed input is mended rather than trusted: faces with fewer than three
// indices or naming a vertex beyond the mesh are dropped, a node naming a mesh the model lacks
// skips that index, a mesh naming a material the model lacks gets the default material. A file
// that cannot be read is reported and yields an empty root group.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gfx/DummyNode.h"
#include "gfx/Matrix.h"
#include "gfx/Mesh.h"
#include "gfx/SurfaceMaterial.h"

struct aiScene;
struct aiNode;
struct aiMesh;
struct aiMaterial;

namespace kelvo {

class ModelImporter {
public:
    // The production's model, named the way the data files are.
    static constexpr const char* kModelFile = "data\\mekki_rampa.3ds";

    ModelImporter();
    ~ModelImporter();
    ModelImporter(const ModelImporter&) = delete;
    ModelImporter& operator=(const ModelImporter&) = delete;

    // Imports kModelFile; each mesh's geometry is transformed by m. Returns the root group.
    INode* load(const Matrix& m);
    // Imports the named file (a backslash reads as the path separator).
    INode* loadFile(const std::string& fileName, const Matrix& m);
    // Imports a model held in memory; formatHint is the file extension Assimp should assume.
    INode* loadFromMemory(const void* bytes, std::size_t size, const char* formatHint,
                          const Matrix& m);

    bool useFixedColour = false;
    std::uint32_t fixedColour = 0;
    std::vector<Mesh*> meshes;
    const aiScene* scene = nullptr;
    std::vector<SurfaceMaterial> materials;
    std::vector<unsigned> meshMaterials;
    INode* root = nullptr;
    bool flipNormals = true;
    bool duplicateFirstChannel = false;

private:
    INode* convert(const aiScene* imported, const std::string& sourceName, const Matrix& m);
    void reportUnreadable(const std::string& sourceName);
    void importMesh(const aiMesh& source, const std::string& sourceName, const Matrix& m);
    void importMaterial(const aiMaterial& source);
    void build(const aiNode& top);
    INode* buildNode(INode* parent, const aiNode& node);
    void instantiate(INode* parent, const aiNode& node, unsigned meshIndex);
    template <typename Node>
    Node* make();

    std::vector<std::unique_ptr<INode>> ownedNodes_;
    std::vector<const aiScene*> ownedScenes_;
};

}  // namespace kelvo
