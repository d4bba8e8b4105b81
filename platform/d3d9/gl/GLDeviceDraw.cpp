// GLDevice, continued: clearing, vertex input and drawing, and the translation of the shadowed
// Direct3D state into GL state at draw time.
#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "platform/d3d9/gl/GLDevice.h"
#include "platform/d3d9/gl/GLIndexBuffer.h"
#include "platform/d3d9/gl/GLProgram.h"
#include "platform/d3d9/gl/GLSurface.h"
#include "platform/d3d9/gl/GLTexture.h"
#include "platform/d3d9/gl/GLTranslate.h"
#include "platform/d3d9/gl/GLVertexBuffer.h"
#include "platform/d3d9/gl/GLVertexDeclaration.h"

void GLDevice::markClearStateDirty(GLContext& context) {
    // Clear and Present set masks and scissor for themselves; the next draw restores them.
    for (StateGroup group : {StateGroup::Depth, StateGroup::ColorWrite, StateGroup::Viewport}) {
        context.forget(group);
    }
}

bool GLDevice::covers(const D3DRECT& area, const D3DSURFACE_DESC& surface) {
    return area.x1 <= 0 && area.y1 <= 0 && area.x2 >= static_cast<std::int32_t>(surface.Width) &&
           area.y2 >= static_cast<std::int32_t>(surface.Height);
}

// Depth and stencil are one buffer: clearing only one of them makes the renderer keep the other
// pixel by pixel, which costs a software renderer as much as a full-screen pass. A clear of one
// over the other's known value therefore writes that value again with it.
void GLDevice::clearDepthStencil(GLuint fbo, std::optional<float> depth,
                                 std::optional<std::uint8_t> stencil) {
    if (depth && stencil) {
        glClearNamedFramebufferfi(fbo, GL_DEPTH_STENCIL, 0, *depth, *stencil);
    } else if (depth) {
        glClearNamedFramebufferfv(fbo, GL_DEPTH, 0, &*depth);
    } else if (stencil) {
        const GLint value = *stencil;
        glClearNamedFramebufferiv(fbo, GL_STENCIL, 0, &value);
    }
}

bool GLDevice::bindTargets(GLContext& context) {
    if (!changed(context, StateGroup::Targets)) {
        return context.framebufferComplete();
    }
    const GLuint fbo = context.renderFramebuffer();
    GLenum drawBuffers[D3D_MAX_SIMULTANEOUS_RENDERTARGETS];
    for (unsigned i = 0; i < D3D_MAX_SIMULTANEOUS_RENDERTARGETS; ++i) {
        GLSurface* target = targets_[i];
        const std::uint64_t serial = target != nullptr ? target->serial() : 0;
        if (context.reattach(i, serial)) {
            glNamedFramebufferTexture(fbo, GL_COLOR_ATTACHMENT0 + i,
                                      target != nullptr ? target->name() : 0,
                                      target != nullptr ? target->level() : 0);
        }
        drawBuffers[i] = target != nullptr ? GL_COLOR_ATTACHMENT0 + i : GL_NONE;
    }
    glNamedFramebufferDrawBuffers(fbo, D3D_MAX_SIMULTANEOUS_RENDERTARGETS, drawBuffers);
    const std::uint64_t depthSerial = depth_ != nullptr ? depth_->serial() : 0;
    if (context.reattach(GLContext::kDepthAttachment, depthSerial)) {
        glNamedFramebufferRenderbuffer(fbo, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                       depth_ != nullptr ? depth_->name() : 0);
    }
    context.cache().bindDrawFramebuffer(fbo);
    const bool complete =
        glCheckNamedFramebufferStatus(fbo, GL_DRAW_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    context.setFramebufferComplete(complete);
    if (!complete) {
        std::fprintf(stderr, "d3d9: the bound render targets cannot be drawn into together\n");
    }
    return complete;
}

// A draw may write every bound colour target and, when it tests and writes depth, the depth
// surface: their contents are no longer known to be uniform.
void GLDevice::forgetDrawnContents() {
    if ((state_.renderState(D3DRS_COLORWRITEENABLE) & 0xFu) != 0) {
        for (GLSurface* target : targets_) {
            if (target != nullptr) {
                target->setUniformColor(std::nullopt);
            }
        }
    }
    if (depth_ != nullptr && state_.renderState(D3DRS_ZENABLE) != D3DZB_FALSE &&
        state_.renderState(D3DRS_ZWRITEENABLE) != FALSE) {
        depth_->setUniformDepth(std::nullopt);
    }
}

void GLDevice::applyViewport(GLContext& context) {
    if (!changed(context, StateGroup::Viewport)) {
        return;
    }
    GLStateCache& cache = context.cache();
    const auto x = static_cast<GLint>(viewport_.X);
    const auto y = static_cast<GLint>(viewport_.Y);
    const auto w = static_cast<GLsizei>(viewport_.Width);
    const auto h = static_cast<GLsizei>(viewport_.Height);
    // With the upper-left origin GL takes Direct3D's rectangles unchanged. The scissor stays on
    // with the viewport's rectangle: Direct3D draws nothing outside the viewport.
    cache.viewport(x, y, w, h);
    cache.depthRange(viewport_.MinZ, viewport_.MaxZ);
    cache.enable(GL_SCISSOR_TEST, true);
    cache.scissor(x, y, w, h);
}

HRESULT GLDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                        DWORD stencil) {
    auto scope = enter();
    GLContext* context = scope.context;
    if (context == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    if ((flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) != 0 && depth_ == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    if ((flags & D3DCLEAR_STENCIL) != 0 && depth_->desc().Format != D3DFMT_D24S8) {
        return D3DERR_INVALIDCALL;  // the depth surface has no stencil bits
    }
    if (count > 0 && rects == nullptr) {
        count = 0;  // treated as the whole viewport
    } else if (count == 0 && rects != nullptr) {
        return D3D_OK;
    }
    if (!bindTargets(*context)) {
        return D3DERR_INVALIDCALL;
    }
    GLStateCache& cache = context->cache();
    markClearStateDirty(*context);
    cache.colorMask(0xF);
    cache.depthMask(true);
    cache.stencilMask(0xFF);
    cache.enable(GL_SCISSOR_TEST, true);
    float rgba[4];
    gltranslate::colorToFloats(color, rgba);
    const GLuint fbo = context->renderFramebuffer();
    const D3DRECT whole{static_cast<std::int32_t>(viewport_.X),
                        static_cast<std::int32_t>(viewport_.Y),
                        static_cast<std::int32_t>(viewport_.X + viewport_.Width),
                        static_cast<std::int32_t>(viewport_.Y + viewport_.Height)};
    // What the surfaces already hold everywhere needs no writing: a stencil or depth clear to
    // the value held, a colour clear of the back buffer to the colour it was cleared to.
    const auto stencilValue = static_cast<std::uint8_t>(stencil & 0xFFu);
    const float depthValue = std::clamp(z, 0.0f, 1.0f);
    const std::optional<std::uint8_t> heldStencil =
        depth_ != nullptr ? depth_->uniformStencil() : std::nullopt;
    const std::optional<float> heldDepth =
        depth_ != nullptr ? depth_->uniformDepth() : std::nullopt;
    const bool clearDepth = (flags & D3DCLEAR_ZBUFFER) != 0 && heldDepth != depthValue;
    const bool clearStencil = (flags & D3DCLEAR_STENCIL) != 0 && heldStencil != stencilValue;
    std::array<bool, D3D_MAX_SIMULTANEOUS_RENDERTARGETS> clearColor{};
    for (unsigned i = 0; i < D3D_MAX_SIMULTANEOUS_RENDERTARGETS; ++i) {
        clearColor[i] = (flags & D3DCLEAR_TARGET) != 0 && targets_[i] != nullptr &&
                        targets_[i]->uniformColor() != color;
    }
    bool coveredWholeDepth = false;
    std::array<bool, D3D_MAX_SIMULTANEOUS_RENDERTARGETS> coveredWholeColor{};
    for (DWORD r = 0; r < std::max<DWORD>(count, 1); ++r) {
        // Rectangles are clipped to the viewport.
        D3DRECT area = whole;
        if (count > 0) {
            area.x1 = std::max(area.x1, rects[r].x1);
            area.y1 = std::max(area.y1, rects[r].y1);
            area.x2 = std::min(area.x2, rects[r].x2);
            area.y2 = std::min(area.y2, rects[r].y2);
            if (area.x1 >= area.x2 || area.y1 >= area.y2) {
                continue;
            }
        }
        cache.scissor(area.x1, area.y1, area.x2 - area.x1, area.y2 - area.y1);
        for (unsigned i = 0; i < D3D_MAX_SIMULTANEOUS_RENDERTARGETS; ++i) {
            if (clearColor[i]) {
                glClearNamedFramebufferfv(fbo, GL_COLOR, static_cast<GLint>(i), rgba);
                coveredWholeColor[i] = coveredWholeColor[i] || covers(area, targets_[i]->desc());
            }
        }
        if (clearDepth || clearStencil) {
            clearDepthStencil(fbo, clearDepth ? std::optional(depthValue) : heldDepth,
                              clearStencil ? std::optional(stencilValue) : heldStencil);
            coveredWholeDepth = coveredWholeDepth || covers(area, depth_->desc());
        }
    }
    for (unsigned i = 0; i < D3D_MAX_SIMULTANEOUS_RENDERTARGETS; ++i) {
        if (clearColor[i]) {
            targets_[i]->setUniformColor(coveredWholeColor[i] ? std::optional(color)
                                                              : std::nullopt);
        }
    }
    if (clearStencil) {
        depth_->setUniformStencil(coveredWholeDepth ? std::optional(stencilValue) : std::nullopt);
    }
    if (clearDepth) {
        depth_->setUniformDepth(coveredWholeDepth ? std::optional(depthValue) : std::nullopt);
    }
    return D3D_OK;
}

// ---- Vertex input -----------------------------------------------------------------------------

HRESULT GLDevice::SetVertexDeclaration(IDirect3DVertexDeclaration9* declaration) {
    auto scope = lockOnly();
    auto* d = static_cast<GLVertexDeclaration*>(declaration);
    if (d != declaration_) {
        rebind(declaration_, d);
        state_.touch(StateGroup::VertexInput);
    }
    return D3D_OK;
}

HRESULT GLDevice::SetFVF(DWORD fvf) {
    auto scope = lockOnly();
    if (fvf == 0) {
        return D3D_OK;  // ignored, as Direct3D does
    }
    auto found = fvfDeclarations_.find(fvf);
    if (found == fvfDeclarations_.end()) {
        std::vector<D3DVERTEXELEMENT9> elements;
        GLVertexDeclaration* created = nullptr;
        if (GLVertexDeclaration::elementsOfFvf(fvf, &elements)) {
            created = GLVertexDeclaration::create(*this, elements.data(), true, fvf);
        }
        if (created == nullptr) {
            std::fprintf(stderr, "d3d9: FVF 0x%x is not supported\n", fvf);
            return D3DERR_INVALIDCALL;
        }
        found = fvfDeclarations_.emplace(fvf, created).first;
    }
    return SetVertexDeclaration(found->second);
}

HRESULT GLDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                                  UINT stride) {
    auto scope = lockOnly();
    if (stream >= kStreams) {
        return D3DERR_INVALIDCALL;
    }
    Stream& s = streams_[stream];
    rebind(s.buffer, static_cast<GLVertexBuffer*>(buffer));
    s.offset = offset;
    s.stride = stride;
    state_.touch(StateGroup::VertexInput);
    return D3D_OK;
}

HRESULT GLDevice::SetIndices(IDirect3DIndexBuffer9* buffer) {
    auto scope = lockOnly();
    rebind(indices_, static_cast<GLIndexBuffer*>(buffer));
    state_.touch(StateGroup::VertexInput);
    return D3D_OK;
}

void GLDevice::applyVertexFormat(GLContext& context) {
    const GLuint vao = context.vertexArray();
    std::uint32_t enabled = 0;
    for (const auto& a : declaration_->attributes()) {
        glVertexArrayAttribFormat(vao, a.location, a.size, a.type, a.normalized, a.offset);
        glVertexArrayAttribBinding(vao, a.location, a.stream);
        enabled |= 1u << a.location;
    }
    for (GLuint location = 0; location < 16; ++location) {
        (enabled & (1u << location)) != 0 ? glEnableVertexArrayAttrib(vao, location)
                                          : glDisableVertexArrayAttrib(vao, location);
    }
}

bool GLDevice::applyStreams(GLContext& context, bool userPointerDraw) {
    GLStateCache& cache = context.cache();
    const GLuint vao = context.vertexArray();
    bool uploaded = false;
    for (unsigned i = userPointerDraw ? 1 : 0; i < kStreams; ++i) {
        const Stream& s = streams_[i];
        if (s.buffer == nullptr) {
            cache.vertexBuffer(i, vao, 0, 0, 16);
            continue;
        }
        uploaded |= s.buffer->store().pendingUpload();
        cache.vertexBuffer(i, vao, s.buffer->store().prepareForDraw(),
                           static_cast<GLintptr>(s.offset), static_cast<GLsizei>(s.stride));
    }
    for (const auto& a : declaration_->attributes()) {
        const bool fromUser = userPointerDraw && a.stream == 0;
        if (!fromUser && (streams_[a.stream].buffer == nullptr || streams_[a.stream].stride == 0)) {
            std::fprintf(stderr, "d3d9: the declaration reads stream %u, which has no buffer\n",
                         a.stream);
            return false;
        }
    }
    if (uploaded) {
        flushIfShared();
    }
    return true;
}

void GLDevice::applyBlend(GLContext& context) {
    GLStateCache& cache = context.cache();
    cache.enable(GL_BLEND, state_.renderState(D3DRS_ALPHABLENDENABLE) != FALSE);
    DWORD src = state_.renderState(D3DRS_SRCBLEND);
    DWORD dst = state_.renderState(D3DRS_DESTBLEND);
    // The two obsolete "both" factors set source and destination together.
    if (src == D3DBLEND_BOTHSRCALPHA) {
        src = D3DBLEND_SRCALPHA;
        dst = D3DBLEND_INVSRCALPHA;
    } else if (src == D3DBLEND_BOTHINVSRCALPHA) {
        src = D3DBLEND_INVSRCALPHA;
        dst = D3DBLEND_SRCALPHA;
    }
    const bool noDestinationAlpha =
        targets_[0] != nullptr && targets_[0]->desc().Format == D3DFMT_X8R8G8B8;
    auto factor = [noDestinationAlpha](DWORD blend) {
        return noDestinationAlpha ? gltranslate::blendFactorWithoutDestinationAlpha(blend)
                                  : gltranslate::blendFactor(blend);
    };
    const GLenum s = factor(src);
    const GLenum d = factor(dst);
    cache.blendFunc(s, d, s, d);
    const GLenum op = gltranslate::blendEquation(state_.renderState(D3DRS_BLENDOP));
    cache.blendEquation(op, op);
    float constant[4];
    gltranslate::colorToFloats(state_.renderState(D3DRS_BLENDFACTOR), constant);
    cache.blendColor(constant);
}

void GLDevice::applyDepth(GLContext& context) {
    GLStateCache& cache = context.cache();
    cache.enable(GL_DEPTH_TEST, state_.renderState(D3DRS_ZENABLE) != D3DZB_FALSE);
    cache.depthFunc(gltranslate::compareFunction(state_.renderState(D3DRS_ZFUNC)));
    cache.depthMask(state_.renderState(D3DRS_ZWRITEENABLE) != FALSE);
}

void GLDevice::applyRaster(GLContext& context) {
    GLStateCache& cache = context.cache();
    // Front faces are clockwise (glFrontFace(GL_CW)); CCW culls the back faces.
    const DWORD cull = state_.renderState(D3DRS_CULLMODE);
    cache.enable(GL_CULL_FACE, cull != D3DCULL_NONE);
    cache.cullFace(cull == D3DCULL_CW ? GL_FRONT : GL_BACK);
    cache.polygonMode(gltranslate::polygonMode(state_.renderState(D3DRS_FILLMODE)));
}

void GLDevice::applyTextures(GLContext& context) {
    GLStateCache& cache = context.cache();
    for (unsigned unit = 0; unit < kSamplers; ++unit) {
        cache.bindTexture(unit, textures_[unit] != nullptr ? textures_[unit]->name() : 0);
    }
}

bool GLDevice::prepareDraw(GLContext& context) {
    if (declaration_ == nullptr || !bindTargets(context)) {
        return false;
    }
    forgetDrawnContents();
    applyViewport(context);
    if (changed(context, StateGroup::Blend)) {
        applyBlend(context);
    }
    if (changed(context, StateGroup::Depth)) {
        applyDepth(context);
    }
    if (changed(context, StateGroup::Raster)) {
        applyRaster(context);
    }
    if (changed(context, StateGroup::ColorWrite)) {
        context.cache().colorMask(state_.renderState(D3DRS_COLORWRITEENABLE) & 0xFu);
    }
    if (changed(context, StateGroup::Textures)) {
        applyTextures(context);
    }
    if (program_ != nullptr) {
        context.cache().useProgram(program_->name());
    } else {
        fixedFunction_.update(state_, textures_[0] != nullptr, declaration_->hasColor());
        context.cache().useProgram(fixedFunction_.program());
    }
    return true;
}

HRESULT GLDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount,
                                  const void* vertexData, UINT stride) {
    auto scope = enter();
    GLContext* context = scope.context;
    GLenum mode = 0;
    GLsizei vertices = 0;
    // Direct3D draws only inside BeginScene/EndScene; the recording device holds the same rule,
    // so a sequence that passes there behaves the same here.
    if (context == nullptr || !inScene_ || stride == 0 || declaration_ == nullptr ||
        !gltranslate::primitive(type, primitiveCount, &mode, &vertices) ||
        (primitiveCount > 0 && vertexData == nullptr)) {
        return D3DERR_INVALIDCALL;
    }
    if (primitiveCount == 0) {
        return D3D_OK;
    }
    if (changed(*context, StateGroup::VertexInput)) {
        applyVertexFormat(*context);
    }
    if (!prepareDraw(*context) || !applyStreams(*context, true)) {
        return D3DERR_INVALIDCALL;
    }
    const std::size_t bytes = std::size_t{stride} * static_cast<std::size_t>(vertices);
    const GLintptr offset = context->stream(vertexData, bytes);
    context->cache().vertexBuffer(0, context->vertexArray(), context->streamBuffer(), offset,
                                  static_cast<GLsizei>(stride));
    glDrawArrays(mode, 0, vertices);
    // Direct3D leaves stream 0 unbound after a draw from user memory.
    if (streams_[0].buffer != nullptr || streams_[0].stride != 0) {
        rebind(streams_[0].buffer, static_cast<GLVertexBuffer*>(nullptr));
    }
    streams_[0].offset = 0;
    streams_[0].stride = 0;
    flushIfShared();
    return D3D_OK;
}

HRESULT GLDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT,
                                       UINT numVertices, UINT startIndex, UINT primitiveCount) {
    auto scope = enter();
    GLContext* context = scope.context;
    GLenum mode = 0;
    GLsizei count = 0;
    if (context == nullptr || !inScene_ ||
        !gltranslate::primitive(type, primitiveCount, &mode, &count)) {
        return D3DERR_INVALIDCALL;
    }
    if (primitiveCount == 0 || numVertices == 0) {
        return D3D_OK;
    }
    if (declaration_ == nullptr || indices_ == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    const bool wide = indices_->desc().Format == D3DFMT_INDEX32;
    const std::size_t indexSize = wide ? 4 : 2;
    if ((std::size_t{startIndex} + static_cast<std::size_t>(count)) * indexSize >
        indices_->desc().Size) {
        return D3DERR_INVALIDCALL;
    }
    if (changed(*context, StateGroup::VertexInput)) {
        applyVertexFormat(*context);
    }
    if (!prepareDraw(*context) || !applyStreams(*context, false)) {
        return D3DERR_INVALIDCALL;
    }
    GLBufferStore& store = indices_->store();
    const bool uploaded = store.pendingUpload();
    context->cache().elementBuffer(context->vertexArray(), store.prepareForDraw());
    if (uploaded) {
        flushIfShared();
    }
    glDrawElementsBaseVertex(mode, count, wide ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                             reinterpret_cast<const void*>(startIndex * indexSize),
                             baseVertexIndex);
    flushIfShared();
    return D3D_OK;
}
