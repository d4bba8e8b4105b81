#include "gfx/MaterialBinding.h"

#include <algorithm>
#include <string>

#include "gfx/DataFileCache.h"
#include "gfx/GraphicsContext.h"
#include "gfx/MeshInstance.h"
#include "gfx/NodePointlight.h"
#include "gfx/RenderTarget.h"
#include "gfx/Scene.h"
#include "gfx/ShaderContext.h"
#include "gfx/StandardParameters.h"
#include "gfx/Texture.h"

namespace kelvo {

namespace {

constexpr const char* kDefaultEffect = "SolidObject.fxo";
constexpr D3DXVECTOR4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};

D3DXVECTOR4 modulate(const D3DXVECTOR4& a, const D3DXVECTOR4& b) {
    return {a.x * b.x, a.y * b.y, a.z * b.z, a.w * b.w};
}

D3DXVECTOR4 scaled(const D3DXVECTOR4& colour, float intensity) {
    return {colour.x * intensity, colour.y * intensity, colour.z * intensity, colour.w * intensity};
}

IDirect3DBaseTexture9* textureOf(Texture* texture) {
    return texture != nullptr ? texture->getTexture() : nullptr;
}

std::string techniqueFor(const SurfaceMaterial& material) {
    if (!material.technique.empty()) {
        return material.technique;
    }
    std::string name = "SolidObject";
    name += material.cookTorrance ? "CookTorrance" : "BlinnPhong";
    if (material.parallaxMode == SurfaceMaterial::kParallaxTechnique) {
        name += "Parallax";
    }
    return name;
}

void bindSurface(TShader& shader, const SurfaceMaterial& material, const Scene* scene) {
    shader.setVector("material.ambient",
                     modulate(material.ambient, scene ? scene->ambientLightColour : kWhite));
    shader.setVector("material.diffuse",
                     modulate(material.diffuse, scene ? scene->diffuseLightColour : kWhite));
    shader.setVector("material.specular",
                     modulate(material.specular, scene ? scene->specularLightColour : kWhite));
    shader.setFloat("material.specularPower", material.specularPower);
    shader.setFloat("material.roughness", material.roughness);
    shader.setFloat("material.reflectance", material.reflectance);
    shader.setFloat("parallaxHeightScale", material.parallaxHeightScale);
    shader.setFloat("deltaTime", scene ? scene->graph->frameDelta : 0.0f);
    shader.setFloat("time", scene ? scene->graph->time : 0.0f);
    shader.setBool("enableDiffuseTexture", material.diffuseMap != nullptr);
    if (material.diffuseMap != nullptr) {
        shader.setTexture("tex", textureOf(material.diffuseMap));
    }
    shader.setBool("enableNormalmap", material.normalMap != nullptr);
    if (material.normalMap != nullptr) {
        shader.setTexture("normalmap", textureOf(material.normalMap));
    }
    shader.setFloat("material.bumpiness", material.bumpiness);
    shader.setTexture("depthmap", textureOf(material.depthMap));
}

void bindDirectionalLight(TShader& shader, const Scene* scene, bool applies) {
    if (applies) {
        shader.setFloat3("directionallight.dir", scene->directionalLightDirection);
        shader.setVector("directionallight.color",
                         scaled(scene->directionalLightColour, scene->directionalLightIntensity));
    }
    shader.setBool("enableDirectionallight", applies);
}

void bindAuxiliaryTargets(TShader& shader, IRenderable& renderable, const Scene* scene) {
    if (RenderTarget* velocity = renderable.getVelocityBuffer()) {
        shader.setFloat("velocityScale", scene ? scene->velocityScale : 1.0f);
        velocity->bind(1);
    }
    if (RenderTarget* normal = renderable.getNormalBuffer()) {
        normal->bind(3);
    }
    if (RenderTarget* depth = renderable.getDepthBuffer()) {
        depth->bind(2);
    }
}

// Positions relative to the instance: the light's world position brought into the instance's
// local space.
void bindPointLights(TShader& shader, const MeshInstance& instance, const Scene* scene) {
    if (!instance.material.lit || scene == nullptr) {
        shader.setInt("pointLightAmount", 0);
        return;
    }
    const auto& lights = scene->graph->frameLights;
    const int count = std::min(static_cast<int>(lights.size()), kMaxPointLights);
    shader.setInt("pointLightAmount", count);
    const Matrix toInstance = inverse(instance.localTransform);
    for (int i = 0; i < count; ++i) {
        const NodePointlight& light = *lights[static_cast<std::size_t>(i)].first;
        const Matrix& world = lights[static_cast<std::size_t>(i)].second;
        const Vec3 position = transformPoint({world(3, 0), world(3, 1), world(3, 2)}, toInstance);
        const std::string prefix = std::string("pointLight[") + static_cast<char>('0' + i) + "].";
        shader.setFloat3((prefix + "position").c_str(), position);
        shader.setVector((prefix + "color").c_str(), scaled(light.color, light.intensity));
        shader.setFloat((prefix + "attConst").c_str(), light.attConst);
        shader.setFloat((prefix + "attLin").c_str(), light.attLin);
        shader.setFloat((prefix + "attQuad").c_str(), light.attQuad);
    }
}

void setBlendAndDepthStates(int blendMode) {
    IDirect3DDevice9* device = GraphicsContext::instance().device;
    if (blendMode == SurfaceMaterial::kAdditive || blendMode == SurfaceMaterial::kAlphaBlend) {
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device->SetRenderState(D3DRS_DESTBLEND, blendMode == SurfaceMaterial::kAdditive
                                                    ? D3DBLEND_ONE
                                                    : D3DBLEND_INVSRCALPHA);
        device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    } else {
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    }
    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
}

}  // namespace

void bindMaterial(MeshInstance& instance, ShaderContext& context) {
    const SurfaceMaterial& material = instance.material;
    const Scene* scene = context.scene();
    const bool directionalApplies = material.directionalLit && scene != nullptr &&
                                    scene->directionalLightEnabled && material.lit;
    const std::string effectFile =
        material.effectFile.empty() ? kDefaultEffect : material.effectFile;
    preloadDataFile(effectFile);
    context.shader =
        std::make_unique<TShader>(techniqueFor(material), effectFile, context.renderable);
    TShader& shader = *context.shader;

    shader.setBool("enableParallax", material.parallaxMode != 0);
    bindStandardMatrices(context, instance);
    bindSurface(shader, material, scene);
    bindDirectionalLight(shader, scene, directionalApplies);
    if (context.renderable != nullptr) {
        bindAuxiliaryTargets(shader, *context.renderable, scene);
    }
    bindPointLights(shader, instance, scene);
    setBlendAndDepthStates(material.blendMode);
    shader.begin();
    shader.beginPass(0);
}

void finishMaterial(ShaderContext& context) {
    if (context.shader == nullptr) {
        return;
    }
    context.shader->endPass();
    context.shader->end();
    if (IRenderable* renderable = context.renderable) {
        if (RenderTarget* velocity = renderable->getVelocityBuffer()) {
            velocity->unbind();
        }
        if (RenderTarget* normal = renderable->getNormalBuffer()) {
            normal->unbind();
        }
        if (RenderTarget* depth = renderable->getDepthBuffer()) {
            depth->unbind();
        }
    }
    context.shader.reset();
}

}  // namespace kelvo
