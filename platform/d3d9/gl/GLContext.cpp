#include "platform/d3d9/gl/GLContext.h"

#include <algorithm>

namespace {

constexpr std::size_t kStreamBufferBytes = 4u << 20;
constexpr std::size_t kStreamAlignment = 64;

}  // namespace

GLContext::GLContext(SDL_Window* home, SDL_GLContext handle) : home_(home), handle_(handle) {}

GLContext::~GLContext() {
    // Container objects die with the context; shared objects with the last context of the group.
    SDL_GL_DeleteContext(handle_);
    SDL_DestroyWindow(home_);
}

bool GLContext::makeCurrent() {
    return SDL_GL_MakeCurrent(home_, handle_) == 0;
}

void GLContext::initialise(const GLuint* samplers, unsigned samplerCount) {
    if (initialised_) {
        return;
    }
    initialised_ = true;
    // Direct3D's clip volume (z in [0, w], row 0 at the top) and clockwise front faces.
    glClipControl(GL_UPPER_LEFT, GL_ZERO_TO_ONE);
    glFrontFace(GL_CW);
    glCreateVertexArrays(1, &vertexArray_);
    glBindVertexArray(vertexArray_);
    glCreateFramebuffers(1, &renderFramebuffer_);
    glCreateFramebuffers(1, &readFramebuffer_);
    glCreateBuffers(1, &streamBuffer_);
    streamSize_ = kStreamBufferBytes;
    glNamedBufferData(streamBuffer_, static_cast<GLsizeiptr>(streamSize_), nullptr, GL_STREAM_DRAW);
    for (unsigned unit = 0; unit < samplerCount; ++unit) {
        glBindSampler(unit, samplers[unit]);
    }
    // A vertex without a colour element is white, as Direct3D's fixed function reads it.
    glVertexAttrib4f(4, 1.0f, 1.0f, 1.0f, 1.0f);
    glVertexAttrib4f(5, 0.0f, 0.0f, 0.0f, 0.0f);
    cache_.enable(GL_SCISSOR_TEST, true);
}

GLintptr GLContext::stream(const void* data, std::size_t bytes) {
    if (bytes > streamSize_) {
        streamSize_ = std::max(bytes, 2 * streamSize_);
        glNamedBufferData(streamBuffer_, static_cast<GLsizeiptr>(streamSize_), nullptr,
                          GL_STREAM_DRAW);
        streamOffset_ = 0;
    } else if (streamOffset_ + bytes > streamSize_) {
        glNamedBufferData(streamBuffer_, static_cast<GLsizeiptr>(streamSize_), nullptr,
                          GL_STREAM_DRAW);
        streamOffset_ = 0;
    }
    const auto offset = static_cast<GLintptr>(streamOffset_);
    glNamedBufferSubData(streamBuffer_, offset, static_cast<GLsizeiptr>(bytes), data);
    streamOffset_ = (streamOffset_ + bytes + kStreamAlignment - 1) & ~(kStreamAlignment - 1);
    return offset;
}
