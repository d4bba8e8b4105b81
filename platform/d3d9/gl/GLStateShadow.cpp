#include "platform/d3d9/gl/GLStateShadow.h"

namespace {

D3DMATRIX identity() {
    D3DMATRIX m{};
    for (int i = 0; i < 4; ++i) {
        m.m[i][i] = 1.0f;
    }
    return m;
}

}  // namespace

GLStateShadow::GLStateShadow(bool autoDepthStencil) {
    auto& rs = renderStates_;
    rs[D3DRS_ZENABLE] = autoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
    rs[D3DRS_FILLMODE] = D3DFILL_SOLID;
    rs[D3DRS_ZWRITEENABLE] = TRUE;
    rs[D3DRS_ALPHATESTENABLE] = FALSE;
    rs[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    rs[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    rs[D3DRS_CULLMODE] = D3DCULL_CCW;
    rs[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    rs[D3DRS_ALPHAREF] = 0;
    rs[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
    rs[D3DRS_ALPHABLENDENABLE] = FALSE;
    rs[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFFu;
    rs[D3DRS_LIGHTING] = TRUE;
    rs[D3DRS_AMBIENT] = 0;
    rs[D3DRS_COLORVERTEX] = TRUE;
    rs[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
    rs[D3DRS_SPECULARMATERIALSOURCE] = D3DMCS_COLOR2;
    rs[D3DRS_AMBIENTMATERIALSOURCE] = D3DMCS_MATERIAL;
    rs[D3DRS_EMISSIVEMATERIALSOURCE] = D3DMCS_MATERIAL;
    rs[D3DRS_COLORWRITEENABLE] = 0xF;
    rs[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
    rs[D3DRS_BLENDFACTOR] = 0xFFFFFFFFu;

    for (auto& sampler : samplerStates_) {
        sampler[D3DSAMP_ADDRESSU] = D3DTADDRESS_WRAP;
        sampler[D3DSAMP_ADDRESSV] = D3DTADDRESS_WRAP;
        sampler[D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
        sampler[D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
        sampler[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
        sampler[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
        sampler[D3DSAMP_MAXANISOTROPY] = 1;
    }

    for (DWORD stage = 0; stage < kStageCount; ++stage) {
        auto& s = stageStates_[stage];
        s[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        s[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        s[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        s[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        s[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        s[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        s[D3DTSS_COLORARG0] = D3DTA_CURRENT;
        s[D3DTSS_ALPHAARG0] = D3DTA_CURRENT;
        s[D3DTSS_RESULTARG] = D3DTA_CURRENT;
        s[D3DTSS_TEXCOORDINDEX] = stage;
        s[D3DTSS_TEXTURETRANSFORMFLAGS] = D3DTTFF_DISABLE;
    }

    transforms_.fill(identity());
}

int GLStateShadow::samplerSlot(DWORD sampler) {
    if (sampler < 16) {
        return static_cast<int>(sampler);
    }
    if (sampler >= D3DVERTEXTEXTURESAMPLER0 && sampler <= D3DVERTEXTEXTURESAMPLER3) {
        return static_cast<int>(16 + sampler - D3DVERTEXTEXTURESAMPLER0);
    }
    return -1;
}

bool GLStateShadow::setRenderState(DWORD state, DWORD value) {
    if (renderStates_[state] == value) {
        return false;
    }
    renderStates_[state] = value;
    touchGroupOf(state);
    return true;
}

void GLStateShadow::touchGroupOf(DWORD state) {
    switch (state) {
        case D3DRS_ALPHABLENDENABLE:
        case D3DRS_SRCBLEND:
        case D3DRS_DESTBLEND:
        case D3DRS_BLENDOP:
        case D3DRS_BLENDFACTOR:
        case D3DRS_SEPARATEALPHABLENDENABLE:
            touch(StateGroup::Blend);
            break;
        case D3DRS_ZENABLE:
        case D3DRS_ZWRITEENABLE:
        case D3DRS_ZFUNC:
            touch(StateGroup::Depth);
            break;
        case D3DRS_CULLMODE:
        case D3DRS_FILLMODE:
            touch(StateGroup::Raster);
            break;
        case D3DRS_COLORWRITEENABLE:
            touch(StateGroup::ColorWrite);
            break;
        default:
            touch(StateGroup::FixedFunction);
            break;
    }
}

bool GLStateShadow::setSamplerState(int slot, DWORD type, DWORD value) {
    if (samplerStates_[slot][type] == value) {
        return false;
    }
    samplerStates_[slot][type] = value;
    return true;
}

bool GLStateShadow::setStageState(DWORD stage, DWORD type, DWORD value) {
    if (stageStates_[stage][type] == value) {
        return false;
    }
    stageStates_[stage][type] = value;
    touch(StateGroup::FixedFunction);
    return true;
}

int GLStateShadow::transformSlot(D3DTRANSFORMSTATETYPE state) {
    if (state == D3DTS_VIEW) {
        return kView;
    }
    if (state == D3DTS_PROJECTION) {
        return kProjection;
    }
    if (state >= D3DTS_TEXTURE0 && state <= D3DTS_TEXTURE7) {
        return 2 + static_cast<int>(state - D3DTS_TEXTURE0);
    }
    if (state == D3DTS_WORLD) {
        return kWorld;
    }
    return -1;
}

void GLStateShadow::setTransform(int slot, const D3DMATRIX& matrix) {
    transforms_[slot] = matrix;
    touch(StateGroup::FixedFunction);
}
