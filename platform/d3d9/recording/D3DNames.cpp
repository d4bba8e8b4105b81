#include "platform/d3d9/recording/D3DNames.h"

#include <cstdio>
#include <initializer_list>
#include <utility>

namespace {

using NameTable = std::initializer_list<std::pair<DWORD, const char*>>;

std::string lookup(NameTable table, DWORD value) {
    for (const auto& [key, name] : table) {
        if (key == value) {
            return name;
        }
    }
    return std::to_string(value);
}

// Flag words print as NAME|NAME; bits without a name are appended in hex.
std::string flags(NameTable table, DWORD value) {
    if (value == 0) {
        return "0";
    }
    std::string text;
    DWORD rest = value;
    for (const auto& [bit, name] : table) {
        if (bit != 0 && (rest & bit) == bit) {
            text += text.empty() ? "" : "|";
            text += name;
            rest &= ~bit;
        }
    }
    if (rest != 0) {
        text += text.empty() ? "" : "|";
        text += D3DNames::hex(rest);
    }
    return text;
}

constexpr NameTable kRenderStates = {
    {D3DRS_ZENABLE, "D3DRS_ZENABLE"},
    {D3DRS_FILLMODE, "D3DRS_FILLMODE"},
    {D3DRS_ZWRITEENABLE, "D3DRS_ZWRITEENABLE"},
    {D3DRS_ALPHATESTENABLE, "D3DRS_ALPHATESTENABLE"},
    {D3DRS_SRCBLEND, "D3DRS_SRCBLEND"},
    {D3DRS_DESTBLEND, "D3DRS_DESTBLEND"},
    {D3DRS_CULLMODE, "D3DRS_CULLMODE"},
    {D3DRS_ZFUNC, "D3DRS_ZFUNC"},
    {D3DRS_ALPHAREF, "D3DRS_ALPHAREF"},
    {D3DRS_ALPHAFUNC, "D3DRS_ALPHAFUNC"},
    {D3DRS_ALPHABLENDENABLE, "D3DRS_ALPHABLENDENABLE"},
    {D3DRS_FOGENABLE, "D3DRS_FOGENABLE"},
    {D3DRS_SPECULARENABLE, "D3DRS_SPECULARENABLE"},
    {D3DRS_STENCILENABLE, "D3DRS_STENCILENABLE"},
    {D3DRS_TEXTUREFACTOR, "D3DRS_TEXTUREFACTOR"},
    {D3DRS_LIGHTING, "D3DRS_LIGHTING"},
    {D3DRS_AMBIENT, "D3DRS_AMBIENT"},
    {D3DRS_COLORVERTEX, "D3DRS_COLORVERTEX"},
    {D3DRS_DIFFUSEMATERIALSOURCE, "D3DRS_DIFFUSEMATERIALSOURCE"},
    {D3DRS_SPECULARMATERIALSOURCE, "D3DRS_SPECULARMATERIALSOURCE"},
    {D3DRS_AMBIENTMATERIALSOURCE, "D3DRS_AMBIENTMATERIALSOURCE"},
    {D3DRS_EMISSIVEMATERIALSOURCE, "D3DRS_EMISSIVEMATERIALSOURCE"},
    {D3DRS_COLORWRITEENABLE, "D3DRS_COLORWRITEENABLE"},
    {D3DRS_BLENDOP, "D3DRS_BLENDOP"},
    {D3DRS_SCISSORTESTENABLE, "D3DRS_SCISSORTESTENABLE"},
    {D3DRS_BLENDFACTOR, "D3DRS_BLENDFACTOR"},
    {D3DRS_SRGBWRITEENABLE, "D3DRS_SRGBWRITEENABLE"},
    {D3DRS_SEPARATEALPHABLENDENABLE, "D3DRS_SEPARATEALPHABLENDENABLE"},
};

constexpr NameTable kCompare = {
    {D3DCMP_NEVER, "D3DCMP_NEVER"},
    {D3DCMP_LESS, "D3DCMP_LESS"},
    {D3DCMP_EQUAL, "D3DCMP_EQUAL"},
    {D3DCMP_LESSEQUAL, "D3DCMP_LESSEQUAL"},
    {D3DCMP_GREATER, "D3DCMP_GREATER"},
    {D3DCMP_NOTEQUAL, "D3DCMP_NOTEQUAL"},
    {D3DCMP_GREATEREQUAL, "D3DCMP_GREATEREQUAL"},
    {D3DCMP_ALWAYS, "D3DCMP_ALWAYS"},
};

constexpr NameTable kBlend = {
    {D3DBLEND_ZERO, "D3DBLEND_ZERO"},
    {D3DBLEND_ONE, "D3DBLEND_ONE"},
    {D3DBLEND_SRCCOLOR, "D3DBLEND_SRCCOLOR"},
    {D3DBLEND_INVSRCCOLOR, "D3DBLEND_INVSRCCOLOR"},
    {D3DBLEND_SRCALPHA, "D3DBLEND_SRCALPHA"},
    {D3DBLEND_INVSRCALPHA, "D3DBLEND_INVSRCALPHA"},
    {D3DBLEND_DESTALPHA, "D3DBLEND_DESTALPHA"},
    {D3DBLEND_INVDESTALPHA, "D3DBLEND_INVDESTALPHA"},
    {D3DBLEND_DESTCOLOR, "D3DBLEND_DESTCOLOR"},
    {D3DBLEND_INVDESTCOLOR, "D3DBLEND_INVDESTCOLOR"},
    {D3DBLEND_SRCALPHASAT, "D3DBLEND_SRCALPHASAT"},
    {D3DBLEND_BOTHSRCALPHA, "D3DBLEND_BOTHSRCALPHA"},
    {D3DBLEND_BOTHINVSRCALPHA, "D3DBLEND_BOTHINVSRCALPHA"},
    {D3DBLEND_BLENDFACTOR, "D3DBLEND_BLENDFACTOR"},
    {D3DBLEND_INVBLENDFACTOR, "D3DBLEND_INVBLENDFACTOR"},
};

constexpr NameTable kBlendOp = {
    {D3DBLENDOP_ADD, "D3DBLENDOP_ADD"},
    {D3DBLENDOP_SUBTRACT, "D3DBLENDOP_SUBTRACT"},
    {D3DBLENDOP_REVSUBTRACT, "D3DBLENDOP_REVSUBTRACT"},
    {D3DBLENDOP_MIN, "D3DBLENDOP_MIN"},
    {D3DBLENDOP_MAX, "D3DBLENDOP_MAX"},
};

constexpr NameTable kCull = {
    {D3DCULL_NONE, "D3DCULL_NONE"}, {D3DCULL_CW, "D3DCULL_CW"}, {D3DCULL_CCW, "D3DCULL_CCW"}};

constexpr NameTable kFill = {
    {D3DFILL_POINT, "D3DFILL_POINT"},
    {D3DFILL_WIREFRAME, "D3DFILL_WIREFRAME"},
    {D3DFILL_SOLID, "D3DFILL_SOLID"},
};

constexpr NameTable kMaterialSource = {{D3DMCS_MATERIAL, "D3DMCS_MATERIAL"},
                                       {D3DMCS_COLOR1, "D3DMCS_COLOR1"},
                                       {D3DMCS_COLOR2, "D3DMCS_COLOR2"}};

constexpr NameTable kSamplerStates = {
    {D3DSAMP_ADDRESSU, "D3DSAMP_ADDRESSU"},       {D3DSAMP_ADDRESSV, "D3DSAMP_ADDRESSV"},
    {D3DSAMP_ADDRESSW, "D3DSAMP_ADDRESSW"},       {D3DSAMP_BORDERCOLOR, "D3DSAMP_BORDERCOLOR"},
    {D3DSAMP_MAGFILTER, "D3DSAMP_MAGFILTER"},     {D3DSAMP_MINFILTER, "D3DSAMP_MINFILTER"},
    {D3DSAMP_MIPFILTER, "D3DSAMP_MIPFILTER"},     {D3DSAMP_MIPMAPLODBIAS, "D3DSAMP_MIPMAPLODBIAS"},
    {D3DSAMP_MAXMIPLEVEL, "D3DSAMP_MAXMIPLEVEL"}, {D3DSAMP_MAXANISOTROPY, "D3DSAMP_MAXANISOTROPY"},
    {D3DSAMP_SRGBTEXTURE, "D3DSAMP_SRGBTEXTURE"},
};

constexpr NameTable kAddress = {
    {D3DTADDRESS_WRAP, "D3DTADDRESS_WRAP"},
    {D3DTADDRESS_MIRROR, "D3DTADDRESS_MIRROR"},
    {D3DTADDRESS_CLAMP, "D3DTADDRESS_CLAMP"},
    {D3DTADDRESS_BORDER, "D3DTADDRESS_BORDER"},
    {D3DTADDRESS_MIRRORONCE, "D3DTADDRESS_MIRRORONCE"},
};

constexpr NameTable kFilter = {
    {D3DTEXF_NONE, "D3DTEXF_NONE"},
    {D3DTEXF_POINT, "D3DTEXF_POINT"},
    {D3DTEXF_LINEAR, "D3DTEXF_LINEAR"},
    {D3DTEXF_ANISOTROPIC, "D3DTEXF_ANISOTROPIC"},
};

constexpr NameTable kStageStates = {
    {D3DTSS_COLOROP, "D3DTSS_COLOROP"},
    {D3DTSS_COLORARG1, "D3DTSS_COLORARG1"},
    {D3DTSS_COLORARG2, "D3DTSS_COLORARG2"},
    {D3DTSS_ALPHAOP, "D3DTSS_ALPHAOP"},
    {D3DTSS_ALPHAARG1, "D3DTSS_ALPHAARG1"},
    {D3DTSS_ALPHAARG2, "D3DTSS_ALPHAARG2"},
    {D3DTSS_TEXCOORDINDEX, "D3DTSS_TEXCOORDINDEX"},
    {D3DTSS_TEXTURETRANSFORMFLAGS, "D3DTSS_TEXTURETRANSFORMFLAGS"},
    {D3DTSS_COLORARG0, "D3DTSS_COLORARG0"},
    {D3DTSS_ALPHAARG0, "D3DTSS_ALPHAARG0"},
    {D3DTSS_RESULTARG, "D3DTSS_RESULTARG"},
    {D3DTSS_CONSTANT, "D3DTSS_CONSTANT"},
};

constexpr NameTable kTextureOps = {
    {D3DTOP_DISABLE, "D3DTOP_DISABLE"},
    {D3DTOP_SELECTARG1, "D3DTOP_SELECTARG1"},
    {D3DTOP_SELECTARG2, "D3DTOP_SELECTARG2"},
    {D3DTOP_MODULATE, "D3DTOP_MODULATE"},
    {D3DTOP_MODULATE2X, "D3DTOP_MODULATE2X"},
    {D3DTOP_MODULATE4X, "D3DTOP_MODULATE4X"},
    {D3DTOP_ADD, "D3DTOP_ADD"},
    {D3DTOP_ADDSIGNED, "D3DTOP_ADDSIGNED"},
    {D3DTOP_SUBTRACT, "D3DTOP_SUBTRACT"},
    {D3DTOP_BLENDTEXTUREALPHA, "D3DTOP_BLENDTEXTUREALPHA"},
    {D3DTOP_MULTIPLYADD, "D3DTOP_MULTIPLYADD"},
    {D3DTOP_LERP, "D3DTOP_LERP"},
};

constexpr NameTable kTextureArgs = {
    {D3DTA_DIFFUSE, "D3DTA_DIFFUSE"},   {D3DTA_CURRENT, "D3DTA_CURRENT"},
    {D3DTA_TEXTURE, "D3DTA_TEXTURE"},   {D3DTA_TFACTOR, "D3DTA_TFACTOR"},
    {D3DTA_SPECULAR, "D3DTA_SPECULAR"}, {D3DTA_TEMP, "D3DTA_TEMP"},
    {D3DTA_CONSTANT, "D3DTA_CONSTANT"},
};

constexpr NameTable kPrimitives = {
    {D3DPT_POINTLIST, "D3DPT_POINTLIST"},         {D3DPT_LINELIST, "D3DPT_LINELIST"},
    {D3DPT_LINESTRIP, "D3DPT_LINESTRIP"},         {D3DPT_TRIANGLELIST, "D3DPT_TRIANGLELIST"},
    {D3DPT_TRIANGLESTRIP, "D3DPT_TRIANGLESTRIP"}, {D3DPT_TRIANGLEFAN, "D3DPT_TRIANGLEFAN"},
};

constexpr NameTable kFormats = {
    {D3DFMT_UNKNOWN, "D3DFMT_UNKNOWN"},
    {D3DFMT_R8G8B8, "D3DFMT_R8G8B8"},
    {D3DFMT_A8R8G8B8, "D3DFMT_A8R8G8B8"},
    {D3DFMT_X8R8G8B8, "D3DFMT_X8R8G8B8"},
    {D3DFMT_A8, "D3DFMT_A8"},
    {D3DFMT_L8, "D3DFMT_L8"},
    {D3DFMT_A8L8, "D3DFMT_A8L8"},
    {D3DFMT_D32, "D3DFMT_D32"},
    {D3DFMT_D24S8, "D3DFMT_D24S8"},
    {D3DFMT_D24X8, "D3DFMT_D24X8"},
    {D3DFMT_D16, "D3DFMT_D16"},
    {D3DFMT_INDEX16, "D3DFMT_INDEX16"},
    {D3DFMT_INDEX32, "D3DFMT_INDEX32"},
    {D3DFMT_A16B16G16R16F, "D3DFMT_A16B16G16R16F"},
    {D3DFMT_R32F, "D3DFMT_R32F"},
    {D3DFMT_A32B32G32R32F, "D3DFMT_A32B32G32R32F"},
};

constexpr NameTable kPools = {
    {D3DPOOL_DEFAULT, "D3DPOOL_DEFAULT"},
    {D3DPOOL_MANAGED, "D3DPOOL_MANAGED"},
    {D3DPOOL_SYSTEMMEM, "D3DPOOL_SYSTEMMEM"},
    {D3DPOOL_SCRATCH, "D3DPOOL_SCRATCH"},
};

constexpr NameTable kUsage = {
    {D3DUSAGE_RENDERTARGET, "D3DUSAGE_RENDERTARGET"},
    {D3DUSAGE_DEPTHSTENCIL, "D3DUSAGE_DEPTHSTENCIL"},
    {D3DUSAGE_WRITEONLY, "D3DUSAGE_WRITEONLY"},
    {D3DUSAGE_DYNAMIC, "D3DUSAGE_DYNAMIC"},
    {D3DUSAGE_AUTOGENMIPMAP, "D3DUSAGE_AUTOGENMIPMAP"},
};

constexpr NameTable kLockFlags = {
    {D3DLOCK_READONLY, "D3DLOCK_READONLY"},       {D3DLOCK_NOSYSLOCK, "D3DLOCK_NOSYSLOCK"},
    {D3DLOCK_NOOVERWRITE, "D3DLOCK_NOOVERWRITE"}, {D3DLOCK_DISCARD, "D3DLOCK_DISCARD"},
    {D3DLOCK_DONOTWAIT, "D3DLOCK_DONOTWAIT"},
};

constexpr NameTable kFvf = {
    {D3DFVF_XYZ, "D3DFVF_XYZ"},           {D3DFVF_XYZRHW, "D3DFVF_XYZRHW"},
    {D3DFVF_NORMAL, "D3DFVF_NORMAL"},     {D3DFVF_DIFFUSE, "D3DFVF_DIFFUSE"},
    {D3DFVF_SPECULAR, "D3DFVF_SPECULAR"},
};

constexpr NameTable kResults = {
    {static_cast<DWORD>(D3D_OK), "D3D_OK"},
    {static_cast<DWORD>(S_FALSE), "S_FALSE"},
    {static_cast<DWORD>(E_FAIL), "E_FAIL"},
    {static_cast<DWORD>(E_OUTOFMEMORY), "E_OUTOFMEMORY"},
    {static_cast<DWORD>(E_NOTIMPL), "E_NOTIMPL"},
    {static_cast<DWORD>(D3DERR_INVALIDCALL), "D3DERR_INVALIDCALL"},
    {static_cast<DWORD>(D3DERR_NOTAVAILABLE), "D3DERR_NOTAVAILABLE"},
    {static_cast<DWORD>(D3DERR_NOTFOUND), "D3DERR_NOTFOUND"},
    {static_cast<DWORD>(D3DERR_DEVICELOST), "D3DERR_DEVICELOST"},
    {static_cast<DWORD>(D3DERR_OUTOFVIDEOMEMORY), "D3DERR_OUTOFVIDEOMEMORY"},
    {static_cast<DWORD>(D3DXERR_INVALIDDATA), "D3DXERR_INVALIDDATA"},
};

std::string textureArg(DWORD value) {
    std::string text = lookup(kTextureArgs, value & D3DTA_SELECTMASK);
    if (value & D3DTA_COMPLEMENT) {
        text += "|D3DTA_COMPLEMENT";
    }
    if (value & D3DTA_ALPHAREPLICATE) {
        text += "|D3DTA_ALPHAREPLICATE";
    }
    return text;
}

}  // namespace

std::string D3DNames::renderState(DWORD state) {
    return lookup(kRenderStates, state);
}

std::string D3DNames::renderStateValue(DWORD state, DWORD value) {
    switch (state) {
        case D3DRS_ZFUNC:
        case D3DRS_ALPHAFUNC:
            return lookup(kCompare, value);
        case D3DRS_SRCBLEND:
        case D3DRS_DESTBLEND:
            return lookup(kBlend, value);
        case D3DRS_BLENDOP:
            return lookup(kBlendOp, value);
        case D3DRS_CULLMODE:
            return lookup(kCull, value);
        case D3DRS_FILLMODE:
            return lookup(kFill, value);
        case D3DRS_DIFFUSEMATERIALSOURCE:
        case D3DRS_SPECULARMATERIALSOURCE:
        case D3DRS_AMBIENTMATERIALSOURCE:
        case D3DRS_EMISSIVEMATERIALSOURCE:
            return lookup(kMaterialSource, value);
        case D3DRS_TEXTUREFACTOR:
        case D3DRS_AMBIENT:
        case D3DRS_BLENDFACTOR:
            return color(value);
        case D3DRS_COLORWRITEENABLE:
            return hex(value);
        default:
            return std::to_string(value);
    }
}

std::string D3DNames::samplerState(DWORD type) {
    return lookup(kSamplerStates, type);
}

std::string D3DNames::samplerStateValue(DWORD type, DWORD value) {
    switch (type) {
        case D3DSAMP_ADDRESSU:
        case D3DSAMP_ADDRESSV:
        case D3DSAMP_ADDRESSW:
            return lookup(kAddress, value);
        case D3DSAMP_MAGFILTER:
        case D3DSAMP_MINFILTER:
        case D3DSAMP_MIPFILTER:
            return lookup(kFilter, value);
        case D3DSAMP_BORDERCOLOR:
            return color(value);
        default:
            return std::to_string(value);
    }
}

std::string D3DNames::textureStageState(DWORD type) {
    return lookup(kStageStates, type);
}

std::string D3DNames::textureStageStateValue(DWORD type, DWORD value) {
    switch (type) {
        case D3DTSS_COLOROP:
        case D3DTSS_ALPHAOP:
            return lookup(kTextureOps, value);
        case D3DTSS_COLORARG0:
        case D3DTSS_COLORARG1:
        case D3DTSS_COLORARG2:
        case D3DTSS_ALPHAARG0:
        case D3DTSS_ALPHAARG1:
        case D3DTSS_ALPHAARG2:
        case D3DTSS_RESULTARG:
            return textureArg(value);
        case D3DTSS_CONSTANT:
            return color(value);
        default:
            return std::to_string(value);
    }
}

std::string D3DNames::transform(DWORD state) {
    switch (state) {
        case D3DTS_VIEW:
            return "D3DTS_VIEW";
        case D3DTS_PROJECTION:
            return "D3DTS_PROJECTION";
        case D3DTS_WORLD:
            return "D3DTS_WORLD";
        default:
            break;
    }
    if (state >= D3DTS_TEXTURE0 && state <= D3DTS_TEXTURE7) {
        return "D3DTS_TEXTURE" + std::to_string(state - D3DTS_TEXTURE0);
    }
    if (state > D3DTS_WORLD && state < 512) {
        return "D3DTS_WORLDMATRIX(" + std::to_string(state - D3DTS_WORLD) + ")";
    }
    return std::to_string(state);
}

std::string D3DNames::primitive(DWORD type) {
    return lookup(kPrimitives, type);
}

std::string D3DNames::format(DWORD value) {
    return lookup(kFormats, value);
}

std::string D3DNames::pool(DWORD value) {
    return lookup(kPools, value);
}

std::string D3DNames::usage(DWORD value) {
    return flags(kUsage, value);
}

std::string D3DNames::lockFlags(DWORD value) {
    return flags(kLockFlags, value);
}

std::string D3DNames::fvf(DWORD value) {
    std::string text = flags(kFvf, value & ~D3DFVF_TEXCOUNT_MASK);
    const DWORD texCount = (value & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (texCount == 0) {
        return text;
    }
    const std::string tex = "D3DFVF_TEX" + std::to_string(texCount);
    return text == "0" ? tex : text + "|" + tex;
}

std::string D3DNames::result(HRESULT hr) {
    for (const auto& [code, name] : kResults) {
        if (code == static_cast<DWORD>(hr)) {
            return name;
        }
    }
    return hex(static_cast<DWORD>(hr));
}

std::string D3DNames::hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
    return text;
}

std::string D3DNames::color(D3DCOLOR value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(value));
    return text;
}

std::string D3DNames::number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

std::string D3DNames::rect(const RECT* r) {
    if (r == nullptr) {
        return "null";
    }
    std::string text = "{";
    for (const std::int32_t value : {r->left, r->top, r->right, r->bottom}) {
        text += std::to_string(value);
        text += ',';
    }
    text.back() = '}';
    return text;
}

std::string D3DNames::matrix(const D3DMATRIX& m) {
    std::string text = "[";
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            text += number(m.m[row][column]);
            text += column < 3 ? " " : (row < 3 ? " | " : "]");
        }
    }
    return text;
}
