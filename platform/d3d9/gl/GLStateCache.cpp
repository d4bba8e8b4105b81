#include "platform/d3d9/gl/GLStateCache.h"

#include <cassert>

int GLStateCache::capabilityIndex(GLenum capability) {
    switch (capability) {
        case GL_BLEND:
            return Blend;
        case GL_DEPTH_TEST:
            return DepthTest;
        case GL_CULL_FACE:
            return CullFace;
        case GL_SCISSOR_TEST:
            return ScissorTest;
        default:
            assert(!"GLStateCache: a capability the cache does not keep");
            return -1;
    }
}

void GLStateCache::enable(GLenum capability, bool on) {
    const int index = capabilityIndex(capability);
    if (index < 0) {
        // Uncached: sharing another capability's slot would make that one's cache lie.
        on ? glEnable(capability) : glDisable(capability);
        return;
    }
    int& cached = enabled_[static_cast<unsigned>(index)];
    if (cached == static_cast<int>(on)) {
        return;
    }
    cached = on;
    on ? glEnable(capability) : glDisable(capability);
}

void GLStateCache::blendFunc(GLenum srcColor, GLenum dstColor, GLenum srcAlpha, GLenum dstAlpha) {
    const std::array<GLenum, 4> wanted{srcColor, dstColor, srcAlpha, dstAlpha};
    if (wanted != blendFunc_) {
        blendFunc_ = wanted;
        glBlendFuncSeparate(srcColor, dstColor, srcAlpha, dstAlpha);
    }
}

void GLStateCache::blendEquation(GLenum color, GLenum alpha) {
    const std::array<GLenum, 2> wanted{color, alpha};
    if (wanted != blendEquation_) {
        blendEquation_ = wanted;
        glBlendEquationSeparate(color, alpha);
    }
}

void GLStateCache::blendColor(const float rgba[4]) {
    const std::array<float, 4> wanted{rgba[0], rgba[1], rgba[2], rgba[3]};
    if (wanted != blendColor_) {
        blendColor_ = wanted;
        glBlendColor(rgba[0], rgba[1], rgba[2], rgba[3]);
    }
}

void GLStateCache::depthFunc(GLenum func) {
    if (func != depthFunc_) {
        depthFunc_ = func;
        glDepthFunc(func);
    }
}

void GLStateCache::depthMask(bool write) {
    if (depthMask_ != static_cast<int>(write)) {
        depthMask_ = write;
        glDepthMask(write ? GL_TRUE : GL_FALSE);
    }
}

void GLStateCache::cullFace(GLenum face) {
    if (face != cullFace_) {
        cullFace_ = face;
        glCullFace(face);
    }
}

void GLStateCache::polygonMode(GLenum mode) {
    if (mode != polygonMode_) {
        polygonMode_ = mode;
        glPolygonMode(GL_FRONT_AND_BACK, mode);
    }
}

void GLStateCache::colorMask(unsigned rgbaBits) {
    if (rgbaBits != colorMask_) {
        colorMask_ = rgbaBits;
        glColorMask((rgbaBits & 1u) != 0, (rgbaBits & 2u) != 0, (rgbaBits & 4u) != 0,
                    (rgbaBits & 8u) != 0);
    }
}

void GLStateCache::stencilMask(GLuint mask) {
    if (!stencilMaskKnown_ || mask != stencilMask_) {
        stencilMaskKnown_ = true;
        stencilMask_ = mask;
        glStencilMask(mask);
    }
}

void GLStateCache::viewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    const std::array<GLint, 4> wanted{x, y, w, h};
    if (wanted != viewport_) {
        viewport_ = wanted;
        glViewport(x, y, w, h);
    }
}

void GLStateCache::depthRange(float n, float f) {
    const std::array<float, 2> wanted{n, f};
    if (wanted != depthRange_) {
        depthRange_ = wanted;
        glDepthRangef(n, f);
    }
}

void GLStateCache::scissor(GLint x, GLint y, GLsizei w, GLsizei h) {
    const std::array<GLint, 4> wanted{x, y, w, h};
    if (wanted != scissor_) {
        scissor_ = wanted;
        glScissor(x, y, w, h);
    }
}

void GLStateCache::useProgram(GLuint program) {
    if (program != program_) {
        program_ = program;
        glUseProgram(program);
    }
}

void GLStateCache::bindTexture(unsigned unit, GLuint texture) {
    if (textures_[unit] != texture) {
        textures_[unit] = texture;
        glBindTextureUnit(unit, texture);
    }
}

void GLStateCache::bindDrawFramebuffer(GLuint framebuffer) {
    if (framebuffer != drawFramebuffer_) {
        drawFramebuffer_ = framebuffer;
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    }
}

void GLStateCache::vertexBuffer(unsigned binding, GLuint vao, GLuint buffer, GLintptr offset,
                                GLsizei stride) {
    VertexBinding& b = vertexBindings_[binding];
    if (b.buffer != buffer || b.offset != offset || b.stride != stride) {
        b = {buffer, offset, stride};
        glVertexArrayVertexBuffer(vao, binding, buffer, offset, stride);
    }
}

void GLStateCache::elementBuffer(GLuint vao, GLuint buffer) {
    if (buffer != elementBuffer_) {
        elementBuffer_ = buffer;
        glVertexArrayElementBuffer(vao, buffer);
    }
}
