// Translation of Direct3D 9 enumeration values into OpenGL ones. Pure functions, no GL calls.
#pragma once

#include "platform/d3d9/gl/GLApi.h"

#include "platform/d3d9/d3d9.h"

namespace gltranslate {

// How a Direct3D surface format is stored and uploaded.
struct TextureFormat {
    GLenum internalFormat;  // 0 when the format is not supported
    GLenum uploadFormat;
    GLenum uploadType;
    UINT bytesPerPixel;
    GLint swizzle[4];
    bool renderable;
};

TextureFormat textureFormat(D3DFORMAT format);
bool isDepthFormat(D3DFORMAT format);

GLenum blendFactor(DWORD blend);
// The factor for a render target whose format has no alpha channel (X8R8G8B8): Direct3D reads
// its destination alpha as one, while GL would read the stored byte.
GLenum blendFactorWithoutDestinationAlpha(DWORD blend);
GLenum blendEquation(DWORD op);
GLenum compareFunction(DWORD func);
GLenum addressMode(DWORD address);
GLenum minFilter(DWORD minFilter, DWORD mipFilter);
GLenum magFilter(DWORD magFilter);
GLenum polygonMode(DWORD fillMode);

// The GL primitive and vertex count of `primitiveCount` Direct3D primitives; false for an
// unknown primitive type.
bool primitive(D3DPRIMITIVETYPE type, UINT primitiveCount, GLenum* mode, GLsizei* vertexCount);

// A D3DCOLOR (0xAARRGGBB) as four floats in red, green, blue, alpha order.
void colorToFloats(D3DCOLOR color, float rgba[4]);

// Empties GL's error flags, so that an operation which checks glGetError sees only its own
// errors and not one left behind by an earlier, unrelated call.
void discardErrors();

}  // namespace gltranslate
