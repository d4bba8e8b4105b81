// See GLESProfile.h. Built only for the browser; every function keeps the device's state cache
// right by restoring the bindings it borrows (or by using ones the cache does not track).
#ifdef __EMSCRIPTEN__

#include "platform/d3d9/gl/GLApi.h"

#undef glUseProgram

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

constexpr GLuint kAttributes = 16;
constexpr GLuint kBindings = 16;

struct AttributeFormat {
    GLint size = 4;
    GLenum type = GL_FLOAT;
    GLboolean normalized = GL_FALSE;
    GLuint relativeOffset = 0;
    GLuint binding = 0;
    bool enabled = false;
};

struct BufferBinding {
    GLuint buffer = 0;
    GLintptr offset = 0;
    GLsizei stride = 0;
};

// The one vertex array of the one context a browser page has.
struct VertexInput {
    std::array<AttributeFormat, kAttributes> attributes;
    std::array<BufferBinding, kBindings> bindings;
};

VertexInput& vertexInput() {
    static VertexInput input;
    return input;
}

GLuint& currentProgram() {
    static GLuint program = 0;
    return program;
}

// Textures whose alpha reads as one (X8R8G8B8): uploads write 255 into the fourth byte.
std::unordered_set<GLuint>& opaqueTextures() {
    static std::unordered_set<GLuint> textures;
    return textures;
}

// Index buffers, declared by their stores: WebGL2 buffers keep the kind of their first binding.
std::unordered_set<GLuint>& elementBuffers() {
    static std::unordered_set<GLuint> buffers;
    return buffers;
}

// Level 0's width and height of each texture, which ES 3.0 cannot be asked for.
std::unordered_map<GLuint, std::array<GLsizei, 2>>& textureSizes() {
    static std::unordered_map<GLuint, std::array<GLsizei, 2>> sizes;
    return sizes;
}

GLuint& boundElementBuffer() {
    static GLuint buffer = 0;
    return buffer;
}

void applyAttribute(GLuint index, GLint baseVertex) {
    const AttributeFormat& a = vertexInput().attributes[index];
    if (!a.enabled) {
        return;
    }
    const BufferBinding& b = vertexInput().bindings[a.binding];
    if (b.buffer == 0) {
        return;
    }
    const GLintptr offset = b.offset + static_cast<GLintptr>(a.relativeOffset) +
                            static_cast<GLintptr>(baseVertex) * b.stride;
    glBindBuffer(GL_ARRAY_BUFFER, b.buffer);
    // A D3DCOLOR's bytes are B, G, R, A; the shaders read them as stored (see GLVertexDeclaration).
    const GLint size = a.size == GL_BGRA ? 4 : a.size;
    glVertexAttribPointer(index, size, a.type, a.normalized, b.stride,
                          reinterpret_cast<const void*>(offset));
}

void applyBinding(GLuint binding) {
    for (GLuint i = 0; i < kAttributes; ++i) {
        if (vertexInput().attributes[i].binding == binding) {
            applyAttribute(i, 0);
        }
    }
}

// The buffer's kind is fixed by its first binding in WebGL2: index data goes through the
// element array binding point, whose binding is part of the vertex array and is put back.
void bufferTarget(GLuint buffer, GLenum* target) {
    if (elementBuffers().count(buffer) != 0) {
        *target = GL_ELEMENT_ARRAY_BUFFER;
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
    } else {
        *target = GL_ARRAY_BUFFER;
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
    }
}

void restoreElementBuffer(GLenum target) {
    if (target == GL_ELEMENT_ARRAY_BUFFER) {
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, boundElementBuffer());
    }
}

class FramebufferScope {
public:
    FramebufferScope(GLenum target, GLuint fbo) : target_(target) {
        glGetIntegerv(target == GL_READ_FRAMEBUFFER ? GL_READ_FRAMEBUFFER_BINDING
                                                    : GL_DRAW_FRAMEBUFFER_BINDING,
                      &previous_);
        glBindFramebuffer(target, fbo);
    }
    ~FramebufferScope() { glBindFramebuffer(target_, static_cast<GLuint>(previous_)); }
    FramebufferScope(const FramebufferScope&) = delete;
    FramebufferScope& operator=(const FramebufferScope&) = delete;

private:
    GLenum target_;
    GLint previous_ = 0;
};

// Texture edits use the last unit the device never samples from, and put its binding back.
class TextureScope {
public:
    explicit TextureScope(GLuint texture) {
        glGetIntegerv(GL_ACTIVE_TEXTURE, &previousUnit_);
        glActiveTexture(kScratchUnit);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous_);
        glBindTexture(GL_TEXTURE_2D, texture);
    }
    ~TextureScope() {
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous_));
        glActiveTexture(static_cast<GLenum>(previousUnit_));
    }
    TextureScope(const TextureScope&) = delete;
    TextureScope& operator=(const TextureScope&) = delete;

private:
    static constexpr GLenum kScratchUnit = GL_TEXTURE0 + 15;
    GLint previousUnit_ = 0;
    GLint previous_ = 0;
};

class ProgramScope {
public:
    explicit ProgramScope(GLuint program) : previous_(currentProgram()) {
        if (program != previous_) {
            glUseProgram(program);
        }
        program_ = program;
    }
    ~ProgramScope() {
        if (program_ != previous_) {
            glUseProgram(previous_);
        }
    }
    ProgramScope(const ProgramScope&) = delete;
    ProgramScope& operator=(const ProgramScope&) = delete;

private:
    GLuint previous_;
    GLuint program_ = 0;
};

bool unsizedFormat(GLenum format) {
    return format == GL_LUMINANCE || format == GL_ALPHA || format == GL_LUMINANCE_ALPHA;
}

// BGRA bytes to RGBA (and back: the swap is its own inverse); alpha 255 when `opaque`.
std::vector<std::uint8_t> swapRedBlue(const void* pixels, std::size_t count, bool opaque) {
    std::vector<std::uint8_t> out(count * 4);
    std::memcpy(out.data(), pixels, out.size());
    for (std::size_t i = 0; i < out.size(); i += 4) {
        std::swap(out[i], out[i + 2]);
        if (opaque) {
            out[i + 3] = 0xFF;
        }
    }
    return out;
}

}  // namespace

void glprofile::declareIndexBuffer(GLuint buffer) {
    elementBuffers().insert(buffer);
}

void glClipControl(GLenum, GLenum) {}
void glPolygonMode(GLenum, GLenum) {}
void glDebugMessageCallback(GLDEBUGPROC, const void*) {}

void glCreateBuffers(GLsizei n, GLuint* buffers) {
    glGenBuffers(n, buffers);
}

void glNamedBufferData(GLuint buffer, GLsizeiptr size, const void* data, GLenum usage) {
    GLenum target = 0;
    bufferTarget(buffer, &target);
    glBufferData(target, size, data, usage);
    restoreElementBuffer(target);
}

void glNamedBufferSubData(GLuint buffer, GLintptr offset, GLsizeiptr size, const void* data) {
    GLenum target = 0;
    bufferTarget(buffer, &target);
    glBufferSubData(target, offset, size, data);
    restoreElementBuffer(target);
}

void glCreateVertexArrays(GLsizei n, GLuint* arrays) {
    glGenVertexArrays(n, arrays);
}

void glVertexArrayAttribFormat(GLuint, GLuint index, GLint size, GLenum type, GLboolean normalized,
                               GLuint relativeOffset) {
    AttributeFormat& a = vertexInput().attributes[index];
    a.size = size;
    a.type = type;
    a.normalized = normalized;
    a.relativeOffset = relativeOffset;
    applyAttribute(index, 0);
}

void glVertexArrayAttribBinding(GLuint, GLuint index, GLuint binding) {
    vertexInput().attributes[index].binding = binding;
    applyAttribute(index, 0);
}

void glVertexArrayVertexBuffer(GLuint, GLuint binding, GLuint buffer, GLintptr offset,
                               GLsizei stride) {
    vertexInput().bindings[binding] = {buffer, offset, stride};
    applyBinding(binding);
}

void glVertexArrayElementBuffer(GLuint, GLuint buffer) {
    boundElementBuffer() = buffer;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
}

void glEnableVertexArrayAttrib(GLuint, GLuint index) {
    AttributeFormat& a = vertexInput().attributes[index];
    if (!a.enabled) {
        a.enabled = true;
        glEnableVertexAttribArray(index);
        applyAttribute(index, 0);
    }
}

void glDisableVertexArrayAttrib(GLuint, GLuint index) {
    AttributeFormat& a = vertexInput().attributes[index];
    if (a.enabled) {
        a.enabled = false;
        glDisableVertexAttribArray(index);
    }
}

// ES 3.0 has no base vertex: the attribute offsets move by it for the draw and back after.
void glDrawElementsBaseVertex(GLenum mode, GLsizei count, GLenum type, const void* indices,
                              GLint baseVertex) {
    if (baseVertex != 0) {
        for (GLuint i = 0; i < kAttributes; ++i) {
            applyAttribute(i, baseVertex);
        }
    }
    glDrawElements(mode, count, type, indices);
    if (baseVertex != 0) {
        for (GLuint i = 0; i < kAttributes; ++i) {
            applyAttribute(i, 0);
        }
    }
}

void glCreateFramebuffers(GLsizei n, GLuint* framebuffers) {
    glGenFramebuffers(n, framebuffers);
}

void glNamedFramebufferTexture(GLuint fbo, GLenum attachment, GLuint texture, GLint level) {
    FramebufferScope scope(GL_DRAW_FRAMEBUFFER, fbo);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, attachment, GL_TEXTURE_2D, texture, level);
}

void glNamedFramebufferRenderbuffer(GLuint fbo, GLenum attachment, GLenum target,
                                    GLuint renderbuffer) {
    FramebufferScope scope(GL_DRAW_FRAMEBUFFER, fbo);
    glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, attachment, target, renderbuffer);
}

void glNamedFramebufferDrawBuffers(GLuint fbo, GLsizei n, const GLenum* buffers) {
    FramebufferScope scope(GL_DRAW_FRAMEBUFFER, fbo);
    glDrawBuffers(n, buffers);
}

GLenum glCheckNamedFramebufferStatus(GLuint fbo, GLenum target) {
    FramebufferScope scope(target, fbo);
    return glCheckFramebufferStatus(target);
}

void glClearNamedFramebufferfv(GLuint fbo, GLenum buffer, GLint drawBuffer, const GLfloat* value) {
    FramebufferScope scope(GL_DRAW_FRAMEBUFFER, fbo);
    glClearBufferfv(buffer, drawBuffer, value);
}

void glClearNamedFramebufferiv(GLuint fbo, GLenum buffer, GLint drawBuffer, const GLint* value) {
    FramebufferScope scope(GL_DRAW_FRAMEBUFFER, fbo);
    glClearBufferiv(buffer, drawBuffer, value);
}

void glClearNamedFramebufferfi(GLuint fbo, GLenum buffer, GLint drawBuffer, GLfloat depth,
                               GLint stencil) {
    FramebufferScope scope(GL_DRAW_FRAMEBUFFER, fbo);
    glClearBufferfi(buffer, drawBuffer, depth, stencil);
}

void glBlitNamedFramebuffer(GLuint read, GLuint draw, GLint sx0, GLint sy0, GLint sx1, GLint sy1,
                            GLint dx0, GLint dy0, GLint dx1, GLint dy1, GLbitfield mask,
                            GLenum filter) {
    FramebufferScope readScope(GL_READ_FRAMEBUFFER, read);
    FramebufferScope drawScope(GL_DRAW_FRAMEBUFFER, draw);
    glBlitFramebuffer(sx0, sy0, sx1, sy1, dx0, dy0, dx1, dy1, mask, filter);
}

void glCreateRenderbuffers(GLsizei n, GLuint* renderbuffers) {
    glGenRenderbuffers(n, renderbuffers);
}

void glNamedRenderbufferStorage(GLuint renderbuffer, GLenum format, GLsizei w, GLsizei h) {
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, format, w, h);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
}

void glCreateSamplers(GLsizei n, GLuint* samplers) {
    glGenSamplers(n, samplers);
}

void glCreateTextures(GLenum, GLsizei n, GLuint* textures) {
    glGenTextures(n, textures);
}

// ES's luminance and alpha formats have no sized form for glTexStorage2D: their levels are
// allocated one by one.
void glTextureStorage2D(GLuint texture, GLsizei levels, GLenum format, GLsizei w, GLsizei h) {
    TextureScope scope(texture);
    textureSizes()[texture] = {w, h};
    if (!unsizedFormat(format)) {
        glTexStorage2D(GL_TEXTURE_2D, levels, format, w, h);
        return;
    }
    for (GLsizei level = 0; level < levels; ++level) {
        glTexImage2D(GL_TEXTURE_2D, level, static_cast<GLint>(format), w > 1 ? w : 1, h > 1 ? h : 1,
                     0, format, GL_UNSIGNED_BYTE, nullptr);
        w /= 2;
        h /= 2;
    }
}

void glTextureParameteri(GLuint texture, GLenum name, GLint value) {
    TextureScope scope(texture);
    glTexParameteri(GL_TEXTURE_2D, name, value);
}

// The only swizzle WebGL2 cannot do without one: alpha read as one.
void glTextureParameteriv(GLuint texture, GLenum name, const GLint* values) {
    if (name == GL_TEXTURE_SWIZZLE_RGBA && values[3] == GL_ONE && values[0] == GL_RED &&
        values[1] == GL_GREEN) {
        opaqueTextures().insert(texture);
    }
}

void glTextureSubImage2D(GLuint texture, GLint level, GLint x, GLint y, GLsizei w, GLsizei h,
                         GLenum format, GLenum type, const void* pixels) {
    TextureScope scope(texture);
    if (format == GL_BGRA) {
        const bool opaque = opaqueTextures().count(texture) != 0;
        const auto rgba =
            swapRedBlue(pixels, static_cast<std::size_t>(w) * static_cast<std::size_t>(h), opaque);
        glTexSubImage2D(GL_TEXTURE_2D, level, x, y, w, h, GL_RGBA, type, rgba.data());
        return;
    }
    glTexSubImage2D(GL_TEXTURE_2D, level, x, y, w, h, format, type, pixels);
}

// Read back through a scratch framebuffer; WebGL reads RGBA bytes of colour-renderable levels.
void glGetTextureImage(GLuint texture, GLint level, GLenum format, GLenum type, GLsizei size,
                       void* pixels) {
    const auto found = textureSizes().find(texture);
    if (found == textureSizes().end() || type != GL_UNSIGNED_BYTE ||
        (format != GL_BGRA && format != GL_RGBA)) {
        return;
    }
    const GLsizei w = std::max(1, found->second[0] >> level);
    const GLsizei h = std::max(1, found->second[1] >> level);
    if (static_cast<std::size_t>(size) < static_cast<std::size_t>(w) * h * 4) {
        return;
    }
    GLuint fbo = 0;
    glGenFramebuffers(1, &fbo);
    {
        FramebufferScope scope(GL_READ_FRAMEBUFFER, fbo);
        glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture,
                               level);
        glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    }
    glDeleteFramebuffers(1, &fbo);
    if (format == GL_BGRA) {
        const auto bgra = swapRedBlue(pixels, static_cast<std::size_t>(w) * h, false);
        std::memcpy(pixels, bgra.data(), bgra.size());
    }
}

void glClearTexSubImage(GLuint texture, GLint level, GLint x, GLint y, GLint, GLsizei w, GLsizei h,
                        GLsizei, GLenum, GLenum, const void* data) {
    GLuint fbo = 0;
    glGenFramebuffers(1, &fbo);
    GLboolean scissorWasOn = glIsEnabled(GL_SCISSOR_TEST);
    GLint scissor[4];
    glGetIntegerv(GL_SCISSOR_BOX, scissor);
    GLboolean mask[4];
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    {
        FramebufferScope scope(GL_DRAW_FRAMEBUFFER, fbo);
        glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture,
                               level);
        const GLenum buffer = GL_COLOR_ATTACHMENT0;
        glDrawBuffers(1, &buffer);
        glEnable(GL_SCISSOR_TEST);
        glScissor(x, y, w, h);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearBufferfv(GL_COLOR, 0, static_cast<const GLfloat*>(data));
    }
    glColorMask(mask[0], mask[1], mask[2], mask[3]);
    glScissor(scissor[0], scissor[1], scissor[2], scissor[3]);
    if (scissorWasOn == GL_FALSE) {
        glDisable(GL_SCISSOR_TEST);
    }
    glDeleteFramebuffers(1, &fbo);
}

void glGenerateTextureMipmap(GLuint texture) {
    TextureScope scope(texture);
    glGenerateMipmap(GL_TEXTURE_2D);
}

void glBindTextureUnit(GLuint unit, GLuint texture) {
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, texture);
}

void glUseProgramTracked(GLuint program) {
    currentProgram() = program;
    glUseProgram(program);
}

#define KELVO_PROGRAM_UNIFORM_V(name, call, type)                             \
    void name(GLuint program, GLint location, GLsizei count, const type* v) { \
        ProgramScope scope(program);                                          \
        call(location, count, v);                                             \
    }
KELVO_PROGRAM_UNIFORM_V(glProgramUniform1fv, glUniform1fv, GLfloat)
KELVO_PROGRAM_UNIFORM_V(glProgramUniform2fv, glUniform2fv, GLfloat)
KELVO_PROGRAM_UNIFORM_V(glProgramUniform3fv, glUniform3fv, GLfloat)
KELVO_PROGRAM_UNIFORM_V(glProgramUniform4fv, glUniform4fv, GLfloat)
KELVO_PROGRAM_UNIFORM_V(glProgramUniform1iv, glUniform1iv, GLint)
KELVO_PROGRAM_UNIFORM_V(glProgramUniform2iv, glUniform2iv, GLint)
KELVO_PROGRAM_UNIFORM_V(glProgramUniform3iv, glUniform3iv, GLint)
KELVO_PROGRAM_UNIFORM_V(glProgramUniform4iv, glUniform4iv, GLint)
#undef KELVO_PROGRAM_UNIFORM_V

void glProgramUniform1f(GLuint program, GLint location, GLfloat v) {
    ProgramScope scope(program);
    glUniform1f(location, v);
}

void glProgramUniformMatrix4fv(GLuint program, GLint location, GLsizei count, GLboolean transpose,
                               const GLfloat* v) {
    ProgramScope scope(program);
    glUniformMatrix4fv(location, count, transpose, v);
}

#endif
