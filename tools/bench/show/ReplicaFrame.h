// The raw-OpenGL replica of one traced frame: the same programs (compiled again from the traced
// GLSL), the same targets, formats, samplers, vertices, states, clears, present blit and
// read-back, issued directly with OpenGL and no device layer, the way a program written by hand
// for this frame would issue them: its objects made once, each draw setting its state and
// uniforms outright, a clear of a whole target made without a scissor.
//
// It is the ruler of the benchmark's replica mode: device time over replica time is what the
// device layer costs.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <SDL2/SDL.h>

#include "tools/bench/show/FrameTrace.h"

class ReplicaFrame {
public:
    // Takes over the trace's copied textures and renderbuffers. Fails (valid() false) when a
    // traced program does not compile again or the trace holds calls it cannot replay.
    explicit ReplicaFrame(FrameTrace trace);
    ~ReplicaFrame();
    ReplicaFrame(const ReplicaFrame&) = delete;
    ReplicaFrame& operator=(const ReplicaFrame&) = delete;

    bool valid() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    // The replica draws through a context of its own (sharing the device's objects), current on
    // the window for a run of frames as a program that owns its window keeps it; leave() gives
    // the device its context back. The device's own context and state cache stay untouched.
    void enter();
    void leave();

    // Renders the frame; each operation runs inside time(label, call) when that is given.
    using Timer = std::function<void(const std::string& label, const std::function<void()>&)>;
    void render(const Timer& time = nullptr);

    // What the last render read back, and what the device's frame read back.
    const std::vector<unsigned char>& pixels() const { return pixels_; }
    const std::vector<unsigned char>& devicePixels() const { return trace_.readBack; }

private:
    bool createContext();
    void build();
    void destroy();
    GLuint framebuffer(const TracedTarget& target);
    GLuint sampler(const TracedSampler& sampler);
    GLuint vertexArray(const TracedOp& op);
    void apply(const TracedState& state);
    void clear(const TracedOp& op);
    void draw(const TracedOp& op, GLuint vertexArray);
    void present(const TracedOp& op);
    bool coversTarget(const TracedOp& op) const;

    FrameTrace trace_;
    std::string error_;
    std::map<GLuint, GLuint> programs_;
    std::map<TracedTarget, GLuint> framebuffers_;
    std::map<TracedSampler, GLuint> samplers_;
    std::vector<GLuint> vertexArrays_;  // one per operation (0 for all but draws)
    GLuint buffer_ = 0;
    GLuint readFramebuffer_ = 0;
    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    SDL_Window* deviceWindow_ = nullptr;
    SDL_GLContext deviceContext_ = nullptr;
    std::vector<unsigned char> pixels_;
};
