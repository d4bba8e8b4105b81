// The GL state of one context as the device last set it. Every setter issues its GL call only
// when the value differs, so state set for one draw costs nothing on the next. Nothing is read
// back from GL: the cache starts "unknown" and the first setter of each value always calls GL.
#pragma once

#include "platform/d3d9/gl/GLApi.h"

#include <array>

class GLStateCache {
public:
    static constexpr unsigned kTextureUnits = 20;

    // Blend, depth test, face culling and scissor test are cached; any other capability is a
    // programming error (asserted) and goes to GL uncached.
    void enable(GLenum capability, bool on);
    void blendFunc(GLenum srcColor, GLenum dstColor, GLenum srcAlpha, GLenum dstAlpha);
    void blendEquation(GLenum color, GLenum alpha);
    void blendColor(const float rgba[4]);
    void depthFunc(GLenum func);
    void depthMask(bool write);
    void cullFace(GLenum face);
    void polygonMode(GLenum mode);
    void colorMask(unsigned rgbaBits);
    void stencilMask(GLuint mask);
    void viewport(GLint x, GLint y, GLsizei w, GLsizei h);
    void depthRange(float n, float f);
    void scissor(GLint x, GLint y, GLsizei w, GLsizei h);
    void useProgram(GLuint program);
    void bindTexture(unsigned unit, GLuint texture);
    void bindDrawFramebuffer(GLuint framebuffer);
    void vertexBuffer(unsigned binding, GLuint vao, GLuint buffer, GLintptr offset, GLsizei stride);
    void elementBuffer(GLuint vao, GLuint buffer);

private:
    enum Capability { Blend, DepthTest, CullFace, ScissorTest, CapabilityCount };
    static int capabilityIndex(GLenum capability);

    std::array<int, CapabilityCount> enabled_{-1, -1, -1, -1};
    std::array<GLenum, 4> blendFunc_{};
    std::array<GLenum, 2> blendEquation_{};
    std::array<float, 4> blendColor_{-1, -1, -1, -1};
    GLenum depthFunc_ = 0;
    int depthMask_ = -1;
    GLenum cullFace_ = 0;
    GLenum polygonMode_ = 0;
    unsigned colorMask_ = ~0u;
    GLuint stencilMask_ = 0;
    bool stencilMaskKnown_ = false;
    std::array<GLint, 4> viewport_{-1, -1, -1, -1};
    std::array<float, 2> depthRange_{-1, -1};
    std::array<GLint, 4> scissor_{-1, -1, -1, -1};
    GLuint program_ = ~0u;
    std::array<GLuint, kTextureUnits> textures_{};
    GLuint drawFramebuffer_ = ~0u;
    struct VertexBinding {
        GLuint buffer = ~0u;
        GLintptr offset = -1;
        GLsizei stride = -1;
    };
    std::array<VertexBinding, 8> vertexBindings_{};
    GLuint elementBuffer_ = ~0u;
};
