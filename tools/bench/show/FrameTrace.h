// One frame of the device's work as OpenGL saw it: every clear, draw, present blit and read-back
// with the complete GL state it ran under, and copies of every texture and buffer it touched as
// they were when the frame first touched them. GLFrameTrace records it; ReplicaFrame replays it
// with plain OpenGL calls and no device layer.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <epoxy/gl.h>

struct SDL_Window;

struct TracedState {
    std::array<GLint, 4> viewport{};
    std::array<GLfloat, 2> depthRange{};
    bool scissorTest = false;
    std::array<GLint, 4> scissor{};
    bool blend = false;
    std::array<GLint, 4> blendFunc{};  // source and destination colour, then alpha
    std::array<GLint, 2> blendEquation{};
    std::array<GLfloat, 4> blendColor{};
    bool depthTest = false;
    GLint depthFunc = GL_LESS;
    GLboolean depthMask = GL_TRUE;
    bool cullFace = false;
    GLint cullMode = GL_BACK;
    GLint frontFace = GL_CCW;
    GLint polygonMode = GL_FILL;
    std::array<GLboolean, 4> colorMask{};
    GLint stencilMask = 0xFF;
};

// What a framebuffer has attached; names are the trace's own copies (see FrameTrace::textures).
struct TracedTarget {
    std::array<GLuint, 4> colors{};
    std::array<GLint, 4> levels{};
    std::array<GLenum, 4> drawBuffers{};
    GLuint depthStencil = 0;  // a renderbuffer

    auto key() const { return std::tie(colors, levels, drawBuffers, depthStencil); }
    bool operator<(const TracedTarget& other) const { return key() < other.key(); }
};

struct TracedUniform {
    GLint location = -1;
    GLenum type = 0;
    std::vector<std::uint32_t> words;  // the raw 32-bit values, as glGetUniform returned them
};

struct TracedSampler {
    std::array<GLint, 5> modes{};     // wrap S, T, R, minification and magnification filters
    std::array<GLfloat, 4> levels{};  // LOD bias, min and max LOD, anisotropy
    std::array<GLfloat, 4> border{};

    auto key() const { return std::tie(modes, levels, border); }
    bool operator<(const TracedSampler& other) const { return key() < other.key(); }
};

struct TracedTexture {
    GLuint unit = 0;
    GLenum target = GL_TEXTURE_2D;
    GLuint texture = 0;  // the trace's copy
    TracedSampler sampler;
};

struct TracedAttribute {
    GLuint location = 0;
    GLint size = 4;
    GLenum type = GL_FLOAT;
    GLboolean normalized = GL_FALSE;
    GLuint relativeOffset = 0;
    GLuint binding = 0;
};

struct TracedBinding {
    GLuint index = 0;
    std::size_t bufferOffset = 0;  // into FrameTrace::vertexBytes
    GLsizei stride = 0;
};

struct TracedOp {
    enum class Kind { Clear, Draw, Present, ReadBack };
    Kind kind = Kind::Draw;
    std::string label;  // the pass or kind of call it counts under
    TracedTarget target;
    TracedState state;

    // Clear: glClearNamedFramebuffer{fv,fi,iv}(buffer, drawBuffer, ...).
    GLenum clearBuffer = 0;
    GLint drawBuffer = 0;
    std::array<GLfloat, 4> clearColor{};
    GLfloat clearDepth = 1.0f;
    GLint clearStencil = 0;

    // Draw.
    GLuint program = 0;  // a key into FrameTrace::programs
    std::vector<TracedUniform> uniforms;
    std::vector<TracedTexture> textures;
    std::vector<TracedAttribute> attributes;
    std::vector<TracedBinding> bindings;
    bool indexed = false;
    std::size_t indexOffset = 0;  // into FrameTrace::vertexBytes
    GLenum indexType = 0;
    GLenum mode = GL_TRIANGLES;
    GLint first = 0;
    GLsizei count = 0;
    GLint baseVertex = 0;

    // Present: the blit of colors[0] into the window, flipped, then the swap.
    SDL_Window* window = nullptr;
    std::array<GLint, 8> blit{};
    GLenum blitFilter = GL_NEAREST;

    // Read-back: glGetTextureImage of texture (level 0).
    GLuint readTexture = 0;
    GLenum readFormat = 0;
    GLenum readType = 0;
    GLsizei readBytes = 0;
};

struct TracedProgram {
    std::string vertex;
    std::string fragment;
};

struct FrameTrace {
    std::vector<TracedOp> ops;
    std::map<GLuint, TracedProgram> programs;  // by the device's program name
    // Copies, made when the frame first touched each object; the replica takes them over.
    std::vector<GLuint> textures;
    std::vector<GLuint> renderbuffers;
    // Every draw's vertices and indices, one after another.
    std::vector<unsigned char> vertexBytes;
    // What the device's read-back returned.
    std::vector<unsigned char> readBack;
    // Calls the trace met but cannot replay (the replica is then incomplete).
    std::vector<std::string> unsupported;
};
