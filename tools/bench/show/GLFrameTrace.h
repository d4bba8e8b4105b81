// Records one frame of the OpenGL device into a FrameTrace by standing in for the GL entry points
// that do the frame's work (libepoxy calls GL through writable function pointers): before each
// clear, draw, present blit and read-back it reads the whole GL state back with glGet and copies
// the textures and buffers involved. Nothing in the device changes, and outside a trace the
// pointers are the driver's own.
//
// One trace at a time, on the device's main context and thread.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>

#include "tools/bench/show/FrameTrace.h"

class GLFrameTrace {
public:
    // label(kind) names the pass a call of that kind ("draw", "clear", "present", "read-back")
    // belongs to.
    explicit GLFrameTrace(std::function<std::string(const char* kind)> label);
    ~GLFrameTrace();
    GLFrameTrace(const GLFrameTrace&) = delete;
    GLFrameTrace& operator=(const GLFrameTrace&) = delete;

    // Ends the trace and hands over what it recorded (and the GL objects it copied).
    FrameTrace finish();

    void clear(GLuint framebuffer, GLenum buffer, GLint drawBuffer, const GLfloat* color,
               GLfloat depth, GLint stencil);
    void draw(GLenum mode, GLint first, GLsizei count, bool indexed, GLenum indexType,
              const void* indices, GLint baseVertex);
    void present(GLuint readFramebuffer, const GLint* rectangles, GLenum filter);
    void readBack(GLuint texture, GLenum format, GLenum type, GLsizei bytes, const void* pixels);

private:
    TracedOp begin(TracedOp::Kind kind, const char* labelKind, GLuint framebuffer);
    TracedTarget target(GLuint framebuffer);
    GLuint texture(GLuint name);
    GLuint renderbuffer(GLuint name);
    void program(GLuint name, TracedOp& op);
    void textures(GLuint program, TracedOp& op);
    void vertices(const TracedOp& shape, TracedOp& op);
    std::size_t append(GLuint buffer, GLintptr offset, GLsizeiptr bytes);

    std::function<std::string(const char*)> label_;
    FrameTrace trace_;
    std::map<GLuint, GLuint> textureCopies_;
    std::map<GLuint, GLuint> renderbufferCopies_;
    bool active_ = true;
};
