#include "platform/d3d9/core/CapturableState.h"

#include "platform/d3d9/core/DeviceRules.h"

CapturableState::CapturableState(bool autoDepthStencil) {
    render[D3DRS_ZENABLE] = autoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
    render[D3DRS_FILLMODE] = D3DFILL_SOLID;
    render[D3DRS_ZWRITEENABLE] = TRUE;
    render[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    render[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    render[D3DRS_CULLMODE] = D3DCULL_CCW;
    render[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    render[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
    render[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFFu;
    render[D3DRS_LIGHTING] = TRUE;
    render[D3DRS_COLORVERTEX] = TRUE;
    render[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
    render[D3DRS_SPECULARMATERIALSOURCE] = D3DMCS_COLOR2;
    render[D3DRS_AMBIENTMATERIALSOURCE] = D3DMCS_MATERIAL;
    render[D3DRS_EMISSIVEMATERIALSOURCE] = D3DMCS_MATERIAL;
    render[D3DRS_COLORWRITEENABLE] = 0xF;
    render[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
    render[D3DRS_BLENDFACTOR] = 0xFFFFFFFFu;
    // Every other render state starts at 0 (FALSE): alpha test, blending, fog, specular, stencil,
    // scissor test, sRGB writes, separate alpha blending, the alpha reference and the ambient.

    for (auto& s : sampler) {
        s[D3DSAMP_ADDRESSU] = D3DTADDRESS_WRAP;
        s[D3DSAMP_ADDRESSV] = D3DTADDRESS_WRAP;
        s[D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
        s[D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
        s[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
        s[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
        s[D3DSAMP_MAXANISOTROPY] = 1;
    }

    for (DWORD i = 0; i < kStages; ++i) {
        auto& s = stage[i];
        s[D3DTSS_COLOROP] = i == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        s[D3DTSS_ALPHAOP] = i == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        s[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        s[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        s[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        s[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        s[D3DTSS_COLORARG0] = D3DTA_CURRENT;
        s[D3DTSS_ALPHAARG0] = D3DTA_CURRENT;
        s[D3DTSS_RESULTARG] = D3DTA_CURRENT;
        s[D3DTSS_TEXCOORDINDEX] = i;
        s[D3DTSS_TEXTURETRANSFORMFLAGS] = D3DTTFF_DISABLE;
    }

    transform.fill(DeviceRules::identity());
}

int CapturableState::samplerSlot(DWORD sampler) {
    if (sampler < 16) {
        return static_cast<int>(sampler);
    }
    if (sampler >= D3DDMAPSAMPLER && sampler <= D3DVERTEXTEXTURESAMPLER3) {
        return static_cast<int>(kDisplacementMapSlot + sampler - D3DDMAPSAMPLER);
    }
    return -1;
}

int CapturableState::transformSlot(DWORD state) {
    if (state == D3DTS_VIEW) {
        return kView;
    }
    if (state == D3DTS_PROJECTION) {
        return kProjection;
    }
    if (state >= D3DTS_TEXTURE0 && state <= D3DTS_TEXTURE7) {
        return 2 + static_cast<int>(state - D3DTS_TEXTURE0);
    }
    if (state >= D3DTS_WORLD && state < D3DTS_WORLDMATRIX(256)) {
        return kWorld + static_cast<int>(state - D3DTS_WORLD);
    }
    return -1;
}
