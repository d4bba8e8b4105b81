#include "platform/d3dx9/EffectStateNames.h"

#include <array>

namespace fx {
namespace {

struct NamedState {
    std::string_view name;
    StateInfo info;
};

struct NamedValue {
    StateValueKind kind;
    std::string_view name;
    DWORD value;
};

using K = StateValueKind;

constexpr std::array kRenderStates{
    NamedState{"ZENABLE", {D3DRS_ZENABLE, K::ZBuffer}},
    NamedState{"FILLMODE", {D3DRS_FILLMODE, K::Fill}},
    NamedState{"ZWRITEENABLE", {D3DRS_ZWRITEENABLE, K::Bool}},
    NamedState{"ALPHATESTENABLE", {D3DRS_ALPHATESTENABLE, K::Bool}},
    NamedState{"SRCBLEND", {D3DRS_SRCBLEND, K::Blend}},
    NamedState{"DESTBLEND", {D3DRS_DESTBLEND, K::Blend}},
    NamedState{"CULLMODE", {D3DRS_CULLMODE, K::Cull}},
    NamedState{"ZFUNC", {D3DRS_ZFUNC, K::Compare}},
    NamedState{"ALPHAREF", {D3DRS_ALPHAREF, K::Integer}},
    NamedState{"ALPHAFUNC", {D3DRS_ALPHAFUNC, K::Compare}},
    NamedState{"ALPHABLENDENABLE", {D3DRS_ALPHABLENDENABLE, K::Bool}},
    NamedState{"FOGENABLE", {D3DRS_FOGENABLE, K::Bool}},
    NamedState{"SPECULARENABLE", {D3DRS_SPECULARENABLE, K::Bool}},
    NamedState{"STENCILENABLE", {D3DRS_STENCILENABLE, K::Bool}},
    NamedState{"TEXTUREFACTOR", {D3DRS_TEXTUREFACTOR, K::Integer}},
    NamedState{"LIGHTING", {D3DRS_LIGHTING, K::Bool}},
    NamedState{"AMBIENT", {D3DRS_AMBIENT, K::Integer}},
    NamedState{"COLORVERTEX", {D3DRS_COLORVERTEX, K::Bool}},
    NamedState{"COLORWRITEENABLE", {D3DRS_COLORWRITEENABLE, K::Integer}},
    NamedState{"BLENDOP", {D3DRS_BLENDOP, K::BlendOp}},
    NamedState{"SCISSORTESTENABLE", {D3DRS_SCISSORTESTENABLE, K::Bool}},
    NamedState{"BLENDFACTOR", {D3DRS_BLENDFACTOR, K::Integer}},
    NamedState{"SRGBWRITEENABLE", {D3DRS_SRGBWRITEENABLE, K::Bool}},
    NamedState{"SEPARATEALPHABLENDENABLE", {D3DRS_SEPARATEALPHABLENDENABLE, K::Bool}},
};

constexpr std::array kSamplerStates{
    NamedState{"ADDRESSU", {D3DSAMP_ADDRESSU, K::Address}},
    NamedState{"ADDRESSV", {D3DSAMP_ADDRESSV, K::Address}},
    NamedState{"ADDRESSW", {D3DSAMP_ADDRESSW, K::Address}},
    NamedState{"BORDERCOLOR", {D3DSAMP_BORDERCOLOR, K::Integer}},
    NamedState{"MAGFILTER", {D3DSAMP_MAGFILTER, K::Filter}},
    NamedState{"MINFILTER", {D3DSAMP_MINFILTER, K::Filter}},
    NamedState{"MIPFILTER", {D3DSAMP_MIPFILTER, K::Filter}},
    NamedState{"MIPMAPLODBIAS", {D3DSAMP_MIPMAPLODBIAS, K::Float}},
    NamedState{"MAXMIPLEVEL", {D3DSAMP_MAXMIPLEVEL, K::Integer}},
    NamedState{"MAXANISOTROPY", {D3DSAMP_MAXANISOTROPY, K::Integer}},
    NamedState{"SRGBTEXTURE", {D3DSAMP_SRGBTEXTURE, K::Bool}},
};

constexpr std::array kValues{
    NamedValue{K::Cull, "NONE", D3DCULL_NONE},
    NamedValue{K::Cull, "CW", D3DCULL_CW},
    NamedValue{K::Cull, "CCW", D3DCULL_CCW},
    NamedValue{K::Blend, "ZERO", D3DBLEND_ZERO},
    NamedValue{K::Blend, "ONE", D3DBLEND_ONE},
    NamedValue{K::Blend, "SRCCOLOR", D3DBLEND_SRCCOLOR},
    NamedValue{K::Blend, "INVSRCCOLOR", D3DBLEND_INVSRCCOLOR},
    NamedValue{K::Blend, "SRCALPHA", D3DBLEND_SRCALPHA},
    NamedValue{K::Blend, "INVSRCALPHA", D3DBLEND_INVSRCALPHA},
    NamedValue{K::Blend, "DESTALPHA", D3DBLEND_DESTALPHA},
    NamedValue{K::Blend, "INVDESTALPHA", D3DBLEND_INVDESTALPHA},
    NamedValue{K::Blend, "DESTCOLOR", D3DBLEND_DESTCOLOR},
    NamedValue{K::Blend, "INVDESTCOLOR", D3DBLEND_INVDESTCOLOR},
    NamedValue{K::Blend, "SRCALPHASAT", D3DBLEND_SRCALPHASAT},
    NamedValue{K::Blend, "BOTHSRCALPHA", D3DBLEND_BOTHSRCALPHA},
    NamedValue{K::Blend, "BOTHINVSRCALPHA", D3DBLEND_BOTHINVSRCALPHA},
    NamedValue{K::Blend, "BLENDFACTOR", D3DBLEND_BLENDFACTOR},
    NamedValue{K::Blend, "INVBLENDFACTOR", D3DBLEND_INVBLENDFACTOR},
    NamedValue{K::BlendOp, "ADD", D3DBLENDOP_ADD},
    NamedValue{K::BlendOp, "SUBTRACT", D3DBLENDOP_SUBTRACT},
    NamedValue{K::BlendOp, "REVSUBTRACT", D3DBLENDOP_REVSUBTRACT},
    NamedValue{K::BlendOp, "MIN", D3DBLENDOP_MIN},
    NamedValue{K::BlendOp, "MAX", D3DBLENDOP_MAX},
    NamedValue{K::Compare, "NEVER", D3DCMP_NEVER},
    NamedValue{K::Compare, "LESS", D3DCMP_LESS},
    NamedValue{K::Compare, "EQUAL", D3DCMP_EQUAL},
    NamedValue{K::Compare, "LESSEQUAL", D3DCMP_LESSEQUAL},
    NamedValue{K::Compare, "GREATER", D3DCMP_GREATER},
    NamedValue{K::Compare, "NOTEQUAL", D3DCMP_NOTEQUAL},
    NamedValue{K::Compare, "GREATEREQUAL", D3DCMP_GREATEREQUAL},
    NamedValue{K::Compare, "ALWAYS", D3DCMP_ALWAYS},
    NamedValue{K::ZBuffer, "USEW", D3DZB_USEW},
    NamedValue{K::Fill, "POINT", D3DFILL_POINT},
    NamedValue{K::Fill, "WIREFRAME", D3DFILL_WIREFRAME},
    NamedValue{K::Fill, "SOLID", D3DFILL_SOLID},
    NamedValue{K::Address, "WRAP", D3DTADDRESS_WRAP},
    NamedValue{K::Address, "MIRROR", D3DTADDRESS_MIRROR},
    NamedValue{K::Address, "CLAMP", D3DTADDRESS_CLAMP},
    NamedValue{K::Address, "BORDER", D3DTADDRESS_BORDER},
    NamedValue{K::Address, "MIRRORONCE", D3DTADDRESS_MIRRORONCE},
    NamedValue{K::Filter, "NONE", D3DTEXF_NONE},
    NamedValue{K::Filter, "POINT", D3DTEXF_POINT},
    NamedValue{K::Filter, "LINEAR", D3DTEXF_LINEAR},
    NamedValue{K::Filter, "ANISOTROPIC", D3DTEXF_ANISOTROPIC},
};

template <typename Table>
std::optional<StateInfo> find(const Table& table, std::string_view name) {
    for (const auto& entry : table) {
        if (entry.name == name) {
            return entry.info;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<StateInfo> EffectStateNames::renderState(std::string_view name) {
    return find(kRenderStates, name);
}

std::optional<StateInfo> EffectStateNames::samplerState(std::string_view name) {
    return find(kSamplerStates, name);
}

std::optional<DWORD> EffectStateNames::namedValue(StateValueKind kind, std::string_view name) {
    for (const auto& entry : kValues) {
        if (entry.kind == kind && entry.name == name) {
            return entry.value;
        }
    }
    return std::nullopt;
}

}  // namespace fx
