// The effect: ID3DXEffect written purely over IDirect3DDevice9, so it runs on the OpenGL device
// and on the recording device alike. Each pass becomes one device program (CreateProgram, at
// creation, so a stage the device cannot build fails the creation and not the show); parameter
// values belong to the effect and reach a pass's program at BeginPass and CommitChanges, only
// those that changed since that program last received them.
//
// Rules beyond D3DX's defaults (the platform leaves them open): BeginPass outside Begin, with an
// index beyond the pass count or while a pass is active, and a second Begin before End, fail with
// D3DERR_INVALIDCALL and change nothing.
//
// When the device also implements IDirect3DCallSink9, every effect call is reported there as
// text ("Effect.SetFloat(\"power\", 0.5) -> OK"), before the device calls it makes.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3dx9/EffectDescription.h"
#include "platform/d3dx9/EffectStateBlock.h"
#include "platform/d3dx9/ParameterStore.h"
#include "platform/d3dx9/d3dx9.h"

namespace fx {

class Effect final : public ID3DXEffect {
public:
    // Builds every pass's program on the device. On failure returns the device's result, writes
    // the reason to *error and creates nothing.
    static HRESULT create(IDirect3DDevice9* device, EffectDescription description,
                          std::string* error, Effect** effect);

    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT SetTechnique(D3DXHANDLE technique) override;
    D3DXHANDLE GetCurrentTechnique() override;
    HRESULT Begin(UINT* passes, DWORD flags) override;
    HRESULT BeginPass(UINT pass) override;
    HRESULT CommitChanges() override;
    HRESULT EndPass() override;
    HRESULT End() override;

    HRESULT SetBool(D3DXHANDLE parameter, BOOL value) override;
    HRESULT SetInt(D3DXHANDLE parameter, INT value) override;
    HRESULT SetFloat(D3DXHANDLE parameter, float value) override;
    HRESULT SetFloatArray(D3DXHANDLE parameter, const float* values, UINT count) override;
    HRESULT SetVector(D3DXHANDLE parameter, const D3DXVECTOR4* vector) override;
    HRESULT SetMatrix(D3DXHANDLE parameter, const D3DXMATRIX* matrix) override;
    HRESULT SetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9* texture) override;

    HRESULT GetBool(D3DXHANDLE parameter, BOOL* value) override;
    HRESULT GetInt(D3DXHANDLE parameter, INT* value) override;
    HRESULT GetFloat(D3DXHANDLE parameter, float* value) override;
    HRESULT GetFloatArray(D3DXHANDLE parameter, float* values, UINT count) override;
    HRESULT GetVector(D3DXHANDLE parameter, D3DXVECTOR4* vector) override;
    HRESULT GetMatrix(D3DXHANDLE parameter, D3DXMATRIX* matrix) override;
    HRESULT GetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9** texture) override;

private:
    struct PassProgram {
        IDirect3DProgram9* program = nullptr;  // owned reference
        std::vector<INT> locations;            // per parameter leaf; -1 when unused
        std::vector<std::uint64_t> uploaded;   // leaf versions the program holds
    };
    struct Technique {
        std::vector<PassProgram> passes;
        EffectStateBlock::Scope scope;
    };
    struct SamplerBinding {
        int textureLeaf = -1;
        std::uint64_t applied = 0;  // texture version set on the device in the active pass
    };

    Effect(IDirect3DDevice9* device, EffectDescription description);
    ~Effect() override;

    HRESULT buildPrograms(std::string* error);
    EffectStateBlock::Scope scopeOf(const TechniqueDesc& technique) const;
    HRESULT applyPass(const PassDesc& pass, PassProgram& program);
    HRESULT uploadConstants(PassProgram& program);
    HRESULT applyTextures(const PassDesc& pass, bool changedOnly);
    // Sends the call's line to the device's call sink, when it has one, and gives the result
    // back. The arguments' text is made only then: the OpenGL device has no sink, and a matrix
    // would cost sixteen number conversions on every call.
    template <class ArgumentText>
    HRESULT report(const char* method, ArgumentText&& arguments, HRESULT result) {
        if (sink_ != nullptr) {
            recordCall(method, arguments(), result);
        }
        return result;
    }
    void recordCall(const char* method, const std::string& arguments, HRESULT result);

    std::atomic<ULONG> references_{1};
    IDirect3DDevice9* device_;  // owned reference
    IDirect3DCallSink9* sink_;  // the device's call sink, when it has one
    EffectDescription description_;
    ParameterStore parameters_;
    std::vector<Technique> techniques_;
    std::vector<SamplerBinding> samplers_;
    EffectStateBlock saved_;
    unsigned technique_ = 0;
    bool begun_ = false;
    int activePass_ = -1;
    unsigned activeTechnique_ = 0;  // the technique of the active pass
};

}  // namespace fx
