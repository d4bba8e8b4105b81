// The effect over the recording device: names, shape rules, values reaching the program,
// techniques, the Begin/BeginPass rules, state save and restore, and the call-sink text.
#if __has_include("platform/d3d9/recording/RecordingDevice.h")

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/d3d9/recording/RecordingDevice.h"
#include "platform/d3dx9/d3dx9.h"

namespace {

std::string soundEffect() {
    const auto path = std::filesystem::path(__FILE__).parent_path() / ".." / "effects" / "sound.fx";
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

D3DXMATRIX matrixOf(float first) {
    D3DXMATRIX m{};
    for (int i = 0; i < 16; ++i) {
        m.m[i / 4][i % 4] = first + static_cast<float>(i);
    }
    return m;
}

class EffectTest : public ::testing::Test {
protected:
    void SetUp() override { device = new RecordingDevice(); }

    void TearDown() override {
        if (effect != nullptr) {
            effect->Release();
        }
        EXPECT_EQ(device->liveObjectCount(), 0u);
        device->Release();
    }

    void create(const std::string& text = soundEffect()) {
        ASSERT_EQ(D3DXCreateEffect(device, text.data(), static_cast<UINT>(text.size()), nullptr,
                                   nullptr, 0, nullptr, &effect, nullptr),
                  D3D_OK);
        device->clearCalls();
    }

    bool logged(const std::string& line) const {
        const auto calls = device->calls();
        return std::find(calls.begin(), calls.end(), line) != calls.end();
    }

    std::ptrdiff_t positionOf(const std::string& line) const {
        const auto calls = device->calls();
        return std::find(calls.begin(), calls.end(), line) - calls.begin();
    }

    RecordingDevice* device = nullptr;
    ID3DXEffect* effect = nullptr;
};

TEST_F(EffectTest, CreationBuildsEveryPassAndStartsOnTheFirstTechnique) {
    const std::string text = soundEffect();
    ASSERT_EQ(D3DXCreateEffect(device, text.data(), static_cast<UINT>(text.size()), nullptr,
                               nullptr, 0, nullptr, &effect, nullptr),
              D3D_OK);
    EXPECT_EQ(device->countCalls("CreateProgram"), 3u);
    EXPECT_STREQ(effect->GetCurrentTechnique(), "Plain");
}

TEST_F(EffectTest, ParametersAreFoundByFullNameOnly) {
    create();
    const D3DXVECTOR4 v{1, 2, 3, 4};
    const D3DXMATRIX m = matrixOf(1);
    const float position[3] = {5, 6, 7};
    EXPECT_EQ(effect->SetVector("material.ambient", &v), D3D_OK);
    EXPECT_EQ(effect->SetFloatArray("pointLight[2].position", position, 3), D3D_OK);
    EXPECT_EQ(effect->SetMatrix("matrixPalette[3]", &m), D3D_OK);
    EXPECT_EQ(effect->SetFloat("weights[2]", 1.5f), D3D_OK);

    for (const char* unknown :
         {"matrixPalette[4]", "pointLight[3].color", "material.shininess", "Material.ambient",
          "pointLight[02].color", "pointLight[2]. color", "", "tex.x"}) {
        EXPECT_EQ(effect->SetVector(unknown, &v), D3DERR_INVALIDCALL) << unknown;
        EXPECT_EQ(effect->SetFloat(unknown, 1.0f), D3DERR_INVALIDCALL) << unknown;
        EXPECT_EQ(effect->SetMatrix(unknown, &m), D3DERR_INVALIDCALL) << unknown;
    }
    EXPECT_EQ(effect->SetFloat(nullptr, 1.0f), D3DERR_INVALIDCALL);

    D3DXVECTOR4 read{};
    EXPECT_EQ(effect->GetVector("material.ambient", &read), D3D_OK);
    EXPECT_EQ(read.w, 4.0f);
    float readPosition[3] = {};
    EXPECT_EQ(effect->GetFloatArray("pointLight[2].position", readPosition, 3), D3D_OK);
    EXPECT_EQ(readPosition[2], 7.0f);
    D3DXMATRIX readMatrix{};
    EXPECT_EQ(effect->GetMatrix("matrixPalette[3]", &readMatrix), D3D_OK);
    EXPECT_EQ(readMatrix.m[3][3], 16.0f);
}

TEST_F(EffectTest, SettersFollowTheShapeRulesAndFailuresChangeNothing) {
    create();
    const D3DXVECTOR4 v{0.25f, 0.5f, 0.75f, 1.0f};
    const D3DXMATRIX m = matrixOf(0);
    float value = 0;

    // Scalars convert to the declared type; vectors and aggregates refuse SetFloat.
    EXPECT_EQ(effect->SetFloat("pointLightAmount", 2.7f), D3D_OK);
    INT count = 0;
    EXPECT_EQ(effect->GetInt("pointLightAmount", &count), D3D_OK);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(effect->SetInt("power", 3), D3D_OK);
    EXPECT_EQ(effect->GetFloat("power", &value), D3D_OK);
    EXPECT_EQ(value, 3.0f);
    EXPECT_EQ(effect->SetFloat("tint", 1.0f), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->SetFloat("material", 1.0f), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->SetInt("weights", 1), D3DERR_INVALIDCALL);

    // SetVector: a float3 takes x, y, z; a scalar takes x; arrays and matrices refuse.
    EXPECT_EQ(effect->SetVector("pointLight[0].position", &v), D3D_OK);
    float position[4] = {9, 9, 9, 9};
    EXPECT_EQ(effect->GetFloatArray("pointLight[0].position", position, 4), D3D_OK);
    EXPECT_EQ(position[2], 0.75f);
    EXPECT_EQ(position[3], 9.0f);  // only three values exist
    EXPECT_EQ(effect->SetVector("power", &v), D3D_OK);
    EXPECT_EQ(effect->GetFloat("power", &value), D3D_OK);
    EXPECT_EQ(value, 0.25f);
    EXPECT_EQ(effect->SetVector("weights", &v), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->SetVector("worldViewProjection", &v), D3DERR_INVALIDCALL);

    // SetMatrix: one matrix, an array element included, never the whole array.
    EXPECT_EQ(effect->SetMatrix("matrixPalette", &m), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->SetMatrix("tint", &m), D3DERR_INVALIDCALL);

    // SetFloatArray runs over packed storage and ignores extra input.
    const float five[5] = {1, 2, 3, 4, 5};
    EXPECT_EQ(effect->SetFloatArray("weights", five, 5), D3D_OK);
    float weights[3] = {};
    EXPECT_EQ(effect->GetFloatArray("weights", weights, 3), D3D_OK);
    EXPECT_EQ(weights[2], 3.0f);
    EXPECT_EQ(effect->SetFloatArray("material", five, 5), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->SetFloatArray("pointLight", five, 5), D3DERR_INVALIDCALL);

    // Textures go to texture parameters only, not to samplers or numbers.
    EXPECT_EQ(effect->SetTexture("texSampler", nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->SetTexture("power", nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->SetBool("tex", TRUE), D3DERR_INVALIDCALL);

    // Nothing above that failed changed a value.
    D3DXVECTOR4 tint{};
    EXPECT_EQ(effect->GetVector("tint", &tint), D3D_OK);
    EXPECT_EQ(tint.x, 1.0f);  // the declared default
    EXPECT_EQ(effect->GetFloat("power", &value), D3D_OK);
    EXPECT_EQ(value, 0.25f);
}

TEST_F(EffectTest, ValuesReachTheProgramAtBeginPassAndCommitChanges) {
    create();
    const D3DXVECTOR4 color{0.1f, 0.2f, 0.3f, 0.4f};
    effect->SetVector("pointLight[2].color", &color);
    effect->SetInt("pointLightAmount", 3);
    effect->SetBool("enableTexture", TRUE);
    UINT passes = 0;
    ASSERT_EQ(effect->Begin(&passes, 0), D3D_OK);
    EXPECT_EQ(passes, 2u);
    EXPECT_FALSE(device->programConstantF("power"));  // nothing before BeginPass
    ASSERT_EQ(effect->BeginPass(0), D3D_OK);
    EXPECT_EQ(device->programConstantF("power"), std::vector<float>{0.5f});  // the default
    EXPECT_EQ(device->programConstantF("pointLight[2].color"),
              (std::vector<float>{0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(device->programConstantI("pointLightAmount"), std::vector<INT>{3});
    EXPECT_EQ(device->programConstantI("enableTexture"), std::vector<INT>{1});

    effect->SetFloat("power", 0.75f);
    EXPECT_EQ(device->programConstantF("power"), std::vector<float>{0.5f});
    device->clearCalls();
    EXPECT_EQ(effect->CommitChanges(), D3D_OK);
    EXPECT_EQ(device->programConstantF("power"), std::vector<float>{0.75f});
    // Only the changed value travels.
    EXPECT_EQ(device->countCalls("SetProgramConstantF"), 1u);
    EXPECT_EQ(device->countCalls("SetProgramConstantI"), 0u);
    effect->EndPass();
    effect->End();
}

TEST_F(EffectTest, OptimisedOutUniformsStillAcceptValues) {
    device->markOptimisedOut("power");
    create();
    EXPECT_EQ(effect->SetFloat("power", 0.3f), D3D_OK);
    effect->Begin(nullptr, 0);
    EXPECT_EQ(effect->BeginPass(0), D3D_OK);
    EXPECT_FALSE(device->programConstantF("power"));
    float value = 0;
    EXPECT_EQ(effect->GetFloat("power", &value), D3D_OK);
    EXPECT_EQ(value, 0.3f);
    effect->EndPass();
    effect->End();
}

TEST_F(EffectTest, TechniquesSwitchByNameAndShareValues) {
    create();
    const D3DXVECTOR4 tint{0.5f, 0.5f, 0.5f, 1.0f};
    effect->SetVector("tint", &tint);
    EXPECT_EQ(effect->SetTechnique("Tube"), D3D_OK);
    EXPECT_STREQ(effect->GetCurrentTechnique(), "Tube");
    EXPECT_EQ(effect->SetTechnique("Tubes"), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->SetTechnique(nullptr), D3DERR_INVALIDCALL);
    EXPECT_STREQ(effect->GetCurrentTechnique(), "Tube");

    UINT passes = 0;
    effect->Begin(&passes, 0);
    EXPECT_EQ(passes, 1u);
    effect->BeginPass(0);
    EXPECT_EQ(device->programConstantF("tint"), (std::vector<float>{0.5f, 0.5f, 0.5f, 1.0f}));
    EXPECT_EQ(device->renderState(D3DRS_ZFUNC), DWORD{D3DCMP_ALWAYS});
    // Switching inside a pass (as the skinning switch does) is allowed; the pass goes on.
    EXPECT_EQ(effect->SetTechnique("Plain"), D3D_OK);
    EXPECT_EQ(effect->CommitChanges(), D3D_OK);
    EXPECT_EQ(effect->EndPass(), D3D_OK);
    EXPECT_EQ(effect->End(), D3D_OK);
}

TEST_F(EffectTest, BeginSavesExactlyWhatThePassesSetAndEndRestoresIt) {
    create();
    IDirect3DTexture9* previous = nullptr;
    ASSERT_EQ(
        device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &previous, nullptr),
        D3D_OK);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(
        device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr),
        D3D_OK);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_DESTCOLOR);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_GREATER);
    // Samplers take units in the order of their names: maskSampler 0, texSampler 1.
    device->SetTexture(1, previous);
    device->SetSamplerState(1, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    effect->SetTexture("tex", texture);
    device->clearCalls();

    ASSERT_EQ(effect->Begin(nullptr, 0), D3D_OK);
    // Plain's passes set ZWRITEENABLE, CULLMODE and four blend states, and use both samplers.
    EXPECT_EQ(device->countCalls("GetRenderState"), 6u);
    EXPECT_EQ(device->countCalls("GetTexture"), 2u);
    EXPECT_EQ(device->countCalls("GetProgram"), 1u);
    for (const auto& call : device->calls()) {
        EXPECT_EQ(call.find("ZFUNC"), std::string::npos) << call;
    }
    effect->BeginPass(0);
    EXPECT_EQ(device->renderState(D3DRS_CULLMODE), DWORD{D3DCULL_NONE});
    EXPECT_EQ(device->textureAt(1), texture);
    EXPECT_EQ(device->samplerState(1, D3DSAMP_MINFILTER), DWORD{D3DTEXF_LINEAR});
    EXPECT_NE(device->currentProgram(), nullptr);
    effect->EndPass();
    effect->BeginPass(1);
    EXPECT_EQ(device->renderState(D3DRS_SRCBLEND), DWORD{D3DBLEND_SRCALPHA});
    effect->EndPass();
    ASSERT_EQ(effect->End(), D3D_OK);

    EXPECT_EQ(device->renderState(D3DRS_CULLMODE), DWORD{D3DCULL_CW});
    EXPECT_EQ(device->renderState(D3DRS_SRCBLEND), DWORD{D3DBLEND_DESTCOLOR});
    EXPECT_EQ(device->renderState(D3DRS_ZWRITEENABLE), DWORD{TRUE});
    EXPECT_EQ(device->renderState(D3DRS_ZFUNC), DWORD{D3DCMP_GREATER});
    EXPECT_EQ(device->textureAt(1), previous);
    EXPECT_EQ(device->samplerState(1, D3DSAMP_MINFILTER), DWORD{D3DTEXF_POINT});
    EXPECT_EQ(device->currentProgram(), nullptr);

    // With D3DXFX_DONOTSAVESTATE the pass's states stay behind.
    device->clearCalls();
    effect->Begin(nullptr, D3DXFX_DONOTSAVESTATE);
    EXPECT_EQ(device->countCalls("GetRenderState"), 0u);
    effect->BeginPass(0);
    effect->EndPass();
    effect->End();
    EXPECT_EQ(device->renderState(D3DRS_CULLMODE), DWORD{D3DCULL_NONE});
    EXPECT_EQ(device->textureAt(1), texture);

    device->SetTexture(1, nullptr);
    device->SetProgram(nullptr);
    effect->Release();
    effect = nullptr;
    texture->Release();
    previous->Release();
}

TEST_F(EffectTest, PassCallsOutOfOrderFailAndChangeNothing) {
    create();
    EXPECT_EQ(effect->BeginPass(0), D3DERR_INVALIDCALL);  // before Begin
    EXPECT_EQ(effect->EndPass(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->calls(), (std::vector<std::string>{"Effect.BeginPass(0) -> FAIL",
                                                         "Effect.EndPass() -> FAIL"}));
    ASSERT_EQ(effect->Begin(nullptr, 0), D3D_OK);
    EXPECT_EQ(effect->Begin(nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->BeginPass(2), D3DERR_INVALIDCALL);  // Plain has two passes
    ASSERT_EQ(effect->BeginPass(0), D3D_OK);
    device->clearCalls();
    EXPECT_EQ(effect->BeginPass(1), D3DERR_INVALIDCALL);  // pass 0 still active
    EXPECT_EQ(effect->BeginPass(0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->calls().size(), 2u);  // the two effect lines, no device call
    EXPECT_EQ(device->renderState(D3DRS_CULLMODE), DWORD{D3DCULL_NONE});
    EXPECT_EQ(effect->EndPass(), D3D_OK);
    EXPECT_EQ(effect->BeginPass(1), D3D_OK);
    EXPECT_EQ(effect->EndPass(), D3D_OK);
    EXPECT_EQ(effect->End(), D3D_OK);
    EXPECT_EQ(effect->End(), D3D_OK);  // End without Begin does nothing
    EXPECT_EQ(device->renderState(D3DRS_CULLMODE), DWORD{D3DCULL_CCW});
    EXPECT_EQ(effect->CommitChanges(), D3D_OK);  // no pass: nothing to do
}

TEST_F(EffectTest, EffectCallsAppearInTheDeviceLog) {
    create();
    effect->SetFloat("power", 0.5f);
    effect->SetTechnique("Tube");
    effect->SetTechnique("Nope");
    effect->SetInt("pointLightAmount", 3);
    effect->Begin(nullptr, 0);
    effect->BeginPass(0);
    EXPECT_TRUE(logged("Effect.SetFloat(\"power\", 0.5) -> OK"));
    EXPECT_TRUE(logged("Effect.SetTechnique(\"Tube\") -> OK"));
    EXPECT_TRUE(logged("Effect.SetTechnique(\"Nope\") -> FAIL"));
    EXPECT_TRUE(logged("Effect.SetInt(\"pointLightAmount\", 3) -> OK"));
    // The effect's line comes first, then the device calls it makes.
    const auto begin = positionOf("Effect.BeginPass(0) -> OK");
    const auto calls = device->calls();
    ASSERT_LT(begin, static_cast<std::ptrdiff_t>(calls.size()));
    const auto program = std::find_if(calls.begin(), calls.end(), [](const std::string& call) {
        return call.rfind("SetProgram(", 0) == 0;
    });
    EXPECT_LT(begin, program - calls.begin());
    effect->EndPass();
    effect->End();
}

TEST_F(EffectTest, CreationRejectsBadDataAndCreatesNothing) {
    ID3DXBuffer* errors = nullptr;
    const std::string broken = "[parameters]\nx = \"float5\"\n# compiled from broken.fx\n";
    EXPECT_EQ(D3DXCreateEffect(device, broken.data(), static_cast<UINT>(broken.size()), nullptr,
                               nullptr, 0, nullptr, &effect, &errors),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(effect, nullptr);
    ASSERT_NE(errors, nullptr);
    const std::string message(static_cast<const char*>(errors->GetBufferPointer()));
    EXPECT_EQ(message.rfind("broken.fx:2: unknown type 'float5'", 0), 0u) << message;
    EXPECT_EQ(errors->GetBufferSize(), message.size() + 1);
    errors->Release();

    const char garbage[] = "\x01\x02\xff\xfe\x00[[[";
    EXPECT_EQ(D3DXCreateEffect(device, garbage, sizeof garbage, nullptr, nullptr, 0, nullptr,
                               &effect, nullptr),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(D3DXCreateEffect(device, nullptr, 0, nullptr, nullptr, 0, nullptr, &effect, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(effect, nullptr);
    EXPECT_EQ(device->countCalls("CreateProgram"), 0u);

    // A pass the device cannot build fails the creation and releases the passes already built.
    device->failCall("CreateProgram", E_FAIL, 2);
    const std::string text = soundEffect();
    EXPECT_EQ(D3DXCreateEffect(device, text.data(), static_cast<UINT>(text.size()), nullptr,
                               nullptr, 0, nullptr, &effect, nullptr),
              E_FAIL);
    EXPECT_EQ(effect, nullptr);
}

}  // namespace

#endif
