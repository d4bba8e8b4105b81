#include "tools/bench/show/ReplicaFrame.h"

#include <algorithm>

namespace {

GLuint compileProgram(const TracedProgram& source) {
    const GLuint program = glCreateProgram();
    for (const auto& [stage, text] :
         {std::pair{GL_VERTEX_SHADER, &source.vertex}, {GL_FRAGMENT_SHADER, &source.fragment}}) {
        const GLuint shader = glCreateShader(stage);
        const char* code = text->c_str();
        glShaderSource(shader, 1, &code, nullptr);
        glCompileShader(shader);
        glAttachShader(program, shader);
        glDeleteShader(shader);
    }
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        glDeleteProgram(program);
        return 0;
    }
    return program;
}

void setUniform(const TracedUniform& u) {
    const auto* f = reinterpret_cast<const GLfloat*>(u.words.data());
    const auto* i = reinterpret_cast<const GLint*>(u.words.data());
    switch (u.type) {
        case GL_FLOAT:
            return glUniform1fv(u.location, 1, f);
        case GL_FLOAT_VEC2:
            return glUniform2fv(u.location, 1, f);
        case GL_FLOAT_VEC3:
            return glUniform3fv(u.location, 1, f);
        case GL_FLOAT_VEC4:
            return glUniform4fv(u.location, 1, f);
        case GL_FLOAT_MAT2:
            return glUniformMatrix2fv(u.location, 1, GL_FALSE, f);
        case GL_FLOAT_MAT3:
            return glUniformMatrix3fv(u.location, 1, GL_FALSE, f);
        case GL_FLOAT_MAT4:
            return glUniformMatrix4fv(u.location, 1, GL_FALSE, f);
        case GL_INT_VEC2:
        case GL_BOOL_VEC2:
            return glUniform2iv(u.location, 1, i);
        case GL_INT_VEC3:
        case GL_BOOL_VEC3:
            return glUniform3iv(u.location, 1, i);
        case GL_INT_VEC4:
        case GL_BOOL_VEC4:
            return glUniform4iv(u.location, 1, i);
        default:  // int, bool and the samplers' units
            return glUniform1iv(u.location, 1, i);
    }
}

void enableIf(GLenum capability, bool on) {
    on ? glEnable(capability) : glDisable(capability);
}

}  // namespace

ReplicaFrame::ReplicaFrame(FrameTrace trace) : trace_(std::move(trace)) {
    for (const std::string& call : trace_.unsupported) {
        error_ += (error_.empty() ? "cannot replay " : ", ") + call;
    }
    if (error_.empty() && createContext()) {
        build();
        leave();
    }
}

ReplicaFrame::~ReplicaFrame() {
    if (context_ != nullptr) {
        enter();
        destroy();
        leave();
        SDL_GL_DeleteContext(context_);
    } else {
        destroy();
    }
}

bool ReplicaFrame::createContext() {
    deviceWindow_ = SDL_GL_GetCurrentWindow();
    deviceContext_ = SDL_GL_GetCurrentContext();
    for (const TracedOp& op : trace_.ops) {
        window_ = op.kind == TracedOp::Kind::Present ? op.window : window_;
    }
    if (window_ == nullptr) {
        error_ = "the traced frame presents nothing";
        return false;
    }
    GLint origin = GL_LOWER_LEFT, depthMode = GL_NEGATIVE_ONE_TO_ONE;
    glGetIntegerv(GL_CLIP_ORIGIN, &origin);
    glGetIntegerv(GL_CLIP_DEPTH_MODE, &depthMode);
    const int interval = SDL_GL_GetSwapInterval();
    // The copies the trace made must be complete before another context reads them.
    glFinish();
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 1);
    context_ = SDL_GL_CreateContext(window_);
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
    if (context_ == nullptr) {
        error_ = std::string("no second GL context: ") + SDL_GetError();
        SDL_GL_MakeCurrent(deviceWindow_, deviceContext_);
        return false;
    }
    glClipControl(static_cast<GLenum>(origin), static_cast<GLenum>(depthMode));
    SDL_GL_SetSwapInterval(interval);
    return true;
}

void ReplicaFrame::destroy() {
    for (const auto& [name, program] : programs_) {
        glDeleteProgram(program);
    }
    for (const auto& [target, fbo] : framebuffers_) {
        glDeleteFramebuffers(1, &fbo);
    }
    for (const auto& [state, s] : samplers_) {
        glDeleteSamplers(1, &s);
    }
    glDeleteVertexArrays(static_cast<GLsizei>(vertexArrays_.size()), vertexArrays_.data());
    glDeleteBuffers(1, &buffer_);
    glDeleteFramebuffers(1, &readFramebuffer_);
    glDeleteTextures(static_cast<GLsizei>(trace_.textures.size()), trace_.textures.data());
    glDeleteRenderbuffers(static_cast<GLsizei>(trace_.renderbuffers.size()),
                          trace_.renderbuffers.data());
}

void ReplicaFrame::build() {
    for (const auto& [name, source] : trace_.programs) {
        programs_[name] = compileProgram(source);
        if (programs_[name] == 0) {
            error_ = "a traced program does not link again";
            return;
        }
    }
    glCreateBuffers(1, &buffer_);
    glNamedBufferStorage(
        buffer_, static_cast<GLsizeiptr>(std::max<std::size_t>(trace_.vertexBytes.size(), 16)),
        trace_.vertexBytes.data(), 0);
    glCreateFramebuffers(1, &readFramebuffer_);
    for (const TracedOp& op : trace_.ops) {
        if (op.kind != TracedOp::Kind::ReadBack && op.kind != TracedOp::Kind::Present) {
            framebuffer(op.target);
        }
        for (const TracedTexture& t : op.textures) {
            sampler(t.sampler);
        }
        vertexArrays_.push_back(op.kind == TracedOp::Kind::Draw ? vertexArray(op) : 0);
        if (op.kind == TracedOp::Kind::Present) {
            glNamedFramebufferTexture(readFramebuffer_, GL_COLOR_ATTACHMENT0, op.target.colors[0],
                                      0);
        }
    }
}

GLuint ReplicaFrame::framebuffer(const TracedTarget& target) {
    if (auto found = framebuffers_.find(target); found != framebuffers_.end()) {
        return found->second;
    }
    GLuint fbo = 0;
    glCreateFramebuffers(1, &fbo);
    for (GLuint i = 0; i < 4; ++i) {
        if (target.colors[i] != 0) {
            glNamedFramebufferTexture(fbo, GL_COLOR_ATTACHMENT0 + i, target.colors[i],
                                      target.levels[i]);
        }
    }
    glNamedFramebufferDrawBuffers(fbo, 4, target.drawBuffers.data());
    if (target.depthStencil != 0) {
        glNamedFramebufferRenderbuffer(fbo, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                       target.depthStencil);
    }
    framebuffers_[target] = fbo;
    return fbo;
}

GLuint ReplicaFrame::sampler(const TracedSampler& state) {
    if (auto found = samplers_.find(state); found != samplers_.end()) {
        return found->second;
    }
    GLuint s = 0;
    glCreateSamplers(1, &s);
    const GLenum modes[5] = {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_WRAP_R,
                             GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER};
    for (std::size_t i = 0; i < 5; ++i) {
        glSamplerParameteri(s, modes[i], state.modes[i]);
    }
    glSamplerParameterf(s, GL_TEXTURE_LOD_BIAS, state.levels[0]);
    glSamplerParameterf(s, GL_TEXTURE_MIN_LOD, state.levels[1]);
    glSamplerParameterf(s, GL_TEXTURE_MAX_LOD, state.levels[2]);
    if (state.levels[3] > 1.0f) {
        glSamplerParameterf(s, GL_TEXTURE_MAX_ANISOTROPY_EXT, state.levels[3]);
    }
    glSamplerParameterfv(s, GL_TEXTURE_BORDER_COLOR, state.border.data());
    samplers_[state] = s;
    return s;
}

GLuint ReplicaFrame::vertexArray(const TracedOp& op) {
    GLuint vao = 0;
    glCreateVertexArrays(1, &vao);
    for (const TracedAttribute& a : op.attributes) {
        glVertexArrayAttribFormat(vao, a.location, a.size, a.type, a.normalized, a.relativeOffset);
        glVertexArrayAttribBinding(vao, a.location, a.binding);
        glEnableVertexArrayAttrib(vao, a.location);
    }
    for (const TracedBinding& b : op.bindings) {
        glVertexArrayVertexBuffer(vao, b.index, buffer_, static_cast<GLintptr>(b.bufferOffset),
                                  b.stride);
    }
    if (op.indexed) {
        glVertexArrayElementBuffer(vao, buffer_);
    }
    return vao;
}

void ReplicaFrame::enter() {
    SDL_GL_MakeCurrent(window_, context_);
}

void ReplicaFrame::leave() {
    SDL_GL_MakeCurrent(deviceWindow_, deviceContext_);
}

void ReplicaFrame::render(const Timer& time) {
    for (std::size_t i = 0; i < trace_.ops.size(); ++i) {
        const TracedOp& op = trace_.ops[i];
        auto run = [&] {
            switch (op.kind) {
                case TracedOp::Kind::Clear:
                    return clear(op);
                case TracedOp::Kind::Draw:
                    return draw(op, vertexArrays_[i]);
                case TracedOp::Kind::Present:
                    return present(op);
                case TracedOp::Kind::ReadBack:
                    pixels_.resize(static_cast<std::size_t>(op.readBytes));
                    return glGetTextureImage(op.readTexture, 0, op.readFormat, op.readType,
                                             op.readBytes, pixels_.data());
            }
        };
        time ? time(op.label, run) : run();
    }
}

void ReplicaFrame::apply(const TracedState& s) {
    glViewport(s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
    glDepthRangef(s.depthRange[0], s.depthRange[1]);
    enableIf(GL_SCISSOR_TEST, s.scissorTest);
    glScissor(s.scissor[0], s.scissor[1], s.scissor[2], s.scissor[3]);
    enableIf(GL_BLEND, s.blend);
    glBlendFuncSeparate(static_cast<GLenum>(s.blendFunc[0]), static_cast<GLenum>(s.blendFunc[1]),
                        static_cast<GLenum>(s.blendFunc[2]), static_cast<GLenum>(s.blendFunc[3]));
    glBlendEquationSeparate(static_cast<GLenum>(s.blendEquation[0]),
                            static_cast<GLenum>(s.blendEquation[1]));
    glBlendColor(s.blendColor[0], s.blendColor[1], s.blendColor[2], s.blendColor[3]);
    enableIf(GL_DEPTH_TEST, s.depthTest);
    glDepthFunc(static_cast<GLenum>(s.depthFunc));
    glDepthMask(s.depthMask);
    enableIf(GL_CULL_FACE, s.cullFace);
    glCullFace(static_cast<GLenum>(s.cullMode));
    glFrontFace(static_cast<GLenum>(s.frontFace));
    glPolygonMode(GL_FRONT_AND_BACK, static_cast<GLenum>(s.polygonMode));
    glColorMask(s.colorMask[0], s.colorMask[1], s.colorMask[2], s.colorMask[3]);
    glStencilMask(static_cast<GLuint>(s.stencilMask));
}

// The scissor box covers the cleared attachment: a program written for this frame clears the
// whole target and sets no scissor.
bool ReplicaFrame::coversTarget(const TracedOp& op) const {
    const GLuint texture = op.target.colors[0];
    GLint width = 0, height = 0;
    if (texture != 0) {
        glGetTextureLevelParameteriv(texture, op.target.levels[0], GL_TEXTURE_WIDTH, &width);
        glGetTextureLevelParameteriv(texture, op.target.levels[0], GL_TEXTURE_HEIGHT, &height);
    } else if (op.target.depthStencil != 0) {
        glGetNamedRenderbufferParameteriv(op.target.depthStencil, GL_RENDERBUFFER_WIDTH, &width);
        glGetNamedRenderbufferParameteriv(op.target.depthStencil, GL_RENDERBUFFER_HEIGHT, &height);
    }
    const auto& box = op.state.scissor;
    return box[0] <= 0 && box[1] <= 0 && box[0] + box[2] >= width && box[1] + box[3] >= height;
}

void ReplicaFrame::clear(const TracedOp& op) {
    const GLuint fbo = framebuffers_.at(op.target);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, fbo);
    TracedState state = op.state;
    state.scissorTest = state.scissorTest && !coversTarget(op);
    enableIf(GL_SCISSOR_TEST, state.scissorTest);
    glScissor(state.scissor[0], state.scissor[1], state.scissor[2], state.scissor[3]);
    glColorMask(state.colorMask[0], state.colorMask[1], state.colorMask[2], state.colorMask[3]);
    glDepthMask(state.depthMask);
    glStencilMask(static_cast<GLuint>(state.stencilMask));
    switch (op.clearBuffer) {
        case GL_COLOR:
            return glClearNamedFramebufferfv(fbo, GL_COLOR, op.drawBuffer, op.clearColor.data());
        case GL_DEPTH:
            return glClearNamedFramebufferfv(fbo, GL_DEPTH, 0, &op.clearDepth);
        case GL_STENCIL:
            return glClearNamedFramebufferiv(fbo, GL_STENCIL, 0, &op.clearStencil);
        default:
            return glClearNamedFramebufferfi(fbo, GL_DEPTH_STENCIL, 0, op.clearDepth,
                                             op.clearStencil);
    }
}

void ReplicaFrame::draw(const TracedOp& op, GLuint vertexArray) {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffers_.at(op.target));
    apply(op.state);
    glUseProgram(programs_.at(op.program));
    for (const TracedUniform& u : op.uniforms) {
        setUniform(u);
    }
    for (const TracedTexture& t : op.textures) {
        glBindTextureUnit(t.unit, t.texture);
        glBindSampler(t.unit, samplers_.at(t.sampler));
    }
    glBindVertexArray(vertexArray);
    if (op.indexed) {
        glDrawElementsBaseVertex(op.mode, op.count, op.indexType,
                                 reinterpret_cast<const void*>(op.indexOffset), op.baseVertex);
    } else {
        glDrawArrays(op.mode, op.first, op.count);
    }
}

void ReplicaFrame::present(const TracedOp& op) {
    const auto& r = op.blit;
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glBlitNamedFramebuffer(readFramebuffer_, 0, r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7],
                           GL_COLOR_BUFFER_BIT, op.blitFilter);
    SDL_GL_SwapWindow(window_);
}
