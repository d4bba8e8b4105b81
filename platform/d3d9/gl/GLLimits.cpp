#include "platform/d3d9/gl/GLLimits.h"

#include "platform/d3d9/core/CapturableState.h"

namespace {

bool handledOperation(DWORD op) {
    switch (op) {
        case D3DTOP_DISABLE:
        case D3DTOP_SELECTARG1:
        case D3DTOP_SELECTARG2:
        case D3DTOP_MODULATE:
        case D3DTOP_MODULATE2X:
        case D3DTOP_MODULATE4X:
        case D3DTOP_ADD:
        case D3DTOP_ADDSIGNED:
        case D3DTOP_SUBTRACT:
            return true;
        default:
            return false;
    }
}

bool handledArgument(DWORD arg) {
    if ((arg & ~(D3DTA_SELECTMASK | D3DTA_COMPLEMENT | D3DTA_ALPHAREPLICATE)) != 0) {
        return false;
    }
    switch (arg & D3DTA_SELECTMASK) {
        case D3DTA_DIFFUSE:
        case D3DTA_CURRENT:
        case D3DTA_TEXTURE:
        case D3DTA_TFACTOR:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool GLLimits::carriesOutRenderState(DWORD state, DWORD value) {
    switch (state) {
        case D3DRS_FOGENABLE:
        case D3DRS_SPECULARENABLE:
        case D3DRS_STENCILENABLE:
        case D3DRS_SCISSORTESTENABLE:
        case D3DRS_SRGBWRITEENABLE:
        case D3DRS_SEPARATEALPHABLENDENABLE:
        case D3DRS_VERTEXBLEND:
            return value == 0;
        default:
            return true;
    }
}

bool GLLimits::carriesOutSampler(int slot) {
    return slot != static_cast<int>(CapturableState::kDisplacementMapSlot);
}

bool GLLimits::carriesOutStageState(DWORD stage, DWORD type, DWORD value) {
    switch (type) {
        case D3DTSS_COLOROP:
            return stage == 0 ? handledOperation(value) : value == D3DTOP_DISABLE;
        case D3DTSS_ALPHAOP:
            // Direct3D ignores a later stage's alpha operation while its colour is disabled.
            return stage != 0 || handledOperation(value);
        case D3DTSS_COLORARG1:
        case D3DTSS_COLORARG2:
        case D3DTSS_ALPHAARG1:
        case D3DTSS_ALPHAARG2:
            return stage != 0 || handledArgument(value);
        case D3DTSS_RESULTARG:
            return stage != 0 || value == D3DTA_CURRENT;
        case D3DTSS_TEXCOORDINDEX:
            return stage != 0 || value == 0;
        case D3DTSS_TEXTURETRANSFORMFLAGS:
            return stage != 0 || value == D3DTTFF_DISABLE;
        default:
            return true;  // the arguments 0 and the constant, read by no handled operation
    }
}

bool GLLimits::carriesOutDeclaration(const D3DVERTEXELEMENT9* elements) {
    for (UINT i = 0; i <= MAXD3DDECLLENGTH && elements[i].Stream != 0xFF; ++i) {
        if (elements[i].Usage == D3DDECLUSAGE_POSITIONT) {
            return false;
        }
    }
    return true;
}
