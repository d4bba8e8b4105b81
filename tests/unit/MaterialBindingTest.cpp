#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "SceneBindingFixture.h"
#include "gfx/MaterialBinding.h"
#include "gfx/MeshInstance.h"
#include "gfx/NodePointlight.h"
#include "gfx/RenderTarget.h"
#include "platform/os/AssertionCapture.h"

using kelvo::Matrix;

namespace {

class MaterialBindingTest : public SceneBindingFixture {
protected:
    void TearDown() override {
        lights.clear();
        SceneBindingFixture::TearDown();
    }

    // Binds with the effect calls recorded from here on.
    void bind() {
        device->clearCalls();
        kelvo::bindMaterial(instance, context());
    }

    kelvo::NodePointlight& addLight(float x, float y, float z) {
        lights.push_back(std::make_unique<kelvo::NodePointlight>(
            x, y, z, 0.1f, 0.001f, 2.0f, D3DXVECTOR4{1.0f, 0.5f, 0.25f, 1.0f}));
        scene->graph->frameLights.emplace_back(lights.back().get(), lights.back()->localTransform);
        return *lights.back();
    }

    std::string technique() const { return context().shader->techniqueName(); }

    // Each setter and parameter name the binding used, once however often it was set.
    std::set<std::string> parametersSet() const {
        const std::vector<std::string> calls = setterCalls();
        return {calls.begin(), calls.end()};
    }

    // Values reach the program at BeginPass; a setter after it would miss this draw.
    bool everySetterPrecedesThePass() const {
        const std::vector<std::string> calls = device->calls();
        const auto startsWith = [](const char* prefix) {
            return [prefix](const std::string& call) { return call.starts_with(prefix); };
        };
        const auto pass = std::find_if(calls.begin(), calls.end(), startsWith("Effect.BeginPass"));
        return pass != calls.end() && std::none_of(pass, calls.end(), startsWith("Effect.Set"));
    }

    IDirect3DSurface9* surfaceOf(kelvo::RenderTarget* target) const {
        return target != nullptr ? target->surface() : nullptr;
    }

    kelvo::MeshInstance instance;
    std::vector<std::unique_ptr<kelvo::NodePointlight>> lights;
};

// The order of the setters is free: every value reaches the program together at BeginPass.
TEST_F(MaterialBindingTest, TheDefaultMaterialDrawsLitBlinnPhongWithoutReports) {
    scene->graph->time = 3.5f;
    scene->graph->frameDelta = 0.25f;
    os::AssertionCapture reports;
    bind();
    EXPECT_EQ(technique(), "SolidObjectBlinnPhong");
    EXPECT_EQ(context().shader->effect(),
              kelvo::EffectHandler::instance().getEffect(kSurfaceEffect));
    const std::set<std::string> expected{
        // frame parameters of the shader
        "SetFloat deltaTime", "SetFloat time", "SetTexture depthTex", "SetMatrix viewProjection",
        "SetMatrix projection", "SetMatrix projectionInv", "SetBool enableParallax",
        // standard matrices
        "SetMatrix worldViewProjection", "SetMatrix worldViewProjInv", "SetMatrix world",
        "SetMatrix worldView", "SetMatrix worldViewInv", "SetMatrix worldInv", "SetMatrix view",
        "SetMatrix viewInv", "SetFloatArray eyePos", "SetMatrix velocityTransform",
        // material
        "SetVector material.ambient", "SetVector material.diffuse", "SetVector material.specular",
        "SetFloat material.specularPower", "SetFloat material.roughness",
        "SetFloat material.reflectance", "SetFloat parallaxHeightScale",
        "SetBool enableDiffuseTexture", "SetBool enableNormalmap", "SetFloat material.bumpiness",
        "SetTexture depthmap",
        // lights
        "SetFloatArray directionallight.dir", "SetVector directionallight.color",
        "SetBool enableDirectionallight", "SetInt pointLightAmount"};
    EXPECT_EQ(parametersSet(), expected);
    EXPECT_TRUE(everySetterPrecedesThePass());
    EXPECT_TRUE(reports.records().empty());
    // Set by the frame parameters and again by the material: the scene's clock either way.
    EXPECT_EQ(floats("time", 1), (std::vector<float>{3.5f}));
    EXPECT_EQ(floats("deltaTime", 1), (std::vector<float>{0.25f}));
    EXPECT_FALSE(boolParameter("enableParallax"));
    EXPECT_FALSE(boolParameter("enableDiffuseTexture"));
    EXPECT_TRUE(boolParameter("enableDirectionallight"));
    EXPECT_EQ(intParameter("pointLightAmount"), 0);
    EXPECT_EQ(floats("material.diffuse", 4), (std::vector<float>{0.7f, 0.7f, 0.7f, 1.0f}));
    EXPECT_EQ(device->renderState(D3DRS_ALPHABLENDENABLE), static_cast<DWORD>(FALSE));
    EXPECT_EQ(device->renderState(D3DRS_ZWRITEENABLE), static_cast<DWORD>(TRUE));
    EXPECT_EQ(device->callsStartingWith("Effect.BeginPass"),
              (std::vector<std::string>{"Effect.BeginPass(0) -> OK"}));
    kelvo::finishMaterial(context());
    EXPECT_EQ(context().shader, nullptr);
}

TEST_F(MaterialBindingTest, SceneColoursScaleTheMaterialAndIntensityTheLight) {
    scene->diffuseLightColour = {0.5f, 1.0f, 2.0f, 1.0f};
    scene->directionalLightColour = {1.0f, 0.5f, 0.0f, 1.0f};
    scene->directionalLightIntensity = 2.0f;
    bind();
    EXPECT_EQ(floats("material.diffuse", 4), (std::vector<float>{0.35f, 0.7f, 1.4f, 1.0f}));
    EXPECT_EQ(floats("directionallight.color", 4), (std::vector<float>{2.0f, 1.0f, 0.0f, 2.0f}));
    EXPECT_EQ(floats("directionallight.dir", 3), (std::vector<float>{1.0f, 1.0f, 0.0f}));
}

TEST_F(MaterialBindingTest, OnlyParallaxModeTwoSelectsTheParallaxTechnique) {
    instance.material.parallaxMode = 1;
    bind();
    EXPECT_EQ(technique(), "SolidObjectBlinnPhong");
    EXPECT_TRUE(boolParameter("enableParallax"));
    kelvo::finishMaterial(context());

    instance.material.parallaxMode = 2;
    instance.material.cookTorrance = true;
    bind();
    EXPECT_EQ(technique(), "SolidObjectCookTorranceParallax");
    EXPECT_TRUE(boolParameter("enableParallax"));
    kelvo::finishMaterial(context());
}

TEST_F(MaterialBindingTest, AnUnlitMaterialTakesNoLightAtAll) {
    addLight(0.0f, 0.0f, 0.0f);
    instance.material.lit = false;
    instance.material.directionalLit = true;
    bind();
    EXPECT_FALSE(boolParameter("enableDirectionallight"));
    EXPECT_EQ(intParameter("pointLightAmount"), 0);
    for (const std::string& call : setterCalls()) {
        EXPECT_EQ(call.find("pointLight["), std::string::npos) << call;
        EXPECT_EQ(call.find("directionallight."), std::string::npos) << call;
    }
}

TEST_F(MaterialBindingTest, PointLightsArriveInTheInstancesOwnSpace) {
    instance.localTransform = translation(10.0f, 0.0f, 0.0f);
    addLight(0.0f, 0.0f, 0.0f);
    kelvo::NodePointlight& second = addLight(0.0f, 4.0f, 0.0f);
    second.intensity = 2.0f;
    second.attConst = 3.0f;
    bind();
    EXPECT_EQ(intParameter("pointLightAmount"), 2);
    EXPECT_EQ(floats("pointLight[0].position", 3), (std::vector<float>{-10.0f, 0.0f, 0.0f}));
    EXPECT_EQ(floats("pointLight[1].position", 3), (std::vector<float>{-10.0f, 4.0f, 0.0f}));
    EXPECT_EQ(floats("pointLight[1].color", 4), (std::vector<float>{2.0f, 1.0f, 0.5f, 2.0f}));
    EXPECT_EQ(floats("pointLight[1].attConst", 1), (std::vector<float>{3.0f}));
    EXPECT_EQ(floats("pointLight[1].attLin", 1), (std::vector<float>{0.1f}));
    EXPECT_EQ(floats("pointLight[1].attQuad", 1), (std::vector<float>{0.001f}));
}

TEST_F(MaterialBindingTest, MoreLightsThanTheEffectNamesBindOnlyTheFirstTen) {
    for (int i = 0; i < 12; ++i) {
        addLight(static_cast<float>(i), 0.0f, 0.0f);
    }
    os::AssertionCapture reports;
    bind();
    EXPECT_EQ(intParameter("pointLightAmount"), kelvo::kMaxPointLights);
    EXPECT_EQ(floats("pointLight[9].position", 3), (std::vector<float>{9.0f, 0.0f, 0.0f}));
    for (const std::string& call : setterCalls()) {
        EXPECT_EQ(call.find("pointLight[:"), std::string::npos) << call;
    }
    EXPECT_TRUE(reports.records().empty());
}

TEST_F(MaterialBindingTest, AuxiliaryTargetsAreBoundForTheDrawAndUnboundAfter) {
    bind();
    EXPECT_EQ(device->renderTargetAt(1), nullptr);
    EXPECT_EQ(device->renderTargetAt(2), surfaceOf(scene->getDepthBuffer()));
    EXPECT_EQ(device->renderTargetAt(3), surfaceOf(scene->getNormalBuffer()));
    EXPECT_FALSE(parametersSet().contains("SetFloat velocityScale"));
    kelvo::finishMaterial(context());
    EXPECT_EQ(device->renderTargetAt(2), nullptr);
    EXPECT_EQ(device->renderTargetAt(3), nullptr);

    kelvo::RenderTarget* velocity = kelvo::GraphicsContext::instance().acquireRenderTarget();
    scene->graph->velocityBuffer = velocity;
    scene->velocityScale = 0.25f;
    bind();
    EXPECT_EQ(device->renderTargetAt(1), velocity->surface());
    EXPECT_EQ(floats("velocityScale", 1), (std::vector<float>{0.25f}));
    kelvo::finishMaterial(context());
    EXPECT_FALSE(velocity->isBound());
}

// A renderable that is not a scene: no lights, no auxiliary targets, and no crash.
class PlainPicture : public kelvo::BufferRenderable {
public:
    void render(float, bool) override {}
};

TEST_F(MaterialBindingTest, ARenderableThatIsNotASceneDrawsWithNeutralLighting) {
    PlainPicture picture;
    context().renderable = &picture;
    bind();
    EXPECT_FALSE(boolParameter("enableDirectionallight"));
    EXPECT_EQ(intParameter("pointLightAmount"), 0);
    EXPECT_EQ(device->renderTargetAt(2), nullptr);
    kelvo::finishMaterial(context());
}

}  // namespace
