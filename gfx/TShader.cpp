#include "gfx/TShader.h"

#include "gfx/EffectHandler.h"
#include "gfx/HrCheck.h"
#include "gfx/RenderTarget.h"
#include "gfx/Scene.h"
#include "gfx/TCamera.h"

namespace kelvo {

namespace {

constexpr const char* kSource = "gfx/TShader";
// The lines the shader's failure reports name: the parameter setters', then the passes'.
constexpr int kCommitChangesLine = 42;
constexpr int kSetIntLine = 44;
constexpr int kSetBoolLine = 45;
constexpr int kSetFloat3Line = 49;
constexpr int kSetVectorLine = 50;
constexpr int kSetTechniqueLine = 70;
constexpr int kBeginLine = 71;
constexpr int kEndLine = 82;
constexpr int kBeginPassLine = 89;
constexpr int kEndPassLine = 94;

}  // namespace

TShader::TShader(const std::string& techniqueName, const std::string& effectFile)
    : techniqueName_(techniqueName), effect_(EffectHandler::instance().getEffect(effectFile)) {}

TShader::TShader(const std::string& techniqueName, const std::string& effectFile,
                 IRenderable* renderable)
    : TShader(techniqueName, effectFile) {
    if (renderable != nullptr) {
        bindFrameParameters(*renderable);
    }
}

void TShader::bindFrameParameters(IRenderable& renderable) {
    // Only a scene keeps a clock and a camera; other renderables give their depth buffer alone.
    const Scene* scene = dynamic_cast<const Scene*>(&renderable);
    const SceneGraph* graph = scene != nullptr ? scene->graph.get() : nullptr;
    if (graph != nullptr) {
        setFloat("deltaTime", graph->frameDelta);
        setFloat("time", graph->time);
    }
    RenderTarget* depth = renderable.getDepthBuffer();
    setTexture("depthTex", depth != nullptr ? depth->getTexture() : nullptr);
    if (graph != nullptr && graph->camera != nullptr) {
        Matrix viewProjection;
        Matrix projection;
        graph->camera->getViewProjection(viewProjection);
        graph->camera->getProjection(projection);
        setMatrix("viewProjection", viewProjection);
        setMatrix("projection", projection);
        setMatrix("projectionInv", inverse(projection));
    }
}

TShader::~TShader() {
    end();
}

template <class Call>
HRESULT TShader::onEffect(Call call) {
    return effect_ != nullptr ? call(*effect_) : D3DERR_INVALIDCALL;
}

unsigned TShader::begin() {
    if (begun_) {
        return 0;
    }
    const char* technique = techniqueName_.c_str();
    HR_CHECK(kSource, kSetTechniqueLine,
             onEffect([&](ID3DXEffect& e) { return e.SetTechnique(technique); }));
    // A failed Begin may leave the count unwritten; no passes then.
    UINT passes = 0;
    const HRESULT began = HR_CHECK(kSource, kBeginLine,
                                   onEffect([&](ID3DXEffect& e) { return e.Begin(&passes, 0); }));
    // Several shaders share one effect: marked begun after a refused Begin, this shader's end
    // would close the run another shader has open on it.
    begun_ = SUCCEEDED(began);
    return begun_ ? passes : 0;
}

void TShader::beginPass(unsigned pass) {
    HR_CHECK(kSource, kBeginPassLine, onEffect([&](ID3DXEffect& e) { return e.BeginPass(pass); }));
}

void TShader::endPass() {
    HR_CHECK(kSource, kEndPassLine, onEffect([](ID3DXEffect& e) { return e.EndPass(); }));
}

void TShader::end() {
    if (!begun_) {
        return;
    }
    HR_CHECK(kSource, kEndLine, onEffect([](ID3DXEffect& e) { return e.End(); }));
    begun_ = false;
}

void TShader::commitChanges() {
    HR_CHECK(kSource, kCommitChangesLine,
             onEffect([](ID3DXEffect& e) { return e.CommitChanges(); }));
}

void TShader::setTechnique(const std::string& name) {
    techniqueName_ = name;
    onEffect([&](ID3DXEffect& e) { return e.SetTechnique(techniqueName_.c_str()); });
}

void TShader::setInt(const char* name, int value) {
    HR_CHECK(kSource, kSetIntLine, onEffect([&](ID3DXEffect& e) { return e.SetInt(name, value); }));
}

void TShader::setBool(const char* name, bool value) {
    const BOOL flag = value ? TRUE : FALSE;
    HR_CHECK(kSource, kSetBoolLine,
             onEffect([&](ID3DXEffect& e) { return e.SetBool(name, flag); }));
}

void TShader::setFloat3(const char* name, const Vec3& value) {
    const float values[3] = {value.x, value.y, value.z};
    HR_CHECK(kSource, kSetFloat3Line,
             onEffect([&](ID3DXEffect& e) { return e.SetFloatArray(name, values, 3); }));
}

void TShader::setVector(const char* name, const D3DXVECTOR4& value) {
    HR_CHECK(kSource, kSetVectorLine,
             onEffect([&](ID3DXEffect& e) { return e.SetVector(name, &value); }));
}

void TShader::setFloat(const char* name, float value) {
    onEffect([&](ID3DXEffect& e) { return e.SetFloat(name, value); });
}

void TShader::setMatrix(const char* name, const Matrix& value) {
    onEffect([&](ID3DXEffect& e) { return e.SetMatrix(name, &value); });
}

void TShader::setTexture(const char* name, IDirect3DBaseTexture9* texture) {
    onEffect([&](ID3DXEffect& e) { return e.SetTexture(name, texture); });
}

}  // namespace kelvo
