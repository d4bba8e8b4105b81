#include "platform/d3d9/gl/GLTranslate.h"

namespace gltranslate {

TextureFormat textureFormat(D3DFORMAT format) {
    switch (format) {
        case D3DFMT_A8R8G8B8:
            return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, 4, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA},
                    true};
        case D3DFMT_X8R8G8B8:
            // The fourth byte is ignored: sampling reads alpha as one.
            return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, 4, {GL_RED, GL_GREEN, GL_BLUE, GL_ONE},
                    true};
#if KELVO_GLES
        // WebGL2 has no swizzles; its luminance and alpha formats read as these formats do.
        case D3DFMT_L8:
            return {GL_LUMINANCE, GL_LUMINANCE, GL_UNSIGNED_BYTE, 1, {}, false};
        case D3DFMT_A8:
            return {GL_ALPHA, GL_ALPHA, GL_UNSIGNED_BYTE, 1, {}, false};
        case D3DFMT_A8L8:
            return {GL_LUMINANCE_ALPHA, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, 2, {}, false};
#else
        case D3DFMT_L8:
            return {GL_R8, GL_RED, GL_UNSIGNED_BYTE, 1, {GL_RED, GL_RED, GL_RED, GL_ONE}, false};
        case D3DFMT_A8:
            return {GL_R8, GL_RED, GL_UNSIGNED_BYTE, 1, {GL_ZERO, GL_ZERO, GL_ZERO, GL_RED}, false};
        case D3DFMT_A8L8:
            return {GL_RG8, GL_RG, GL_UNSIGNED_BYTE, 2, {GL_RED, GL_RED, GL_RED, GL_GREEN}, false};
#endif
        case D3DFMT_R32F:
            return {GL_R32F, GL_RED, GL_FLOAT, 4, {GL_RED, GL_ONE, GL_ONE, GL_ONE}, true};
        case D3DFMT_A16B16G16R16F:
            return {GL_RGBA16F, GL_RGBA, GL_HALF_FLOAT, 8, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA},
                    true};
        case D3DFMT_A32B32G32R32F:
            return {GL_RGBA32F, GL_RGBA, GL_FLOAT, 16, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}, true};
        default:
            return {0, 0, 0, 0, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}, false};
    }
}

bool isDepthFormat(D3DFORMAT format) {
    return format == D3DFMT_D24S8 || format == D3DFMT_D24X8 || format == D3DFMT_D16 ||
           format == D3DFMT_D32;
}

GLenum blendFactor(DWORD blend) {
    switch (blend) {
        case D3DBLEND_ZERO:
            return GL_ZERO;
        case D3DBLEND_ONE:
            return GL_ONE;
        case D3DBLEND_SRCCOLOR:
            return GL_SRC_COLOR;
        case D3DBLEND_INVSRCCOLOR:
            return GL_ONE_MINUS_SRC_COLOR;
        case D3DBLEND_SRCALPHA:
            return GL_SRC_ALPHA;
        case D3DBLEND_INVSRCALPHA:
            return GL_ONE_MINUS_SRC_ALPHA;
        case D3DBLEND_DESTALPHA:
            return GL_DST_ALPHA;
        case D3DBLEND_INVDESTALPHA:
            return GL_ONE_MINUS_DST_ALPHA;
        case D3DBLEND_DESTCOLOR:
            return GL_DST_COLOR;
        case D3DBLEND_INVDESTCOLOR:
            return GL_ONE_MINUS_DST_COLOR;
        case D3DBLEND_SRCALPHASAT:
            return GL_SRC_ALPHA_SATURATE;
        case D3DBLEND_BLENDFACTOR:
            return GL_CONSTANT_COLOR;
        case D3DBLEND_INVBLENDFACTOR:
            return GL_ONE_MINUS_CONSTANT_COLOR;
        default:
            return GL_ONE;
    }
}

GLenum blendFactorWithoutDestinationAlpha(DWORD blend) {
    switch (blend) {
        case D3DBLEND_DESTALPHA:
            return GL_ONE;
        case D3DBLEND_INVDESTALPHA:
            return GL_ZERO;
        case D3DBLEND_SRCALPHASAT:
            return GL_ZERO;  // min(source alpha, 1 - 1)
        default:
            return blendFactor(blend);
    }
}

void discardErrors() {
    // Bounded: a lost context may report an error forever.
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
}

GLenum blendEquation(DWORD op) {
    switch (op) {
        case D3DBLENDOP_SUBTRACT:
            return GL_FUNC_SUBTRACT;
        case D3DBLENDOP_REVSUBTRACT:
            return GL_FUNC_REVERSE_SUBTRACT;
        case D3DBLENDOP_MIN:
            return GL_MIN;
        case D3DBLENDOP_MAX:
            return GL_MAX;
        default:
            return GL_FUNC_ADD;
    }
}

GLenum compareFunction(DWORD func) {
    switch (func) {
        case D3DCMP_NEVER:
            return GL_NEVER;
        case D3DCMP_LESS:
            return GL_LESS;
        case D3DCMP_EQUAL:
            return GL_EQUAL;
        case D3DCMP_LESSEQUAL:
            return GL_LEQUAL;
        case D3DCMP_GREATER:
            return GL_GREATER;
        case D3DCMP_NOTEQUAL:
            return GL_NOTEQUAL;
        case D3DCMP_GREATEREQUAL:
            return GL_GEQUAL;
        default:
            return GL_ALWAYS;
    }
}

GLenum addressMode(DWORD address) {
    switch (address) {
        case D3DTADDRESS_MIRROR:
            return GL_MIRRORED_REPEAT;
        case D3DTADDRESS_CLAMP:
            return GL_CLAMP_TO_EDGE;
        case D3DTADDRESS_BORDER:
            return glprofile::kES ? GL_CLAMP_TO_EDGE : GL_CLAMP_TO_BORDER;
        case D3DTADDRESS_MIRRORONCE:
            return glprofile::kES ? GL_MIRRORED_REPEAT : GL_MIRROR_CLAMP_TO_EDGE;
        default:
            return GL_REPEAT;
    }
}

GLenum minFilter(DWORD minFilter, DWORD mipFilter) {
    const bool linear = minFilter >= D3DTEXF_LINEAR;
    switch (mipFilter) {
        case D3DTEXF_NONE:
            return linear ? GL_LINEAR : GL_NEAREST;
        case D3DTEXF_POINT:
            return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
        default:
            return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    }
}

GLenum magFilter(DWORD magFilter) {
    return magFilter >= D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST;
}

GLenum polygonMode(DWORD fillMode) {
    switch (fillMode) {
        case D3DFILL_POINT:
            return GL_POINT;
        case D3DFILL_WIREFRAME:
            return GL_LINE;
        default:
            return GL_FILL;
    }
}

bool primitive(D3DPRIMITIVETYPE type, UINT primitiveCount, GLenum* mode, GLsizei* vertexCount) {
    const auto n = static_cast<GLsizei>(primitiveCount);
    switch (type) {
        case D3DPT_POINTLIST:
            *mode = GL_POINTS;
            *vertexCount = n;
            return true;
        case D3DPT_LINELIST:
            *mode = GL_LINES;
            *vertexCount = 2 * n;
            return true;
        case D3DPT_LINESTRIP:
            *mode = GL_LINE_STRIP;
            *vertexCount = n + 1;
            return true;
        case D3DPT_TRIANGLELIST:
            *mode = GL_TRIANGLES;
            *vertexCount = 3 * n;
            return true;
        case D3DPT_TRIANGLESTRIP:
            *mode = GL_TRIANGLE_STRIP;
            *vertexCount = n + 2;
            return true;
        case D3DPT_TRIANGLEFAN:
            *mode = GL_TRIANGLE_FAN;
            *vertexCount = n + 2;
            return true;
        default:
            return false;
    }
}

void colorToFloats(D3DCOLOR color, float rgba[4]) {
    rgba[0] = static_cast<float>((color >> 16) & 0xFFu) / 255.0f;
    rgba[1] = static_cast<float>((color >> 8) & 0xFFu) / 255.0f;
    rgba[2] = static_cast<float>(color & 0xFFu) / 255.0f;
    rgba[3] = static_cast<float>((color >> 24) & 0xFFu) / 255.0f;
}

}  // namespace gltranslate
