#include "platform/d3d9/gl/GLStateShadow.h"

bool GLStateShadow::setRenderState(DWORD state, DWORD value) {
    if (state_.render[state] == value) {
        return false;
    }
    state_.render[state] = value;
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
    if (state_.sampler[static_cast<unsigned>(slot)][type] == value) {
        return false;
    }
    state_.sampler[static_cast<unsigned>(slot)][type] = value;
    return true;
}

bool GLStateShadow::setStageState(DWORD stage, DWORD type, DWORD value) {
    if (state_.stage[stage][type] == value) {
        return false;
    }
    state_.stage[stage][type] = value;
    touch(StateGroup::FixedFunction);
    return true;
}

void GLStateShadow::setTransform(int slot, const D3DMATRIX& matrix) {
    state_.transform[static_cast<unsigned>(slot)] = matrix;
    touch(StateGroup::FixedFunction);
}
