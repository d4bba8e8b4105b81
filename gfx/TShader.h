// One technique of a shared effect (see EffectHandler), with the effect's begin, pass and
// parameter calls. Shaders naming the same file share one effect and therefore its parameter
// values: every user sets all the parameters it relies on before drawing.
//
// A draw: set parameters; begin; for each pass: beginPass, per-draw parameters and
// commitChanges where needed, draw, endPass; end. begin may run again after end.
//
// Failing calls with a report go to HR_CHECK with the source "gfx/TShader" and the program
// goes on. A shader whose effect could not be created behaves as if every effect call failed
// with D3DERR_INVALIDCALL: the reporting operations report, begin gives 0 passes, the other
// setters do nothing, and nothing is drawn through it.
#pragma once

#include <string>

#include "gfx/Matrix.h"
#include "gfx/Vec3.h"
#include "platform/d3dx9/d3dx9.h"

namespace kelvo {

class IRenderable;

class TShader {
public:
    // Takes the effect of effectFile from the EffectHandler, creating it on first request.
    TShader(const std::string& techniqueName, const std::string& effectFile);
    // The same, then, when a renderable is given, binds the frame parameters: "deltaTime" and
    // "time" of its scene, "depthTex" (its depth buffer, or none) and, when its scene has a
    // camera, "viewProjection", "projection" and "projectionInv".
    TShader(const std::string& techniqueName, const std::string& effectFile,
            IRenderable* renderable);
    // Ends the effect if this shader began it.
    virtual ~TShader();
    TShader(const TShader&) = delete;
    TShader& operator=(const TShader&) = delete;

    // Selects the technique and begins it (the effect saves the device states its passes
    // change, end restores them); the number of passes. While begun, does nothing and gives 0.
    // A refused Begin is reported and leaves the shader not begun, with no passes.
    unsigned begin();
    void beginPass(unsigned pass);
    void endPass();
    // Ends the effect when begun; otherwise no effect call.
    void end();
    // Sends parameters changed inside a pass to the device.
    void commitChanges();

    // Replaces the technique and selects it at once (unreported).
    void setTechnique(const std::string& name);

    // Parameters by full name ("material.ambient", "pointLight[2].color").
    void setInt(const char* name, int value);
    void setBool(const char* name, bool value);
    void setFloat3(const char* name, const Vec3& value);
    void setVector(const char* name, const D3DXVECTOR4& value);
    // These three are not reported: a parameter the effect lacks is simply not set.
    void setFloat(const char* name, float value);
    void setMatrix(const char* name, const Matrix& value);
    void setTexture(const char* name, IDirect3DBaseTexture9* texture);

    const std::string& techniqueName() const { return techniqueName_; }
    // The shared effect (not owned); null when its creation failed.
    ID3DXEffect* effect() const { return effect_; }
    bool isBegun() const { return begun_; }

private:
    // The effect's result, or D3DERR_INVALIDCALL without an effect.
    template <class Call>
    HRESULT onEffect(Call call);
    void bindFrameParameters(IRenderable& renderable);

    std::string techniqueName_;
    ID3DXEffect* effect_ = nullptr;
    bool begun_ = false;
};

}  // namespace kelvo
