#include "gfx/StandardParameters.h"

#include <string>
#include <vector>

#include "gfx/Bone.h"
#include "gfx/GraphicsContext.h"
#include "gfx/Mesh.h"
#include "gfx/MeshInstance.h"
#include "gfx/Scene.h"
#include "gfx/ShaderContext.h"
#include "gfx/TCamera.h"

namespace kelvo {

namespace {

constexpr const char* kSkinnedSuffix = "Skinned";
constexpr std::size_t kSkinnedLength = 7;

// Determinant of the upper-left 3x3 block: negative for a mirroring transform.
float windingDeterminant(const Matrix& m) {
    return m(0, 0) * (m(1, 1) * m(2, 2) - m(1, 2) * m(2, 1)) +
           m(0, 1) * (m(1, 2) * m(2, 0) - m(1, 0) * m(2, 2)) +
           m(0, 2) * (m(1, 0) * m(2, 1) - m(1, 1) * m(2, 0));
}

Matrix translation(const Vec3& t) {
    Matrix m = Matrix::identity();
    m(3, 0) = t.x;
    m(3, 1) = t.y;
    m(3, 2) = t.z;
    return m;
}

// Rows: a vector perpendicular to d, d, and their cross product, each normalised; a zero row
// (d with equal components) stays zero.
Matrix directionFrame(const Vec3& d) {
    const Vec3 n = normalize(Vec3{d.z - d.y, d.x - d.z, d.y - d.x});
    return basisFromRows(n, d, cross(n, d));
}

bool endsWithSkinned(const std::string& name) {
    return name.size() >= kSkinnedLength &&
           name.compare(name.size() - kSkinnedLength, kSkinnedLength, kSkinnedSuffix) == 0;
}

// The effect keeps its parameters; only the technique's passes start again.
void restartAtPassZero(TShader& shader) {
    shader.endPass();
    shader.end();
    shader.begin();
    shader.beginPass(0);
}

// current - previous of the scene's world-view tables for the object being drawn.
Matrix velocityTransform(SceneGraph& graph) {
    const std::uint32_t key = graph.currentKey;
    const Matrix current = graph.currentWorldView.entry(key);
    const Matrix previous = graph.previousWorldView.entry(key);
    return subtract(current, previous);
}

}  // namespace

void bindStandardMatrices(ShaderContext& context, const INode& node) {
    Scene* scene = context.scene();
    TShader* shader = context.shader.get();
    if (scene == nullptr || scene->graph == nullptr || scene->graph->camera == nullptr ||
        shader == nullptr) {
        return;
    }
    const TCamera& camera = *scene->graph->camera;
    Matrix viewProjection;
    Matrix view;
    Vec3 eye;
    camera.getViewProjection(viewProjection);
    camera.getView(view);
    camera.getEyePosition(eye);

    Matrix world = node.localTransform;
    if (!context.matrixStack.empty()) {
        world = world * context.matrixStack.back();
    }
    const Matrix worldViewProjection = world * viewProjection;
    const Matrix worldView = world * view;

    shader->setMatrix("worldViewProjection", worldViewProjection);
    shader->setMatrix("worldViewProjInv", inverse(worldViewProjection));
    shader->setMatrix("world", world);
    shader->setMatrix("viewProjection", viewProjection);
    shader->setMatrix("worldView", worldView);
    shader->setMatrix("worldViewInv", inverse(worldView));
    shader->setMatrix("worldInv", inverse(world));
    shader->setMatrix("view", view);
    shader->setMatrix("viewInv", inverse(view));
    shader->setFloat3("eyePos", eye);
    shader->setMatrix("velocityTransform", velocityTransform(*scene->graph));

    // A mirroring transform turns the triangles' winding over, so the other side is culled.
    const DWORD cull = windingDeterminant(worldViewProjection) >= 0.0f ? D3DCULL_CCW : D3DCULL_CW;
    GraphicsContext::instance().device->SetRenderState(D3DRS_CULLMODE, cull);
}

void bindSkinning(ShaderContext& context, const Mesh& mesh) {
    TShader* shader = context.shader.get();
    if (shader == nullptr) {
        return;
    }
    std::vector<Bone*> bones;
    collectBones(&mesh, bones);
    const std::string name = shader->techniqueName();
    if (bones.empty()) {
        if (endsWithSkinned(name)) {
            shader->setTechnique(name.substr(0, name.size() - kSkinnedLength));
            restartAtPassZero(*shader);
        }
        return;
    }
    const bool switchToSkinned = !endsWithSkinned(name);
    if (switchToSkinned) {
        shader->setTechnique(name + kSkinnedSuffix);
    }
    for (const Bone* bone : bones) {
        const std::string entry = "matrixPalette[" + std::to_string(bone->paletteIndex) + "]";
        shader->setMatrix(entry.c_str(), boneMatrix(*bone));
    }
    shader->commitChanges();
    if (switchToSkinned) {
        restartAtPassZero(*shader);
    }
}

void renderNode(MeshInstance& instance, const Matrix& parentTransform, INode& node) {
    ShaderContext& context = ShaderContext::instance();
    const Matrix world = node.localTransform * parentTransform;
    for (INode* child : node.children) {
        if (dynamic_cast<MeshInstance*>(child) == nullptr) {
            renderNode(instance, world, *child);
        }
    }
    context.matrixStack.push_back(parentTransform);
    auto* mesh = dynamic_cast<Mesh*>(&node);
    // A mesh node without geometry has nothing to draw.
    if (mesh != nullptr && mesh->geometry != nullptr) {
        const SurfaceMaterial& material = instance.material;
        if (material.lit) {
            mesh->geometry->ensureNormals();
        }
        if ((material.lit && material.normalMap != nullptr) || material.parallaxMode != 0) {
            mesh->geometry->ensureTangentFrames();
        }
        bindStandardMatrices(context, *mesh);
        if (context.shader != nullptr) {
            context.shader->commitChanges();
        }
        bindSkinning(context, *mesh);
        mesh->geometry->draw();
    }
    context.matrixStack.pop_back();
}

Matrix boneMatrix(const Bone& bone) {
    const Vec3& p0 = bone.restPosition;
    const Vec3& p1 = bone.currentPosition;
    // A degenerate rest frame has no inverse; inverse() then gives the identity.
    const Matrix rotation =
        inverse(directionFrame(bone.restDirection)) * directionFrame(bone.currentDirection);
    return translation(p0 * -1.0f) * rotation * translation(p0) * translation(p1 - p0);
}

}  // namespace kelvo
