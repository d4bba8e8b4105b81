#include "platform/d3d9/gl/GLContext.h"

GLContext::GLContext(SDL_Window* home, bool ownsHome, SDL_GLContext handle)
    : home_(home), ownsHome_(ownsHome), handle_(handle) {}

GLContext::~GLContext() {
    // Container objects die with the context; shared objects with the last context of the group.
    SDL_GL_DeleteContext(handle_);
    if (ownsHome_) {
        SDL_DestroyWindow(home_);
    }
}

bool GLContext::makeCurrent() {
    return SDL_GL_MakeCurrent(home_, handle_) == 0;
}

void GLContext::initialise(const GLuint* samplers, unsigned samplerCount) {
    if (initialised_) {
        return;
    }
    initialised_ = true;
    // Direct3D's clip volume (z in [0, w], row 0 at the top) and clockwise front faces. Without
    // clip control (ES) the vertex stages flip y themselves, which turns the winding over.
    glClipControl(GL_UPPER_LEFT, GL_ZERO_TO_ONE);
    glFrontFace(glprofile::kES ? GL_CCW : GL_CW);
    glCreateVertexArrays(1, &vertexArray_);
    glBindVertexArray(vertexArray_);
    glCreateFramebuffers(1, &renderFramebuffer_);
    glCreateFramebuffers(1, &readFramebuffer_);
    glCreateBuffers(1, &streamBuffer_);
    bindSamplers(samplers, samplerCount);
    // A vertex without a colour element is white, as Direct3D's fixed function reads it.
    glVertexAttrib4f(4, 1.0f, 1.0f, 1.0f, 1.0f);
    glVertexAttrib4f(5, 0.0f, 0.0f, 0.0f, 0.0f);
    cache_.enable(GL_SCISSOR_TEST, true);
}

void GLContext::bindSamplers(const GLuint* samplers, unsigned samplerCount) {
    for (unsigned unit = 0; unit < samplerCount; ++unit) {
        glBindSampler(unit, samplers[unit]);
    }
}

bool GLContext::reattach(unsigned slot, std::uint64_t serial) {
    if (attachedSerials_[slot] == serial) {
        return false;
    }
    attachedSerials_[slot] = serial;
    return true;
}

GLintptr GLContext::stream(const void* data, std::size_t bytes) {
    // Each draw's vertices go into fresh storage of the same buffer (orphaning): no draw still
    // reading the previous vertices can make this upload wait, on drivers that track whole
    // buffers (llvmpipe) as on those that track ranges.
    glNamedBufferData(streamBuffer_, static_cast<GLsizeiptr>(bytes), data, GL_STREAM_DRAW);
    return 0;
}
