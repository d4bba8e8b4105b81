// The OpenGL ES 3.0 (WebGL2) profile of the device: the desktop 4.5 entry points the device
// calls, carried out with ES 3.0's calls. Included through GLApi.h only.
//
// What ES 3.0 lacks and how it is met:
//  - direct state access: each call binds the object to a binding point that the device's state
//    cache does not track (or restores the one it does) and edits it there;
//  - vertex attribute bindings (ES 3.1): formats and buffers are kept here and turned into
//    glVertexAttribPointer calls, with the base vertex of indexed draws added to the offsets;
//  - clip control: the vertex stages end by flipping y and mapping z from [0, w] to [-w, w]
//    (GLApi.h, shaderSource), which gives the same rows and depths as the desktop profile; the
//    flip turns the winding over, so front faces are counter-clockwise there;
//  - BGRA uploads and read-backs, and swizzles: bytes are reordered on the way in and out, L8,
//    A8 and A8L8 use ES's unsized luminance and alpha formats, X8R8G8B8 uploads set alpha to one;
//  - texture clears: a scratch framebuffer and glClearBufferfv.
// Not carried out: polygon fill modes other than solid, LOD bias, anisotropy, border colours
// (BORDER addressing clamps to the edge, MIRRORONCE mirrors every time).
#pragma once

#include <GLES3/gl3.h>

#include <cstddef>

#ifndef GLAPIENTRY
#define GLAPIENTRY
#endif

// Desktop enumerants the device names; ES 3.0 has no such state.
#define GL_BGRA 0x80E1
#define GL_TEXTURE_SWIZZLE_RGBA 0x8E46
#define GL_TEXTURE_LOD_BIAS 0x8501
#define GL_TEXTURE_MAX_ANISOTROPY_EXT 0x84FE
#define GL_TEXTURE_BORDER_COLOR 0x1004
#define GL_CLAMP_TO_BORDER 0x812D
#define GL_MIRROR_CLAMP_TO_EDGE 0x8743
#define GL_UPPER_LEFT 0x8CA2
#define GL_ZERO_TO_ONE 0x935F
#define GL_POINT 0x1B00
#define GL_LINE 0x1B01
#define GL_FILL 0x1B02
#define GL_DEBUG_OUTPUT_SYNCHRONOUS 0x8242
#define GL_DEBUG_SEVERITY_NOTIFICATION 0x826B
#define GL_DEBUG_TYPE_ERROR 0x824C

using GLDEBUGPROC = void (*)(GLenum, GLenum, GLuint, GLenum, GLsizei, const GLchar*, const void*);

void glClipControl(GLenum origin, GLenum depth);
void glPolygonMode(GLenum face, GLenum mode);
void glDebugMessageCallback(GLDEBUGPROC callback, const void* user);

void glCreateBuffers(GLsizei n, GLuint* buffers);
void glNamedBufferData(GLuint buffer, GLsizeiptr size, const void* data, GLenum usage);
void glNamedBufferSubData(GLuint buffer, GLintptr offset, GLsizeiptr size, const void* data);

void glCreateVertexArrays(GLsizei n, GLuint* arrays);
void glVertexArrayAttribFormat(GLuint vao, GLuint index, GLint size, GLenum type,
                               GLboolean normalized, GLuint relativeOffset);
void glVertexArrayAttribBinding(GLuint vao, GLuint index, GLuint binding);
void glVertexArrayVertexBuffer(GLuint vao, GLuint binding, GLuint buffer, GLintptr offset,
                               GLsizei stride);
void glVertexArrayElementBuffer(GLuint vao, GLuint buffer);
void glEnableVertexArrayAttrib(GLuint vao, GLuint index);
void glDisableVertexArrayAttrib(GLuint vao, GLuint index);
void glDrawElementsBaseVertex(GLenum mode, GLsizei count, GLenum type, const void* indices,
                              GLint baseVertex);

void glCreateFramebuffers(GLsizei n, GLuint* framebuffers);
void glNamedFramebufferTexture(GLuint fbo, GLenum attachment, GLuint texture, GLint level);
void glNamedFramebufferRenderbuffer(GLuint fbo, GLenum attachment, GLenum target,
                                    GLuint renderbuffer);
void glNamedFramebufferDrawBuffers(GLuint fbo, GLsizei n, const GLenum* buffers);
GLenum glCheckNamedFramebufferStatus(GLuint fbo, GLenum target);
void glClearNamedFramebufferfv(GLuint fbo, GLenum buffer, GLint drawBuffer, const GLfloat* value);
void glClearNamedFramebufferiv(GLuint fbo, GLenum buffer, GLint drawBuffer, const GLint* value);
void glClearNamedFramebufferfi(GLuint fbo, GLenum buffer, GLint drawBuffer, GLfloat depth,
                               GLint stencil);
void glBlitNamedFramebuffer(GLuint read, GLuint draw, GLint sx0, GLint sy0, GLint sx1, GLint sy1,
                            GLint dx0, GLint dy0, GLint dx1, GLint dy1, GLbitfield mask,
                            GLenum filter);

void glCreateRenderbuffers(GLsizei n, GLuint* renderbuffers);
void glNamedRenderbufferStorage(GLuint renderbuffer, GLenum format, GLsizei w, GLsizei h);

void glCreateSamplers(GLsizei n, GLuint* samplers);
void glCreateTextures(GLenum target, GLsizei n, GLuint* textures);
void glTextureStorage2D(GLuint texture, GLsizei levels, GLenum format, GLsizei w, GLsizei h);
void glTextureParameteri(GLuint texture, GLenum name, GLint value);
void glTextureParameteriv(GLuint texture, GLenum name, const GLint* values);
void glTextureSubImage2D(GLuint texture, GLint level, GLint x, GLint y, GLsizei w, GLsizei h,
                         GLenum format, GLenum type, const void* pixels);
void glGetTextureImage(GLuint texture, GLint level, GLenum format, GLenum type, GLsizei size,
                       void* pixels);
void glClearTexSubImage(GLuint texture, GLint level, GLint x, GLint y, GLint z, GLsizei w,
                        GLsizei h, GLsizei d, GLenum format, GLenum type, const void* data);
void glGenerateTextureMipmap(GLuint texture);
void glBindTextureUnit(GLuint unit, GLuint texture);

// glProgramUniform* from ES 3.1: the program is made current for the call and the previous
// one restored.
void glUseProgramTracked(GLuint program);
void glProgramUniform1f(GLuint program, GLint location, GLfloat v);
void glProgramUniform1fv(GLuint program, GLint location, GLsizei count, const GLfloat* v);
void glProgramUniform2fv(GLuint program, GLint location, GLsizei count, const GLfloat* v);
void glProgramUniform3fv(GLuint program, GLint location, GLsizei count, const GLfloat* v);
void glProgramUniform4fv(GLuint program, GLint location, GLsizei count, const GLfloat* v);
void glProgramUniform1iv(GLuint program, GLint location, GLsizei count, const GLint* v);
void glProgramUniform2iv(GLuint program, GLint location, GLsizei count, const GLint* v);
void glProgramUniform3iv(GLuint program, GLint location, GLsizei count, const GLint* v);
void glProgramUniform4iv(GLuint program, GLint location, GLsizei count, const GLint* v);
void glProgramUniformMatrix4fv(GLuint program, GLint location, GLsizei count, GLboolean transpose,
                               const GLfloat* v);

// The device's own glUseProgram calls go through the tracker, so that glProgramUniform* knows
// which program to restore without asking WebGL.
#define glUseProgram glUseProgramTracked
