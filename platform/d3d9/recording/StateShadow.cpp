#include "platform/d3d9/recording/StateShadow.h"

namespace {

constexpr DWORD kStageCount = 8;
constexpr DWORD kPixelSamplers = 16;

}  // namespace

StateShadow::StateShadow(bool autoDepthStencil)
    : render_{
          {D3DRS_ZENABLE, autoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE},
          {D3DRS_FILLMODE, D3DFILL_SOLID},
          {D3DRS_ZWRITEENABLE, TRUE},
          {D3DRS_ALPHATESTENABLE, FALSE},
          {D3DRS_SRCBLEND, D3DBLEND_ONE},
          {D3DRS_DESTBLEND, D3DBLEND_ZERO},
          {D3DRS_CULLMODE, D3DCULL_CCW},
          {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
          {D3DRS_ALPHAREF, 0},
          {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS},
          {D3DRS_ALPHABLENDENABLE, FALSE},
          {D3DRS_FOGENABLE, FALSE},
          {D3DRS_SPECULARENABLE, FALSE},
          {D3DRS_STENCILENABLE, FALSE},
          {D3DRS_TEXTUREFACTOR, 0xFFFFFFFFu},
          {D3DRS_LIGHTING, TRUE},
          {D3DRS_AMBIENT, 0},
          {D3DRS_COLORVERTEX, TRUE},
          {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
          {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
          {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL},
          {D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL},
          {D3DRS_COLORWRITEENABLE, 0xFu},
          {D3DRS_BLENDOP, D3DBLENDOP_ADD},
          {D3DRS_SCISSORTESTENABLE, FALSE},
          {D3DRS_BLENDFACTOR, 0xFFFFFFFFu},
          {D3DRS_SRGBWRITEENABLE, 0},
          {D3DRS_SEPARATEALPHABLENDENABLE, FALSE},
      } {}

bool StateShadow::validSampler(DWORD sampler) {
    return sampler < kPixelSamplers ||
           (sampler >= D3DDMAPSAMPLER && sampler <= D3DVERTEXTEXTURESAMPLER3);
}

bool StateShadow::validStage(DWORD stage) {
    return stage < kStageCount;
}

bool StateShadow::validTransform(DWORD state) {
    return state == D3DTS_VIEW || state == D3DTS_PROJECTION ||
           (state >= D3DTS_TEXTURE0 && state <= D3DTS_TEXTURE7) ||
           (state >= D3DTS_WORLD && state < D3DTS_WORLDMATRIX(256));
}

D3DMATRIX StateShadow::identity() {
    D3DMATRIX m{};
    for (int i = 0; i < 4; ++i) {
        m.m[i][i] = 1.0f;
    }
    return m;
}

DWORD StateShadow::renderState(DWORD state) const {
    const auto found = render_.find(state);
    return found == render_.end() ? 0 : found->second;
}

DWORD StateShadow::samplerState(DWORD sampler, DWORD type) const {
    const auto found = sampler_.find({sampler, type});
    return found == sampler_.end() ? defaultSamplerState(type) : found->second;
}

void StateShadow::setSamplerState(DWORD sampler, DWORD type, DWORD value) {
    sampler_[{sampler, type}] = value;
}

DWORD StateShadow::textureStageState(DWORD stage, DWORD type) const {
    const auto found = stage_.find({stage, type});
    return found == stage_.end() ? defaultStageState(stage, type) : found->second;
}

void StateShadow::setTextureStageState(DWORD stage, DWORD type, DWORD value) {
    stage_[{stage, type}] = value;
}

D3DMATRIX StateShadow::transform(DWORD state) const {
    const auto found = transforms_.find(state);
    return found == transforms_.end() ? identity() : found->second;
}

DWORD StateShadow::defaultSamplerState(DWORD type) {
    switch (type) {
        case D3DSAMP_ADDRESSU:
        case D3DSAMP_ADDRESSV:
        case D3DSAMP_ADDRESSW:
            return D3DTADDRESS_WRAP;
        case D3DSAMP_MAGFILTER:
        case D3DSAMP_MINFILTER:
            return D3DTEXF_POINT;
        case D3DSAMP_MAXANISOTROPY:
            return 1;
        default:
            return 0;  // border colour, mip filter NONE, LOD bias 0.0f, max mip level, sRGB
    }
}

DWORD StateShadow::defaultStageState(DWORD stage, DWORD type) {
    switch (type) {
        case D3DTSS_COLOROP:
            return stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        case D3DTSS_ALPHAOP:
            return stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        case D3DTSS_COLORARG1:
        case D3DTSS_ALPHAARG1:
            return D3DTA_TEXTURE;
        case D3DTSS_COLORARG2:
        case D3DTSS_ALPHAARG2:
        case D3DTSS_COLORARG0:
        case D3DTSS_ALPHAARG0:
        case D3DTSS_RESULTARG:
            return D3DTA_CURRENT;
        case D3DTSS_TEXCOORDINDEX:
            return stage;
        default:
            return 0;
    }
}
