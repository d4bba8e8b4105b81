#include "platform/d3dx9/Effect.h"

#include <algorithm>
#include <new>
#include <set>

#include "platform/d3dx9/EffectCallText.h"
#include "platform/d3dx9/GlslGenerator.h"

namespace fx {
namespace {

D3DPROGRAMCONSTANTSHAPE shapeOf(const ValueType& type) {
    return static_cast<D3DPROGRAMCONSTANTSHAPE>(type.columns);
}

std::string noArguments() {
    return {};
}

}  // namespace

HRESULT Effect::create(IDirect3DDevice9* device, EffectDescription description, std::string* error,
                       Effect** effect) {
    *effect = nullptr;
    auto* created = new (std::nothrow) Effect(device, std::move(description));
    if (created == nullptr) {
        return E_OUTOFMEMORY;
    }
    const HRESULT result = created->buildPrograms(error);
    if (FAILED(result)) {
        created->Release();
        return result;
    }
    *effect = created;
    return D3D_OK;
}

Effect::Effect(IDirect3DDevice9* device, EffectDescription description)
    : device_(device),
      sink_(dynamic_cast<IDirect3DCallSink9*>(device)),
      description_(std::move(description)),
      parameters_(description_) {
    device_->AddRef();
    for (const auto& sampler : description_.samplers) {
        samplers_.push_back(SamplerBinding{parameters_.leafIndex(sampler.texture), 0});
    }
}

Effect::~Effect() {
    for (auto& technique : techniques_) {
        for (auto& pass : technique.passes) {
            if (pass.program != nullptr) {
                pass.program->Release();
            }
        }
    }
    device_->Release();
}

HRESULT Effect::buildPrograms(std::string* error) {
    const auto& leaves = parameters_.leaves();
    for (const auto& techniqueDesc : description_.techniques) {
        Technique technique;
        technique.scope = scopeOf(techniqueDesc);
        for (std::size_t i = 0; i < techniqueDesc.passes.size(); ++i) {
            const auto& passDesc = techniqueDesc.passes[i];
            PassProgram pass;
            const std::string vertex =
                GlslGenerator::stage(description_, passDesc, ShaderStage::Vertex);
            const std::string fragment =
                GlslGenerator::stage(description_, passDesc, ShaderStage::Fragment);
            const HRESULT result =
                device_->CreateProgram(vertex.c_str(), fragment.c_str(), &pass.program);
            if (FAILED(result) || pass.program == nullptr) {
                if (error != nullptr) {
                    *error = description_.sourceName + ":" + std::to_string(passDesc.line) +
                             ": the device could not build pass " + std::to_string(i) +
                             " of technique '" + techniqueDesc.name + "'";
                }
                techniques_.push_back(std::move(technique));
                return FAILED(result) ? result : E_FAIL;
            }
            pass.locations.reserve(leaves.size());
            for (const auto& leaf : leaves) {
                const bool isUniform = leaf.type.base != BaseType::Texture;
                pass.locations.push_back(
                    isUniform ? pass.program->GetUniformLocation(leaf.name.c_str()) : -1);
            }
            pass.uploaded.assign(leaves.size(), 0);
            technique.passes.push_back(std::move(pass));
        }
        techniques_.push_back(std::move(technique));
    }
    return D3D_OK;
}

EffectStateBlock::Scope Effect::scopeOf(const TechniqueDesc& technique) const {
    std::set<D3DRENDERSTATETYPE> renderStates;
    std::set<std::pair<DWORD, D3DSAMPLERSTATETYPE>> samplerStates;
    std::set<DWORD> textures;
    for (const auto& pass : technique.passes) {
        for (const auto& [state, value] : pass.renderStates) {
            renderStates.insert(state);
        }
        for (unsigned unit : pass.samplers) {
            textures.insert(unit);
            for (const auto& [state, value] : description_.samplers[unit].states) {
                samplerStates.emplace(unit, state);
            }
        }
    }
    return EffectStateBlock::Scope{{renderStates.begin(), renderStates.end()},
                                   {samplerStates.begin(), samplerStates.end()},
                                   {textures.begin(), textures.end()}};
}

void Effect::recordCall(const char* method, const std::string& arguments, HRESULT result) {
    sink_->RecordCall(EffectCallText::call(method, arguments, result).c_str());
}

ULONG Effect::AddRef() {
    return ++references_;
}

ULONG Effect::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT Effect::SetTechnique(D3DXHANDLE technique) {
    HRESULT result = D3DERR_INVALIDCALL;
    for (std::size_t i = 0; technique != nullptr && i < description_.techniques.size(); ++i) {
        if (description_.techniques[i].name == technique) {
            technique_ = static_cast<unsigned>(i);
            result = D3D_OK;
        }
    }
    return report(
        "SetTechnique", [&] { return std::string(EffectCallText::name(technique)); }, result);
}

D3DXHANDLE Effect::GetCurrentTechnique() {
    return description_.techniques[technique_].name.c_str();
}

HRESULT Effect::Begin(UINT* passes, DWORD flags) {
    if (begun_) {
        return report(
            "Begin", [&] { return std::to_string(flags); }, D3DERR_INVALIDCALL);
    }
    report(
        "Begin", [&] { return std::to_string(flags); }, D3D_OK);
    saved_.capture(device_, techniques_[technique_].scope, flags);
    begun_ = true;
    if (passes != nullptr) {
        *passes = static_cast<UINT>(techniques_[technique_].passes.size());
    }
    return D3D_OK;
}

HRESULT Effect::BeginPass(UINT pass) {
    const bool valid = begun_ && activePass_ < 0 && pass < techniques_[technique_].passes.size();
    report(
        "BeginPass", [&] { return std::to_string(pass); }, valid ? D3D_OK : D3DERR_INVALIDCALL);
    if (!valid) {
        return D3DERR_INVALIDCALL;
    }
    activePass_ = static_cast<int>(pass);
    activeTechnique_ = technique_;
    return applyPass(description_.techniques[technique_].passes[pass],
                     techniques_[technique_].passes[pass]);
}

HRESULT Effect::CommitChanges() {
    report("CommitChanges", noArguments, D3D_OK);
    if (activePass_ < 0) {
        return D3D_OK;
    }
    auto& program = techniques_[activeTechnique_].passes[activePass_];
    const HRESULT constants = uploadConstants(program);
    const HRESULT textures =
        applyTextures(description_.techniques[activeTechnique_].passes[activePass_], true);
    return FAILED(constants) ? constants : textures;
}

HRESULT Effect::EndPass() {
    const HRESULT result = activePass_ >= 0 ? D3D_OK : D3DERR_INVALIDCALL;
    activePass_ = -1;
    return report("EndPass", noArguments, result);
}

HRESULT Effect::End() {
    report("End", noArguments, D3D_OK);
    if (!begun_) {
        return D3D_OK;
    }
    activePass_ = -1;
    begun_ = false;
    saved_.restore(device_);
    return D3D_OK;
}

HRESULT Effect::applyPass(const PassDesc& pass, PassProgram& program) {
    HRESULT first = D3D_OK;
    auto keep = [&first](HRESULT result) {
        if (FAILED(result) && SUCCEEDED(first)) {
            first = result;
        }
    };
    for (const auto& [state, value] : pass.renderStates) {
        keep(device_->SetRenderState(state, value));
    }
    keep(device_->SetProgram(program.program));
    keep(uploadConstants(program));
    keep(applyTextures(pass, false));
    return first;
}

HRESULT Effect::uploadConstants(PassProgram& program) {
    HRESULT first = D3D_OK;
    const auto& leaves = parameters_.leaves();
    for (std::size_t i = 0; i < leaves.size(); ++i) {
        const auto& leaf = leaves[i];
        if (program.locations[i] < 0 || program.uploaded[i] == leaf.version) {
            continue;
        }
        const HRESULT result =
            leaf.type.base == BaseType::Float
                ? device_->SetProgramConstantF(program.locations[i], parameters_.floats(leaf),
                                               shapeOf(leaf.type), 1)
                : device_->SetProgramConstantI(program.locations[i], parameters_.ints(leaf),
                                               D3DPCS_SCALAR, 1);
        if (SUCCEEDED(result)) {
            program.uploaded[i] = leaf.version;
        } else if (SUCCEEDED(first)) {
            first = result;
        }
    }
    return first;
}

HRESULT Effect::applyTextures(const PassDesc& pass, bool changedOnly) {
    HRESULT first = D3D_OK;
    const auto& leaves = parameters_.leaves();
    for (unsigned unit : pass.samplers) {
        auto& binding = samplers_[unit];
        const auto& leaf = leaves[binding.textureLeaf];
        if (changedOnly && binding.applied == leaf.version) {
            continue;
        }
        HRESULT result = device_->SetTexture(unit, parameters_.texture(leaf));
        if (!changedOnly) {
            for (const auto& [state, value] : description_.samplers[unit].states) {
                const HRESULT stateResult = device_->SetSamplerState(unit, state, value);
                result = FAILED(result) ? result : stateResult;
            }
        }
        binding.applied = leaf.version;
        if (FAILED(result) && SUCCEEDED(first)) {
            first = result;
        }
    }
    return first;
}

HRESULT Effect::SetBool(D3DXHANDLE parameter, BOOL value) {
    return report(
        "SetBool",
        [&] {
            return EffectCallText::name(parameter) + ", " + (value != FALSE ? "TRUE" : "FALSE");
        },
        parameters_.setBool(parameter, value));
}

HRESULT Effect::SetInt(D3DXHANDLE parameter, INT value) {
    return report(
        "SetInt", [&] { return EffectCallText::name(parameter) + ", " + std::to_string(value); },
        parameters_.setInt(parameter, value));
}

HRESULT Effect::SetFloat(D3DXHANDLE parameter, float value) {
    return report(
        "SetFloat",
        [&] { return EffectCallText::name(parameter) + ", " + EffectCallText::number(value); },
        parameters_.setFloat(parameter, value));
}

HRESULT Effect::SetFloatArray(D3DXHANDLE parameter, const float* values, UINT count) {
    return report(
        "SetFloatArray",
        [&] {
            return EffectCallText::name(parameter) + ", " + EffectCallText::floats(values, count) +
                   ", " + std::to_string(count);
        },
        parameters_.setFloatArray(parameter, values, count));
}

HRESULT Effect::SetVector(D3DXHANDLE parameter, const D3DXVECTOR4* vector) {
    return report(
        "SetVector",
        [&] {
            return EffectCallText::name(parameter) + ", " +
                   EffectCallText::floats(vector != nullptr ? &vector->x : nullptr, 4);
        },
        parameters_.setVector(parameter, vector));
}

HRESULT Effect::SetMatrix(D3DXHANDLE parameter, const D3DXMATRIX* matrix) {
    return report(
        "SetMatrix",
        [&] {
            return EffectCallText::name(parameter) + ", " +
                   EffectCallText::floats(matrix != nullptr ? &matrix->m[0][0] : nullptr, 16);
        },
        parameters_.setMatrix(parameter, matrix));
}

HRESULT Effect::SetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9* texture) {
    return report(
        "SetTexture",
        [&] {
            return EffectCallText::name(parameter) + ", " +
                   (texture != nullptr ? "texture" : "null");
        },
        parameters_.setTexture(parameter, texture));
}

HRESULT Effect::GetBool(D3DXHANDLE parameter, BOOL* value) {
    return report(
        "GetBool", [&] { return EffectCallText::name(parameter); },
        parameters_.getBool(parameter, value));
}

HRESULT Effect::GetInt(D3DXHANDLE parameter, INT* value) {
    return report(
        "GetInt", [&] { return EffectCallText::name(parameter); },
        parameters_.getInt(parameter, value));
}

HRESULT Effect::GetFloat(D3DXHANDLE parameter, float* value) {
    return report(
        "GetFloat", [&] { return EffectCallText::name(parameter); },
        parameters_.getFloat(parameter, value));
}

HRESULT Effect::GetFloatArray(D3DXHANDLE parameter, float* values, UINT count) {
    return report(
        "GetFloatArray",
        [&] { return EffectCallText::name(parameter) + ", " + std::to_string(count); },
        parameters_.getFloatArray(parameter, values, count));
}

HRESULT Effect::GetVector(D3DXHANDLE parameter, D3DXVECTOR4* vector) {
    return report(
        "GetVector", [&] { return EffectCallText::name(parameter); },
        parameters_.getVector(parameter, vector));
}

HRESULT Effect::GetMatrix(D3DXHANDLE parameter, D3DXMATRIX* matrix) {
    return report(
        "GetMatrix", [&] { return EffectCallText::name(parameter); },
        parameters_.getMatrix(parameter, matrix));
}

HRESULT Effect::GetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9** texture) {
    return report(
        "GetTexture", [&] { return EffectCallText::name(parameter); },
        parameters_.getTexture(parameter, texture));
}

}  // namespace fx
