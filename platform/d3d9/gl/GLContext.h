// One OpenGL context of the device and the objects that belong to it alone: framebuffers and
// vertex arrays are not shared between contexts, so each context has its own render framebuffer,
// present framebuffer, vertex array, stream buffer for DrawPrimitiveUP and state cache.
//
// A context is made current on its own hidden "home" window, never on the presentation window,
// so that two threads never hold the same window surface (EGL refuses that). Present borrows the
// presentation window for the blit and the swap and then returns to the home window.
#pragma once

#include <SDL2/SDL.h>
#include "platform/d3d9/gl/GLApi.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "platform/d3d9/gl/GLStateCache.h"
#include "platform/d3d9/gl/GLStateShadow.h"

class GLContext {
public:
    // ownsHome: the context destroys its window with it.
    GLContext(SDL_Window* home, bool ownsHome, SDL_GLContext handle);
    ~GLContext();
    GLContext(const GLContext&) = delete;
    GLContext& operator=(const GLContext&) = delete;

    SDL_GLContext handle() const { return handle_; }
    SDL_Window* home() const { return home_; }
    bool isCurrent() const { return SDL_GL_GetCurrentContext() == handle_; }
    bool makeCurrent();

    // Per-context set-up the first time the context is current on a thread: Direct3D's clip
    // volume and winding, the vertex array, framebuffers, samplers bound to their units.
    void initialise(const GLuint* samplers, unsigned samplerCount);
    void bindSamplers(const GLuint* samplers, unsigned samplerCount);

    GLStateCache& cache() { return cache_; }
    GLuint vertexArray() const { return vertexArray_; }
    GLuint renderFramebuffer() const { return renderFramebuffer_; }
    GLuint readFramebuffer() const { return readFramebuffer_; }
    GLuint streamBuffer() const { return streamBuffer_; }

    // Copies `bytes` into the stream buffer and returns the offset they start at.
    GLintptr stream(const void* data, std::size_t bytes);

    // Whether a state group changed since this context last translated it into GL; either
    // way it counts as translated at `version` afterwards.
    bool catchUp(StateGroup group, std::uint64_t version) {
        return std::exchange(applied_[static_cast<unsigned>(group)], version) != version;
    }
    void forget(StateGroup group) { applied_[static_cast<unsigned>(group)] = ~0ull; }

    // The render framebuffer's attachments, by surface serial (0: none): records `serial` at
    // `slot` and says whether it differs from what was attached there before.
    static constexpr unsigned kDepthAttachment = D3D_MAX_SIMULTANEOUS_RENDERTARGETS;
    bool reattach(unsigned slot, std::uint64_t serial);
    bool framebufferComplete() const { return framebufferComplete_; }
    void setFramebufferComplete(bool complete) { framebufferComplete_ = complete; }

    // True on the first present through this context: the swap interval belongs to the
    // context current on the window, so each context sets it once.
    bool firstPresent() { return !std::exchange(presented_, true); }

private:
    SDL_Window* home_;
    bool ownsHome_;
    SDL_GLContext handle_;
    bool initialised_ = false;
    GLStateCache cache_;
    GLuint vertexArray_ = 0;
    GLuint renderFramebuffer_ = 0;
    GLuint readFramebuffer_ = 0;
    GLuint streamBuffer_ = 0;
    std::array<std::uint64_t, GLStateShadow::kGroupCount> applied_{};
    std::array<std::uint64_t, kDepthAttachment + 1> attachedSerials_{};
    bool framebufferComplete_ = false;
    bool presented_ = false;
};
