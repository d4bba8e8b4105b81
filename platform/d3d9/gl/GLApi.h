// The OpenGL API the device is written against, in one of two profiles:
//  - desktop OpenGL 4.5 core (the native build), through libepoxy;
//  - OpenGL ES 3.0 as WebGL2 offers it (the browser build), where the few 4.5 entry points the
//    device uses (direct state access, vertex attribute bindings, clip control, texture image
//    read-back and clears) are carried out by GLESProfile.cpp over ES 3.0's bind-to-edit calls.
// The device code is the same in both; only what a profile lacks differs (see GLESProfile.h).
#pragma once

#ifdef __EMSCRIPTEN__
#define KELVO_GLES 1
#include "platform/d3d9/gl/GLESProfile.h"
#else
#define KELVO_GLES 0
#include <epoxy/gl.h>
#endif

#include <string>

namespace glprofile {

// True on OpenGL ES 3.0 (WebGL2): no clip control, no swizzles, no BGRA, no DSA.
constexpr bool kES = KELVO_GLES != 0;

// Whether the current context offers the named extension (always false for a WebGL2 profile:
// the device asks only for desktop extensions).
bool hasExtension(const char* name);
// The context's version times ten (45 for 4.5); an ES context counts as below every desktop one.
int version();
// Whether the current context is what the device needs: 4.5 core, or ES 3.0 and up.
bool contextSuitable();
// The shader source the profile compiles for `stage` (GL_VERTEX_SHADER or GL_FRAGMENT_SHADER)
// of a program written for GLSL 4.50 core: unchanged on the desktop; in GLSL ES 3.00 on ES,
// with the sampler units and Direct3D's clip volume that ES cannot declare.
std::string shaderSource(GLenum stage, const char* source);
// Tells an ES profile that `buffer` holds indices before its first use (WebGL2 keeps index
// buffers apart); nothing on the desktop.
void declareIndexBuffer(GLuint buffer);
// After linking: what the ES source could not say (sampler units), set on the program.
void bindSamplerUnits(GLuint program, const char* fragmentSource, const char* vertexSource);

}  // namespace glprofile
