#include "tools/bench/show/GLFrameTrace.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

GLFrameTrace* g_trace = nullptr;

// The driver's own entry points, and the ones libepoxy held before the trace.
struct EntryPoints {
    decltype(epoxy_glDrawArrays) drawArrays;
    decltype(epoxy_glDrawElementsBaseVertex) drawElementsBaseVertex;
    decltype(epoxy_glClearNamedFramebufferfv) clearfv;
    decltype(epoxy_glClearNamedFramebufferfi) clearfi;
    decltype(epoxy_glClearNamedFramebufferiv) cleariv;
    decltype(epoxy_glBlitNamedFramebuffer) blit;
    decltype(epoxy_glGetTextureImage) getTextureImage;

    static EntryPoints current() {
        return {epoxy_glDrawArrays,
                epoxy_glDrawElementsBaseVertex,
                epoxy_glClearNamedFramebufferfv,
                epoxy_glClearNamedFramebufferfi,
                epoxy_glClearNamedFramebufferiv,
                epoxy_glBlitNamedFramebuffer,
                epoxy_glGetTextureImage};
    }
    static EntryPoints driver() {
        auto get = [](const char* name) { return SDL_GL_GetProcAddress(name); };
        EntryPoints e{};
        e.drawArrays = reinterpret_cast<decltype(e.drawArrays)>(get("glDrawArrays"));
        e.drawElementsBaseVertex =
            reinterpret_cast<decltype(e.drawElementsBaseVertex)>(get("glDrawElementsBaseVertex"));
        e.clearfv = reinterpret_cast<decltype(e.clearfv)>(get("glClearNamedFramebufferfv"));
        e.clearfi = reinterpret_cast<decltype(e.clearfi)>(get("glClearNamedFramebufferfi"));
        e.cleariv = reinterpret_cast<decltype(e.cleariv)>(get("glClearNamedFramebufferiv"));
        e.blit = reinterpret_cast<decltype(e.blit)>(get("glBlitNamedFramebuffer"));
        e.getTextureImage = reinterpret_cast<decltype(e.getTextureImage)>(get("glGetTextureImage"));
        return e;
    }
    void install() const {
        epoxy_glDrawArrays = drawArrays;
        epoxy_glDrawElementsBaseVertex = drawElementsBaseVertex;
        epoxy_glClearNamedFramebufferfv = clearfv;
        epoxy_glClearNamedFramebufferfi = clearfi;
        epoxy_glClearNamedFramebufferiv = cleariv;
        epoxy_glBlitNamedFramebuffer = blit;
        epoxy_glGetTextureImage = getTextureImage;
    }
};

EntryPoints g_saved{};
EntryPoints g_driver{};

void GLAPIENTRY tracedDrawArrays(GLenum mode, GLint first, GLsizei count) {
    g_trace->draw(mode, first, count, false, 0, nullptr, 0);
    g_driver.drawArrays(mode, first, count);
}

void GLAPIENTRY tracedDrawElementsBaseVertex(GLenum mode, GLsizei count, GLenum type,
                                             const void* indices, GLint baseVertex) {
    g_trace->draw(mode, 0, count, true, type, indices, baseVertex);
    g_driver.drawElementsBaseVertex(mode, count, type, indices, baseVertex);
}

void GLAPIENTRY tracedClearfv(GLuint fbo, GLenum buffer, GLint drawBuffer, const GLfloat* value) {
    g_trace->clear(fbo, buffer, drawBuffer, value, buffer == GL_DEPTH ? value[0] : 1.0f, 0);
    g_driver.clearfv(fbo, buffer, drawBuffer, value);
}

void GLAPIENTRY tracedClearfi(GLuint fbo, GLenum buffer, GLint drawBuffer, GLfloat depth,
                              GLint stencil) {
    g_trace->clear(fbo, buffer, drawBuffer, nullptr, depth, stencil);
    g_driver.clearfi(fbo, buffer, drawBuffer, depth, stencil);
}

void GLAPIENTRY tracedCleariv(GLuint fbo, GLenum buffer, GLint drawBuffer, const GLint* value) {
    g_trace->clear(fbo, buffer, drawBuffer, nullptr, 1.0f, value[0]);
    g_driver.cleariv(fbo, buffer, drawBuffer, value);
}

void GLAPIENTRY tracedBlit(GLuint read, GLuint draw, GLint sx0, GLint sy0, GLint sx1, GLint sy1,
                           GLint dx0, GLint dy0, GLint dx1, GLint dy1, GLbitfield mask,
                           GLenum filter) {
    if (draw == 0) {
        const GLint rectangles[8] = {sx0, sy0, sx1, sy1, dx0, dy0, dx1, dy1};
        g_trace->present(read, rectangles, filter);
    }
    g_driver.blit(read, draw, sx0, sy0, sx1, sy1, dx0, dy0, dx1, dy1, mask, filter);
}

void GLAPIENTRY tracedGetTextureImage(GLuint texture, GLint level, GLenum format, GLenum type,
                                      GLsizei bytes, void* pixels) {
    g_driver.getTextureImage(texture, level, format, type, bytes, pixels);
    if (level == 0) {
        g_trace->readBack(texture, format, type, bytes, pixels);
    }
}

GLint integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

TracedState currentState() {
    TracedState s;
    glGetIntegerv(GL_VIEWPORT, s.viewport.data());
    glGetFloatv(GL_DEPTH_RANGE, s.depthRange.data());
    s.scissorTest = glIsEnabled(GL_SCISSOR_TEST) != GL_FALSE;
    glGetIntegerv(GL_SCISSOR_BOX, s.scissor.data());
    s.blend = glIsEnabled(GL_BLEND) != GL_FALSE;
    s.blendFunc = {integer(GL_BLEND_SRC_RGB), integer(GL_BLEND_DST_RGB),
                   integer(GL_BLEND_SRC_ALPHA), integer(GL_BLEND_DST_ALPHA)};
    s.blendEquation = {integer(GL_BLEND_EQUATION_RGB), integer(GL_BLEND_EQUATION_ALPHA)};
    glGetFloatv(GL_BLEND_COLOR, s.blendColor.data());
    s.depthTest = glIsEnabled(GL_DEPTH_TEST) != GL_FALSE;
    s.depthFunc = integer(GL_DEPTH_FUNC);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &s.depthMask);
    s.cullFace = glIsEnabled(GL_CULL_FACE) != GL_FALSE;
    s.cullMode = integer(GL_CULL_FACE_MODE);
    s.frontFace = integer(GL_FRONT_FACE);
    GLint polygon[2] = {GL_FILL, GL_FILL};
    glGetIntegerv(GL_POLYGON_MODE, polygon);
    s.polygonMode = polygon[0];
    glGetBooleanv(GL_COLOR_WRITEMASK, s.colorMask.data());
    s.stencilMask = integer(GL_STENCIL_WRITEMASK);
    return s;
}

std::string shaderSource(GLuint program, GLenum stage) {
    GLuint shaders[4] = {};
    GLsizei count = 0;
    glGetAttachedShaders(program, 4, &count, shaders);
    for (GLsizei i = 0; i < count; ++i) {
        GLint type = 0;
        glGetShaderiv(shaders[i], GL_SHADER_TYPE, &type);
        if (static_cast<GLenum>(type) == stage) {
            GLint length = 0;
            glGetShaderiv(shaders[i], GL_SHADER_SOURCE_LENGTH, &length);
            std::string source(static_cast<std::size_t>(std::max(length, 1)), '\0');
            glGetShaderSource(shaders[i], length, nullptr, source.data());
            source.resize(std::strlen(source.c_str()));
            return source;
        }
    }
    return {};
}

bool isSampler(GLenum type) {
    return type == GL_SAMPLER_2D || type == GL_SAMPLER_CUBE || type == GL_SAMPLER_3D;
}

GLenum samplerTarget(GLenum type) {
    return type == GL_SAMPLER_CUBE ? GL_TEXTURE_CUBE_MAP
                                   : (type == GL_SAMPLER_3D ? GL_TEXTURE_3D : GL_TEXTURE_2D);
}

GLenum bindingQuery(GLenum target) {
    return target == GL_TEXTURE_CUBE_MAP
               ? GL_TEXTURE_BINDING_CUBE_MAP
               : (target == GL_TEXTURE_3D ? GL_TEXTURE_BINDING_3D : GL_TEXTURE_BINDING_2D);
}

// The number of 32-bit words in one element of a uniform of this type.
std::size_t wordsOf(GLenum type) {
    switch (type) {
        case GL_FLOAT_VEC2:
        case GL_INT_VEC2:
        case GL_BOOL_VEC2:
            return 2;
        case GL_FLOAT_VEC3:
        case GL_INT_VEC3:
        case GL_BOOL_VEC3:
            return 3;
        case GL_FLOAT_VEC4:
        case GL_INT_VEC4:
        case GL_BOOL_VEC4:
        case GL_FLOAT_MAT2:
            return 4;
        case GL_FLOAT_MAT3:
            return 9;
        case GL_FLOAT_MAT4:
            return 16;
        default:
            return 1;
    }
}

bool isFloat(GLenum type) {
    switch (type) {
        case GL_FLOAT:
        case GL_FLOAT_VEC2:
        case GL_FLOAT_VEC3:
        case GL_FLOAT_VEC4:
        case GL_FLOAT_MAT2:
        case GL_FLOAT_MAT3:
        case GL_FLOAT_MAT4:
            return true;
        default:
            return false;
    }
}

TracedSampler samplerOf(GLuint sampler) {
    TracedSampler s;
    const GLenum modes[5] = {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_WRAP_R,
                             GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER};
    for (int i = 0; i < 5; ++i) {
        glGetSamplerParameteriv(sampler, modes[i], &s.modes[static_cast<std::size_t>(i)]);
    }
    glGetSamplerParameterfv(sampler, GL_TEXTURE_LOD_BIAS, &s.levels[0]);
    glGetSamplerParameterfv(sampler, GL_TEXTURE_MIN_LOD, &s.levels[1]);
    glGetSamplerParameterfv(sampler, GL_TEXTURE_MAX_LOD, &s.levels[2]);
    s.levels[3] = 1.0f;
    if (epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic")) {
        glGetSamplerParameterfv(sampler, GL_TEXTURE_MAX_ANISOTROPY_EXT, &s.levels[3]);
    }
    glGetSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, s.border.data());
    return s;
}

}  // namespace

GLFrameTrace::GLFrameTrace(std::function<std::string(const char* kind)> label)
    : label_(std::move(label)) {
    if (g_trace != nullptr) {
        throw std::logic_error("one GL frame trace at a time");
    }
    g_trace = this;
    g_saved = EntryPoints::current();
    g_driver = EntryPoints::driver();
    const EntryPoints traced{&tracedDrawArrays,     &tracedDrawElementsBaseVertex,
                             &tracedClearfv,        &tracedClearfi,
                             &tracedCleariv,        &tracedBlit,
                             &tracedGetTextureImage};
    traced.install();
}

GLFrameTrace::~GLFrameTrace() {
    if (active_) {
        finish();
        for (GLuint t : trace_.textures) {
            glDeleteTextures(1, &t);
        }
        for (GLuint r : trace_.renderbuffers) {
            glDeleteRenderbuffers(1, &r);
        }
    }
}

FrameTrace GLFrameTrace::finish() {
    if (active_) {
        g_saved.install();
        g_trace = nullptr;
        active_ = false;
    }
    return std::move(trace_);
}

TracedOp GLFrameTrace::begin(TracedOp::Kind kind, const char* labelKind, GLuint framebuffer) {
    TracedOp op;
    op.kind = kind;
    op.label = label_(labelKind);
    op.state = currentState();
    op.target = target(framebuffer);
    return op;
}

TracedTarget GLFrameTrace::target(GLuint framebuffer) {
    TracedTarget t;
    for (GLuint i = 0; i < 4; ++i) {
        GLint type = GL_NONE;
        GLint name = 0;
        glGetNamedFramebufferAttachmentParameteriv(framebuffer, GL_COLOR_ATTACHMENT0 + i,
                                                   GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &type);
        if (type == GL_TEXTURE) {
            glGetNamedFramebufferAttachmentParameteriv(framebuffer, GL_COLOR_ATTACHMENT0 + i,
                                                       GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME,
                                                       &name);
            glGetNamedFramebufferAttachmentParameteriv(framebuffer, GL_COLOR_ATTACHMENT0 + i,
                                                       GL_FRAMEBUFFER_ATTACHMENT_TEXTURE_LEVEL,
                                                       &t.levels[i]);
            t.colors[i] = texture(static_cast<GLuint>(name));
        }
        // The draw buffers of the bound draw framebuffer (the device clears and draws into the
        // one it has bound).
        t.drawBuffers[i] = static_cast<GLenum>(integer(GL_DRAW_BUFFER0 + i));
    }
    GLint type = GL_NONE;
    glGetNamedFramebufferAttachmentParameteriv(framebuffer, GL_DEPTH_STENCIL_ATTACHMENT,
                                               GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &type);
    if (type == GL_RENDERBUFFER) {
        GLint name = 0;
        glGetNamedFramebufferAttachmentParameteriv(framebuffer, GL_DEPTH_STENCIL_ATTACHMENT,
                                                   GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &name);
        t.depthStencil = renderbuffer(static_cast<GLuint>(name));
    }
    return t;
}

// A copy of the texture with its contents as they are now: the first time the frame touches it,
// so the replica starts from what the device's frame started from.
GLuint GLFrameTrace::texture(GLuint name) {
    if (name == 0) {
        return 0;
    }
    if (auto found = textureCopies_.find(name); found != textureCopies_.end()) {
        return found->second;
    }
    GLint target = GL_TEXTURE_2D, levels = 1, format = GL_RGBA8, width = 0, height = 0;
    glGetTextureParameteriv(name, GL_TEXTURE_TARGET, &target);
    glGetTextureParameteriv(name, GL_TEXTURE_IMMUTABLE_LEVELS, &levels);
    glGetTextureLevelParameteriv(name, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    glGetTextureLevelParameteriv(name, 0, GL_TEXTURE_WIDTH, &width);
    glGetTextureLevelParameteriv(name, 0, GL_TEXTURE_HEIGHT, &height);
    GLuint copy = 0;
    glCreateTextures(static_cast<GLenum>(target), 1, &copy);
    glTextureStorage2D(copy, std::max(levels, 1), static_cast<GLenum>(format), width, height);
    const GLint faces = target == GL_TEXTURE_CUBE_MAP ? 6 : 1;
    for (GLint level = 0; level < std::max(levels, 1); ++level) {
        glCopyImageSubData(name, static_cast<GLenum>(target), level, 0, 0, 0, copy,
                           static_cast<GLenum>(target), level, 0, 0, 0, std::max(1, width >> level),
                           std::max(1, height >> level), faces);
    }
    textureCopies_[name] = copy;
    trace_.textures.push_back(copy);
    return copy;
}

GLuint GLFrameTrace::renderbuffer(GLuint name) {
    if (auto found = renderbufferCopies_.find(name); found != renderbufferCopies_.end()) {
        return found->second;
    }
    GLint format = GL_DEPTH24_STENCIL8, width = 0, height = 0;
    glGetNamedRenderbufferParameteriv(name, GL_RENDERBUFFER_INTERNAL_FORMAT, &format);
    glGetNamedRenderbufferParameteriv(name, GL_RENDERBUFFER_WIDTH, &width);
    glGetNamedRenderbufferParameteriv(name, GL_RENDERBUFFER_HEIGHT, &height);
    GLuint copy = 0;
    glCreateRenderbuffers(1, &copy);
    glNamedRenderbufferStorage(copy, static_cast<GLenum>(format), width, height);
    glCopyImageSubData(name, GL_RENDERBUFFER, 0, 0, 0, 0, copy, GL_RENDERBUFFER, 0, 0, 0, 0, width,
                       height, 1);
    renderbufferCopies_[name] = copy;
    trace_.renderbuffers.push_back(copy);
    return copy;
}

void GLFrameTrace::clear(GLuint framebuffer, GLenum buffer, GLint drawBuffer, const GLfloat* color,
                         GLfloat depth, GLint stencil) {
    TracedOp op = begin(TracedOp::Kind::Clear, "clear", framebuffer);
    op.clearBuffer = buffer;
    op.drawBuffer = drawBuffer;
    if (color != nullptr && buffer == GL_COLOR) {
        std::copy(color, color + 4, op.clearColor.begin());
    }
    op.clearDepth = depth;
    op.clearStencil = stencil;
    trace_.ops.push_back(std::move(op));
}

void GLFrameTrace::program(GLuint name, TracedOp& op) {
    op.program = name;
    if (trace_.programs.count(name) == 0) {
        trace_.programs[name] = {shaderSource(name, GL_VERTEX_SHADER),
                                 shaderSource(name, GL_FRAGMENT_SHADER)};
    }
    GLint uniforms = 0;
    glGetProgramiv(name, GL_ACTIVE_UNIFORMS, &uniforms);
    for (GLint u = 0; u < uniforms; ++u) {
        char text[256];
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(name, static_cast<GLuint>(u), sizeof text, nullptr, &size, &type, text);
        std::string base(text);
        if (base.size() > 3 && base.compare(base.size() - 3, 3, "[0]") == 0) {
            base.resize(base.size() - 3);
        }
        for (GLint element = 0; element < size; ++element) {
            const std::string elementName =
                size > 1 ? base + "[" + std::to_string(element) + "]" : std::string(text);
            TracedUniform uniform;
            uniform.location = glGetUniformLocation(name, elementName.c_str());
            uniform.type = type;
            if (uniform.location < 0) {
                continue;
            }
            uniform.words.resize(wordsOf(type));
            void* data = uniform.words.data();
            isFloat(type) ? glGetUniformfv(name, uniform.location, static_cast<GLfloat*>(data))
                          : glGetUniformiv(name, uniform.location, static_cast<GLint*>(data));
            op.uniforms.push_back(std::move(uniform));
        }
    }
}

void GLFrameTrace::textures(GLuint, TracedOp& op) {
    GLint active = GL_TEXTURE0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    for (const TracedUniform& uniform : op.uniforms) {
        if (!isSampler(uniform.type)) {
            continue;
        }
        TracedTexture t;
        t.unit = uniform.words[0];
        t.target = samplerTarget(uniform.type);
        glActiveTexture(GL_TEXTURE0 + t.unit);
        const GLint bound = integer(bindingQuery(t.target));
        t.sampler = samplerOf(static_cast<GLuint>(integer(GL_SAMPLER_BINDING)));
        t.texture = texture(static_cast<GLuint>(bound));
        op.textures.push_back(t);
    }
    glActiveTexture(static_cast<GLenum>(active));
}

std::size_t GLFrameTrace::append(GLuint buffer, GLintptr offset, GLsizeiptr bytes) {
    std::vector<unsigned char>& all = trace_.vertexBytes;
    const std::size_t at = (all.size() + 15) / 16 * 16;
    all.resize(at + static_cast<std::size_t>(bytes));
    glGetNamedBufferSubData(buffer, offset, bytes, all.data() + at);
    return at;
}

void GLFrameTrace::draw(GLenum mode, GLint first, GLsizei count, bool indexed, GLenum indexType,
                        const void* indices, GLint baseVertex) {
    GLint framebuffer = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &framebuffer);
    TracedOp op = begin(TracedOp::Kind::Draw, "draw", static_cast<GLuint>(framebuffer));
    op.mode = mode;
    op.first = first;
    op.count = count;
    op.indexed = indexed;
    op.indexType = indexType;
    op.baseVertex = baseVertex;
    program(static_cast<GLuint>(integer(GL_CURRENT_PROGRAM)), op);
    textures(op.program, op);

    const auto vao = static_cast<GLuint>(integer(GL_VERTEX_ARRAY_BINDING));
    std::uint32_t bindingsUsed = 0;
    for (GLuint location = 0; location < 16; ++location) {
        GLint enabled = 0;
        glGetVertexArrayIndexediv(vao, location, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
        if (enabled == 0) {
            continue;
        }
        TracedAttribute a;
        a.location = location;
        GLint value = 0;
        glGetVertexArrayIndexediv(vao, location, GL_VERTEX_ATTRIB_ARRAY_SIZE, &a.size);
        glGetVertexArrayIndexediv(vao, location, GL_VERTEX_ATTRIB_ARRAY_TYPE, &value);
        a.type = static_cast<GLenum>(value);
        glGetVertexArrayIndexediv(vao, location, GL_VERTEX_ATTRIB_ARRAY_NORMALIZED, &value);
        a.normalized = value != 0 ? GL_TRUE : GL_FALSE;
        glGetVertexArrayIndexediv(vao, location, GL_VERTEX_ATTRIB_RELATIVE_OFFSET, &value);
        a.relativeOffset = static_cast<GLuint>(value);
        glGetVertexArrayIndexediv(vao, location, GL_VERTEX_ATTRIB_BINDING, &value);
        a.binding = static_cast<GLuint>(value);
        bindingsUsed |= 1u << a.binding;
        op.attributes.push_back(a);
    }
    GLint elementBuffer = 0;
    glGetVertexArrayiv(vao, GL_ELEMENT_ARRAY_BUFFER_BINDING, &elementBuffer);
    for (GLuint binding = 0; binding < 16; ++binding) {
        if ((bindingsUsed & (1u << binding)) == 0) {
            continue;
        }
        GLint buffer = 0, stride = 0;
        GLint64 offset = 0, size = 0;
        glGetVertexArrayIndexediv(vao, binding, GL_VERTEX_BINDING_BUFFER, &buffer);
        glGetVertexArrayIndexediv(vao, binding, GL_VERTEX_BINDING_STRIDE, &stride);
        glGetVertexArrayIndexed64iv(vao, binding, GL_VERTEX_BINDING_OFFSET, &offset);
        glGetNamedBufferParameteri64v(static_cast<GLuint>(buffer), GL_BUFFER_SIZE, &size);
        // A plain draw reads its vertices only; an indexed one may read anywhere after the offset.
        const GLint64 bytes = indexed ? size - offset : GLint64{first + count} * stride;
        op.bindings.push_back(
            {binding, append(static_cast<GLuint>(buffer), static_cast<GLintptr>(offset), bytes),
             stride});
    }
    if (indexed) {
        const std::size_t indexSize = indexType == GL_UNSIGNED_INT ? 4 : 2;
        op.indexOffset =
            append(static_cast<GLuint>(elementBuffer), reinterpret_cast<GLintptr>(indices),
                   static_cast<GLsizeiptr>(indexSize * static_cast<std::size_t>(count)));
    }
    trace_.ops.push_back(std::move(op));
}

void GLFrameTrace::present(GLuint readFramebuffer, const GLint* rectangles, GLenum filter) {
    TracedOp op = begin(TracedOp::Kind::Present, "present", readFramebuffer);
    op.window = SDL_GL_GetCurrentWindow();
    std::copy(rectangles, rectangles + 8, op.blit.begin());
    op.blitFilter = filter;
    trace_.ops.push_back(std::move(op));
}

void GLFrameTrace::readBack(GLuint texture, GLenum format, GLenum type, GLsizei bytes,
                            const void* pixels) {
    TracedOp op;
    op.kind = TracedOp::Kind::ReadBack;
    op.label = label_("read-back");
    op.readTexture = this->texture(texture);
    op.readFormat = format;
    op.readType = type;
    op.readBytes = bytes;
    const auto* begin = static_cast<const unsigned char*>(pixels);
    trace_.readBack.assign(begin, begin + bytes);
    trace_.ops.push_back(std::move(op));
}
