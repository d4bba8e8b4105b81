// For tests of the standard and material bindings: the show's surface effect on the recording
// device, a scene with a camera made the shader context's renderable, and readers for the
// effect calls and values the binding left.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "EngineTestBase.h"
#include "gfx/DataFileCache.h"
#include "gfx/Matrix.h"
#include "gfx/PerspectiveCamera.h"
#include "gfx/Scene.h"
#include "gfx/ShaderContext.h"

inline kelvo::Matrix translation(float x, float y, float z) {
    kelvo::Matrix m = kelvo::Matrix::identity();
    m(3, 0) = x;
    m(3, 1) = y;
    m(3, 2) = z;
    return m;
}

class SceneBindingFixture : public EngineTestBase {
protected:
    static constexpr const char* kSurfaceEffect = "SolidObject.fxo";

    void SetUp() override {
        EngineTestBase::SetUp();
        device->setRecordQueries(false);
        kelvo::preloadDataFile(kSurfaceEffect);
        scene = std::make_unique<kelvo::Scene>();
        camera.eye = {0.0f, 2.0f, -10.0f};
        camera.target = {0.0f, 0.0f, 0.0f};
        scene->graph->camera = &camera;
        context().renderable = scene.get();
    }

    void TearDown() override {
        context().shader.reset();
        context().renderable = nullptr;
        context().matrixStack.clear();
        scene.reset();
        EngineTestBase::TearDown();
    }

    static kelvo::ShaderContext& context() { return kelvo::ShaderContext::instance(); }

    // A shader of the surface effect, begun at pass 0, as the material binding leaves it.
    void beginShader(const std::string& technique) {
        context().shader = std::make_unique<kelvo::TShader>(technique, kSurfaceEffect);
        context().shader->begin();
        context().shader->beginPass(0);
        device->clearCalls();
    }

    // "Method name" of every effect setter call since the last clearCalls, in order.
    std::vector<std::string> setterCalls() const {
        std::vector<std::string> out;
        for (const std::string& call : device->callsStartingWith("Effect.Set")) {
            const auto open = call.find('(');
            const auto quote = call.find('"', open);
            const auto end = call.find('"', quote + 1);
            std::string method = call.substr(7, open - 7);
            if (method != "SetTechnique") {
                out.push_back(method + " " + call.substr(quote + 1, end - quote - 1));
            }
        }
        return out;
    }

    ID3DXEffect& effect() const { return *context().shader->effect(); }

    kelvo::Matrix matrixParameter(const char* name) const {
        kelvo::Matrix m;
        EXPECT_EQ(effect().GetMatrix(name, &m), D3D_OK) << name;
        return m;
    }
    std::vector<float> floats(const char* name, UINT count) const {
        std::vector<float> values(count);
        EXPECT_EQ(effect().GetFloatArray(name, values.data(), count), D3D_OK) << name;
        return values;
    }
    int intParameter(const char* name) const {
        INT value = -1;
        EXPECT_EQ(effect().GetInt(name, &value), D3D_OK) << name;
        return value;
    }
    bool boolParameter(const char* name) const {
        BOOL value = FALSE;
        EXPECT_EQ(effect().GetBool(name, &value), D3D_OK) << name;
        return value != FALSE;
    }

    std::unique_ptr<kelvo::Scene> scene;
    kelvo::PerspectiveCamera camera;
};

// Element-wise comparison within single-precision rounding.
inline void expectNear(const kelvo::Matrix& actual, const kelvo::Matrix& expected,
                       float tolerance = 1e-4f) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(actual(r, c), expected(r, c), tolerance) << "element " << r << c;
        }
    }
}
