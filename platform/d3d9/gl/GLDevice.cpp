#include "platform/d3d9/gl/GLDevice.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/d3d9/core/DeviceRules.h"
#include "platform/d3d9/gl/GLIndexBuffer.h"
#include "platform/d3d9/gl/GLLimits.h"
#include "platform/d3d9/gl/GLProgram.h"
#include "platform/d3d9/gl/GLSurface.h"
#include "platform/d3d9/gl/GLTexture.h"
#include "platform/d3d9/gl/GLTranslate.h"
#include "platform/d3d9/gl/GLVertexBuffer.h"
#include "platform/d3d9/gl/GLVertexDeclaration.h"

namespace {

#ifndef NDEBUG
void GLAPIENTRY logDebugMessage(GLenum, GLenum type, GLuint, GLenum severity, GLsizei,
                                const GLchar* message, const void*) {
    if (severity != GL_DEBUG_SEVERITY_NOTIFICATION) {
        std::fprintf(stderr, "d3d9: GL %s: %s\n", type == GL_DEBUG_TYPE_ERROR ? "error" : "note",
                     message);
    }
}
#endif

}  // namespace

GLDevice* GLDevice::create(SDL_Window* window, const D3DPRESENT_PARAMETERS& parameters,
                           HRESULT* result) {
    std::string error;
    auto pool = GLContextPool::create(window, &error);
    if (!pool) {
        std::fprintf(stderr, "d3d9: OpenGL 4.5 core is not available: %s\n", error.c_str());
        *result = D3DERR_NOTAVAILABLE;
        return nullptr;
    }
    bool ownsWindow = false;
    if (window == nullptr) {
        window = SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                  static_cast<int>(parameters.BackBufferWidth),
                                  static_cast<int>(parameters.BackBufferHeight),
                                  SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ownsWindow = true;
        if (window == nullptr) {
            std::fprintf(stderr, "d3d9: cannot create a window: %s\n", SDL_GetError());
            *result = D3DERR_NOTAVAILABLE;
            return nullptr;
        }
    }
    auto* device = new GLDevice(std::move(pool), window, ownsWindow, parameters);
    if (!device->initialise()) {
        device->Release();
        *result = D3DERR_NOTAVAILABLE;
        return nullptr;
    }
    *result = D3D_OK;
    return device;
}

GLDevice::GLDevice(std::unique_ptr<GLContextPool> pool, SDL_Window* window, bool ownsWindow,
                   const D3DPRESENT_PARAMETERS& parameters)
    : pool_(std::move(pool)),
      window_(window),
      ownsWindow_(ownsWindow),
      parameters_(parameters),
      state_(parameters.EnableAutoDepthStencil != FALSE) {}

bool GLDevice::initialise() {
    auto scope = enter();
    if (scope.context == nullptr) {
        return false;
    }
#ifndef NDEBUG
    if (glprofile::hasExtension("GL_KHR_debug")) {
        glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
        glDebugMessageCallback(logDebugMessage, nullptr);
    }
#endif
    if (!fixedFunction_.create()) {
        return false;
    }
    glCreateSamplers(static_cast<GLsizei>(kSamplers), samplers_.data());
    for (unsigned slot = 0; slot < kSamplers; ++slot) {
        for (DWORD type = 1; type < GLStateShadow::kSamplerStateCount; ++type) {
            applySampler(static_cast<int>(slot), type);
        }
    }
    // Other contexts bind the samplers when they first become current; this one was set up by
    // enter() before the samplers existed.
    scope.context->bindSamplers(samplers_.data(), kSamplers);
    readLimits();

    D3DFORMAT format = parameters_.BackBufferFormat == D3DFMT_UNKNOWN
                           ? D3DFMT_X8R8G8B8
                           : parameters_.BackBufferFormat;
    if (format != D3DFMT_X8R8G8B8 && format != D3DFMT_A8R8G8B8) {
        std::fprintf(stderr, "d3d9: back buffer format %u is not supported\n", format);
        return false;
    }
    parameters_.BackBufferFormat = format;
    const D3DSURFACE_DESC colorDesc{format,
                                    D3DRTYPE_SURFACE,
                                    D3DUSAGE_RENDERTARGET,
                                    D3DPOOL_DEFAULT,
                                    D3DMULTISAMPLE_NONE,
                                    0,
                                    parameters_.BackBufferWidth,
                                    parameters_.BackBufferHeight};
    backBuffer_ = new GLSurface(*this, true, GLSurface::Kind::Color, colorDesc);
    if (!backBuffer_->valid()) {
        std::fprintf(stderr, "d3d9: cannot create the back buffer\n");
        return false;
    }
    rebindSurface(targets_[0], backBuffer_);
    if (parameters_.EnableAutoDepthStencil != FALSE) {
        D3DSURFACE_DESC depthDesc = colorDesc;
        depthDesc.Format = D3DFMT_D24S8;
        depthDesc.Usage = D3DUSAGE_DEPTHSTENCIL;
        autoDepth_ = new GLSurface(*this, true, GLSurface::Kind::DepthStencil, depthDesc);
        if (!autoDepth_->valid()) {
            return false;
        }
        startDepthStencil(*scope.context, *autoDepth_);
        rebindSurface(depth_, autoDepth_);
    }
    resetViewportTo(*backBuffer_);
    state_.touch(StateGroup::Targets);
    return true;
}

GLDevice::~GLDevice() {
    auto scope = enter();
    for (auto& texture : textures_) {
        rebind(texture, static_cast<GLTexture*>(nullptr));
    }
    for (auto& target : targets_) {
        rebindSurface(target, nullptr);
    }
    rebindSurface(depth_, nullptr);
    for (auto& stream : streams_) {
        rebind(stream.buffer, static_cast<GLVertexBuffer*>(nullptr));
    }
    rebind(indices_, static_cast<GLIndexBuffer*>(nullptr));
    rebind(declaration_, static_cast<GLVertexDeclaration*>(nullptr));
    rebind(program_, static_cast<GLProgram*>(nullptr));
    for (auto& [fvf, declaration] : fvfDeclarations_) {
        declaration->releaseInternalRef();
    }
    if (backBuffer_ != nullptr) {
        backBuffer_->releaseInternalRef();
    }
    if (autoDepth_ != nullptr) {
        autoDepth_->releaseInternalRef();
    }
    if (scope.context != nullptr) {
        glDeleteSamplers(static_cast<GLsizei>(kSamplers), samplers_.data());
        fixedFunction_.destroy();
    }
    pool_.reset();
    if (ownsWindow_) {
        SDL_DestroyWindow(window_);
    }
}

GLDevice::Scope GLDevice::enter() {
    std::unique_lock<std::recursive_mutex> lock(mutex_);
    GLContext* context = pool_ ? pool_->acquire() : nullptr;
    if (context != nullptr) {
        context->initialise(samplers_.data(), kSamplers);
    }
    return {std::move(lock), context};
}

void GLDevice::flushIfShared() {
    if (pool_->shared()) {
        glFlush();
    }
}

ULONG GLDevice::AddRef() {
    return ++refs_;
}

ULONG GLDevice::Release() {
    const ULONG left = --refs_;
    if (left == 0) {
        delete this;
    }
    return left;
}

void GLDevice::swapInternalRefs(GLRefCounted* added, GLRefCounted* dropped) {
    if (added != nullptr) {
        added->addInternalRef();
    }
    if (dropped != nullptr) {
        dropped->releaseInternalRef();
    }
}

void GLDevice::rebindSurface(GLSurface*& slot, GLSurface* surface) {
    if (slot == surface) {
        return;
    }
    if (surface != nullptr) {
        surface->bindRef();
    }
    GLSurface* old = slot;
    slot = surface;
    if (old != nullptr) {
        old->unbindRef();
    }
}

// ---- Frame ------------------------------------------------------------------------------------

HRESULT GLDevice::BeginScene() {
    auto scope = lockOnly();
    if (inScene_) {
        return D3DERR_INVALIDCALL;
    }
    inScene_ = true;
    return D3D_OK;
}

HRESULT GLDevice::EndScene() {
    auto scope = lockOnly();
    if (!inScene_) {
        return D3DERR_INVALIDCALL;
    }
    inScene_ = false;
    return D3D_OK;
}

HRESULT GLDevice::Present(const RECT*, const RECT*, HWND, const void*) {
    auto scope = enter();
    GLContext* context = scope.context;
    if (context == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    gltranslate::discardErrors();
    // The window's surface is borrowed only for the blit and the swap, so any thread may
    // present (see GLContext).
    if (SDL_GL_MakeCurrent(window_, context->handle()) != 0) {
        std::fprintf(stderr, "d3d9: cannot draw into the window: %s\n", SDL_GetError());
        return D3DERR_DEVICELOST;
    }
    if (context->firstPresent()) {
        const bool immediate = parameters_.PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE;
        SDL_GL_SetSwapInterval(immediate ? 0 : 1);
    }
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(window_, &width, &height);
    const GLuint read = context->readFramebuffer();
    glNamedFramebufferTexture(read, GL_COLOR_ATTACHMENT0, backBuffer_->name(), 0);
    GLStateCache& cache = context->cache();
    cache.enable(GL_SCISSOR_TEST, false);
    cache.colorMask(0xF);
    const auto w = static_cast<GLint>(backBuffer_->desc().Width);
    const auto h = static_cast<GLint>(backBuffer_->desc().Height);
    const bool scaled = w != width || h != height;
    // Row 0 of the back buffer is its top row; the window's row 0 is its bottom row.
    glBlitNamedFramebuffer(read, 0, 0, 0, w, h, 0, height, width, 0, GL_COLOR_BUFFER_BIT,
                           scaled ? GL_LINEAR : GL_NEAREST);
    SDL_GL_SwapWindow(window_);
    context->makeCurrent();
    cache.enable(GL_SCISSOR_TEST, true);
    markClearStateDirty(*context);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        std::fprintf(stderr, "d3d9: GL error 0x%x reported at Present\n", error);
        return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}

HRESULT GLDevice::SetViewport(const D3DVIEWPORT9* viewport) {
    auto scope = lockOnly();
    if (viewport == nullptr || targets_[0] == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    // Direct3D checks only that the rectangle lies inside render target 0 (as the recording
    // device does); GL takes an empty rectangle or any depth range as they come.
    const D3DSURFACE_DESC& rt = targets_[0]->desc();
    if (std::uint64_t{viewport->X} + viewport->Width > rt.Width ||
        std::uint64_t{viewport->Y} + viewport->Height > rt.Height) {
        return D3DERR_INVALIDCALL;
    }
    viewport_ = *viewport;
    state_.touch(StateGroup::Viewport);
    return D3D_OK;
}

HRESULT GLDevice::GetViewport(D3DVIEWPORT9* viewport) {
    auto scope = lockOnly();
    if (viewport == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *viewport = viewport_;
    return D3D_OK;
}

HRESULT GLDevice::GetDeviceCaps(D3DCAPS9* caps) {
    auto scope = lockOnly();
    if (caps == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *caps = caps_;
    return D3D_OK;
}

// A render target is a texture with a D24S8 renderbuffer beside it, and GL clamps a viewport
// to its largest dimensions without an error: the smallest of the three limits is the size that
// can really be drawn.
void GLDevice::readLimits() {
    GLint texture = 0;
    GLint renderbuffer = 0;
    GLint viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    const GLint side = std::min(texture, renderbuffer);
    caps_.MaxTextureWidth = static_cast<DWORD>(std::max(0, std::min(side, viewport[0])));
    caps_.MaxTextureHeight = static_cast<DWORD>(std::max(0, std::min(side, viewport[1])));
}

void GLDevice::resetViewportTo(const GLSurface& target) {
    viewport_ = {0, 0, target.desc().Width, target.desc().Height, 0.0f, 1.0f};
    state_.touch(StateGroup::Viewport);
}

// ---- States -----------------------------------------------------------------------------------

HRESULT GLDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    auto scope = lockOnly();
    if (!CapturableState::validRenderState(state)) {
        return D3DERR_INVALIDCALL;
    }
    if (!GLLimits::carriesOutRenderState(state, value)) {
        return D3DERR_NOTAVAILABLE;
    }
    state_.setRenderState(state, value);
    return D3D_OK;
}

HRESULT GLDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    auto scope = lockOnly();
    if (value == nullptr || !CapturableState::validRenderState(state)) {
        return D3DERR_INVALIDCALL;
    }
    *value = state_.renderState(state);
    return D3D_OK;
}

HRESULT GLDevice::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    const int slot = CapturableState::samplerSlot(sampler);
    if (slot < 0 || !CapturableState::validSamplerState(type)) {
        return D3DERR_INVALIDCALL;
    }
    if (!GLLimits::carriesOutSampler(slot)) {
        return D3DERR_NOTAVAILABLE;
    }
    auto scope = enter();
    if (state_.setSamplerState(slot, type, value) && scope.context != nullptr) {
        applySampler(slot, type);
        flushIfShared();
    }
    return D3D_OK;
}

void GLDevice::applySampler(int slot, DWORD type) {
    const GLuint s = samplers_[static_cast<unsigned>(slot)];
    auto value = [&](DWORD t) { return state_.samplerState(slot, t); };
    switch (type) {
        case D3DSAMP_ADDRESSU:
            glSamplerParameteri(s, GL_TEXTURE_WRAP_S,
                                static_cast<GLint>(gltranslate::addressMode(value(type))));
            break;
        case D3DSAMP_ADDRESSV:
            glSamplerParameteri(s, GL_TEXTURE_WRAP_T,
                                static_cast<GLint>(gltranslate::addressMode(value(type))));
            break;
        case D3DSAMP_ADDRESSW:
            glSamplerParameteri(s, GL_TEXTURE_WRAP_R,
                                static_cast<GLint>(gltranslate::addressMode(value(type))));
            break;
        case D3DSAMP_BORDERCOLOR: {
            float rgba[4];
            gltranslate::colorToFloats(value(type), rgba);
            if (!glprofile::kES) {  // ES 3.0 has no border colour
                glSamplerParameterfv(s, GL_TEXTURE_BORDER_COLOR, rgba);
            }
            break;
        }
        case D3DSAMP_MAGFILTER:
            glSamplerParameteri(s, GL_TEXTURE_MAG_FILTER,
                                static_cast<GLint>(gltranslate::magFilter(value(type))));
            break;
        case D3DSAMP_MINFILTER:
        case D3DSAMP_MIPFILTER:
            glSamplerParameteri(s, GL_TEXTURE_MIN_FILTER,
                                static_cast<GLint>(gltranslate::minFilter(
                                    value(D3DSAMP_MINFILTER), value(D3DSAMP_MIPFILTER))));
            break;
        case D3DSAMP_MIPMAPLODBIAS: {
            const DWORD bits = value(type);
            float bias;
            static_assert(sizeof bias == sizeof bits);
            std::memcpy(&bias, &bits, sizeof bias);
            if (!glprofile::kES) {  // ES samplers have no bias
                glSamplerParameterf(s, GL_TEXTURE_LOD_BIAS, bias);
            }
            break;
        }
        case D3DSAMP_MAXMIPLEVEL:
            glSamplerParameterf(s, GL_TEXTURE_MIN_LOD, static_cast<float>(value(type)));
            break;
        case D3DSAMP_MAXANISOTROPY:
            if (glprofile::hasExtension("GL_EXT_texture_filter_anisotropic") ||
                glprofile::version() >= 46) {
                glSamplerParameterf(s, GL_TEXTURE_MAX_ANISOTROPY_EXT,
                                    static_cast<float>(value(type) == 0 ? 1 : value(type)));
            }
            break;
        default:
            break;
    }
}

HRESULT GLDevice::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
    auto scope = lockOnly();
    const int slot = CapturableState::samplerSlot(sampler);
    if (value == nullptr || slot < 0 || !CapturableState::validSamplerState(type)) {
        return D3DERR_INVALIDCALL;
    }
    *value = state_.samplerState(slot, type);
    return D3D_OK;
}

HRESULT GLDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    auto scope = lockOnly();
    if (!CapturableState::validStage(stage) || !CapturableState::validStageState(type)) {
        return D3DERR_INVALIDCALL;
    }
    if (!GLLimits::carriesOutStageState(stage, type, value)) {
        return D3DERR_NOTAVAILABLE;
    }
    state_.setStageState(stage, type, value);
    return D3D_OK;
}

HRESULT GLDevice::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
    auto scope = lockOnly();
    if (value == nullptr || !CapturableState::validStage(stage) ||
        !CapturableState::validStageState(type)) {
        return D3DERR_INVALIDCALL;
    }
    *value = state_.stageState(stage, type);
    return D3D_OK;
}

HRESULT GLDevice::SetTexture(DWORD sampler, IDirect3DBaseTexture9* texture) {
    auto scope = lockOnly();
    const int slot = CapturableState::samplerSlot(sampler);
    if (slot < 0) {
        return D3DERR_INVALIDCALL;
    }
    if (!GLLimits::carriesOutSampler(slot)) {
        return D3DERR_NOTAVAILABLE;
    }
    GLTexture* glTexture = GLTexture::of(texture);
    if (textures_[static_cast<unsigned>(slot)] != glTexture) {
        rebind(textures_[static_cast<unsigned>(slot)], glTexture);
        state_.touch(StateGroup::Textures);
        if (slot == 0) {
            state_.touch(StateGroup::FixedFunction);
        }
    }
    return D3D_OK;
}

HRESULT GLDevice::GetTexture(DWORD sampler, IDirect3DBaseTexture9** texture) {
    auto scope = lockOnly();
    const int slot = CapturableState::samplerSlot(sampler);
    if (texture == nullptr || slot < 0) {
        return D3DERR_INVALIDCALL;
    }
    *texture = textures_[static_cast<unsigned>(slot)];
    if (*texture != nullptr) {
        (*texture)->AddRef();
    }
    return D3D_OK;
}

HRESULT GLDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    auto scope = lockOnly();
    const int slot = CapturableState::transformSlot(state);
    if (matrix == nullptr || slot < 0) {
        return D3DERR_INVALIDCALL;
    }
    state_.setTransform(slot, *matrix);
    return D3D_OK;
}

HRESULT GLDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    auto scope = lockOnly();
    const int slot = CapturableState::transformSlot(state);
    if (matrix == nullptr || slot < 0) {
        return D3DERR_INVALIDCALL;
    }
    *matrix = state_.transform(slot);
    return D3D_OK;
}

// ---- Render targets ---------------------------------------------------------------------------

HRESULT GLDevice::GetRenderTarget(DWORD index, IDirect3DSurface9** surface) {
    auto scope = lockOnly();
    if (surface == nullptr || index >= D3D_MAX_SIMULTANEOUS_RENDERTARGETS) {
        return D3DERR_INVALIDCALL;
    }
    *surface = targets_[index];
    if (*surface == nullptr) {
        return D3DERR_NOTFOUND;
    }
    (*surface)->AddRef();
    return D3D_OK;
}

HRESULT GLDevice::SetRenderTarget(DWORD index, IDirect3DSurface9* surface) {
    auto scope = lockOnly();
    auto* s = static_cast<GLSurface*>(surface);
    if (index >= D3D_MAX_SIMULTANEOUS_RENDERTARGETS || (index == 0 && s == nullptr) ||
        (s != nullptr && (s->desc().Usage & D3DUSAGE_RENDERTARGET) == 0)) {
        return D3DERR_INVALIDCALL;
    }
    rebindSurface(targets_[index], s);
    state_.touch(StateGroup::Targets);
    if (index == 0) {
        state_.touch(StateGroup::Blend);  // destination-alpha factors follow target 0's format
        // Direct3D resets the viewport (and scissor) to the new target, even the same one again.
        resetViewportTo(*s);
    }
    return D3D_OK;
}

HRESULT GLDevice::GetDepthStencilSurface(IDirect3DSurface9** surface) {
    auto scope = lockOnly();
    if (surface == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *surface = depth_;
    if (depth_ == nullptr) {
        return D3DERR_NOTFOUND;
    }
    depth_->AddRef();
    return D3D_OK;
}

HRESULT GLDevice::SetDepthStencilSurface(IDirect3DSurface9* surface) {
    auto scope = lockOnly();
    auto* s = static_cast<GLSurface*>(surface);
    if (s != nullptr && s->kind() != GLSurface::Kind::DepthStencil) {
        return D3DERR_INVALIDCALL;
    }
    rebindSurface(depth_, s);
    state_.touch(StateGroup::Targets);
    return D3D_OK;
}

HRESULT GLDevice::GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type,
                                IDirect3DSurface9** surface) {
    auto scope = lockOnly();
    if (surface == nullptr || swapChain != 0 || index != 0 || type != D3DBACKBUFFER_TYPE_MONO) {
        if (surface != nullptr) {
            *surface = nullptr;
        }
        return D3DERR_INVALIDCALL;
    }
    *surface = backBuffer_;
    backBuffer_->AddRef();
    return D3D_OK;
}

HRESULT GLDevice::GetRenderTargetData(IDirect3DSurface9* renderTarget,
                                      IDirect3DSurface9* destination) {
    auto scope = enter();
    auto* source = static_cast<GLSurface*>(renderTarget);
    auto* target = static_cast<GLSurface*>(destination);
    if (scope.context == nullptr || source == nullptr || target == nullptr ||
        FAILED(DeviceRules::checkRenderTargetData(source->desc(), target->desc())) ||
        target->kind() != GLSurface::Kind::SystemMemory ||
        gltranslate::textureFormat(source->desc().Format).bytesPerPixel != 4 ||
        source->desc().Format == D3DFMT_R32F) {
        return D3DERR_INVALIDCALL;
    }
    const std::size_t bytes = std::size_t{target->pitch()} * target->desc().Height;
    gltranslate::discardErrors();
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    // Row 0 of a render target is its top row, so the rows arrive top first.
    glGetTextureImage(source->name(), source->level(), GL_BGRA, GL_UNSIGNED_BYTE,
                      static_cast<GLsizei>(bytes), target->memory());
    if (source->desc().Format == D3DFMT_X8R8G8B8) {
        // Whole 32-bit pixels, which the compiler turns into vector instructions (a byte loop
        // with a stride of 4 cost as much as the read-back itself).
        constexpr std::uint32_t kOpaque =
            std::endian::native == std::endian::little ? 0xFF000000u : 0x000000FFu;
        std::uint8_t* pixels = target->memory();
        for (std::size_t i = 0; i + 4 <= bytes; i += 4) {
            std::uint32_t pixel;
            std::memcpy(&pixel, pixels + i, 4);
            pixel |= kOpaque;
            std::memcpy(pixels + i, &pixel, 4);
        }
    }
    return glGetError() == GL_NO_ERROR ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT GLDevice::UpdateTexture(IDirect3DBaseTexture9* source, IDirect3DBaseTexture9* destination) {
    auto scope = enter();
    GLTexture* from = GLTexture::of(source);
    GLTexture* to = GLTexture::of(destination);
    UINT firstSourceLevel = 0;
    if (scope.context == nullptr || from == nullptr || to == nullptr || from == to ||
        FAILED(DeviceRules::checkUpdateTexture(from->topDesc(), from->GetLevelCount(),
                                               to->topDesc(), to->GetLevelCount(),
                                               &firstSourceLevel))) {
        return D3DERR_INVALIDCALL;
    }
    return to->copyLevelsFrom(*from, firstSourceLevel) ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT GLDevice::ColorFill(IDirect3DSurface9* surface, const RECT* rect, D3DCOLOR color) {
    auto scope = enter();
    auto* s = static_cast<GLSurface*>(surface);
    if (scope.context == nullptr || s == nullptr || s->kind() == GLSurface::Kind::DepthStencil ||
        s->kind() == GLSurface::Kind::SystemMemory ||
        (s->kind() == GLSurface::Kind::TextureLevel &&
         (s->desc().Usage & D3DUSAGE_RENDERTARGET) == 0)) {
        return D3DERR_INVALIDCALL;
    }
    const D3DSURFACE_DESC& d = s->desc();
    RECT area{0, 0, static_cast<std::int32_t>(d.Width), static_cast<std::int32_t>(d.Height)};
    if (rect != nullptr) {
        if (rect->left < 0 || rect->top < 0 || rect->right > area.right ||
            rect->bottom > area.bottom || rect->left >= rect->right || rect->top >= rect->bottom) {
            return D3DERR_INVALIDCALL;
        }
        area = *rect;
    }
    float rgba[4];
    gltranslate::colorToFloats(color, rgba);
    gltranslate::discardErrors();
    // A texture clear ignores viewport, scissor and write masks, as ColorFill does.
    glClearTexSubImage(s->name(), s->level(), area.left, area.top, 0, area.right - area.left,
                       area.bottom - area.top, 1, GL_RGBA, GL_FLOAT, rgba);
    s->setUniformColor(std::nullopt);
    flushIfShared();
    return glGetError() == GL_NO_ERROR ? D3D_OK : D3DERR_INVALIDCALL;
}

// ---- Resources --------------------------------------------------------------------------------

HRESULT GLDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                D3DPOOL pool, IDirect3DTexture9** texture, void** sharedHandle) {
    if (texture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *texture = nullptr;
    const HRESULT checked =
        DeviceRules::checkTexture(width, height, levels, usage, format, pool, sharedHandle);
    if (FAILED(checked)) {
        return checked;
    }
    auto scope = enter();
    if (scope.context == nullptr) {
        return D3DERR_NOTAVAILABLE;
    }
    auto* created = new GLTexture(*this, width, height, levels, usage, format, pool);
    if (!created->valid()) {
        created->Release();
        return D3DERR_INVALIDCALL;
    }
    flushIfShared();
    *texture = created;
    return D3D_OK;
}

// Direct3D leaves a new depth-stencil surface's content undefined; this one starts at depth 1 and
// stencil 0 everywhere, so that its stencil value is known from the start (see Clear).
void GLDevice::startDepthStencil(GLContext& context, GLSurface& surface) {
    GLStateCache& cache = context.cache();
    markClearStateDirty(context);
    cache.depthMask(true);
    cache.stencilMask(0xFF);
    cache.enable(GL_SCISSOR_TEST, false);
    GLuint framebuffer = 0;
    glCreateFramebuffers(1, &framebuffer);
    glNamedFramebufferRenderbuffer(framebuffer, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                   surface.name());
    clearDepthStencil(framebuffer, 1.0f, 0);
    glDeleteFramebuffers(1, &framebuffer);
    cache.enable(GL_SCISSOR_TEST, true);
    surface.setUniformStencil(0);
    surface.setUniformDepth(1.0f);
    flushIfShared();  // a surface made on a loading thread is drawn on by another context
}

HRESULT GLDevice::CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                            D3DMULTISAMPLE_TYPE multiSample, DWORD, BOOL,
                                            IDirect3DSurface9** surface, void** sharedHandle) {
    if (surface == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *surface = nullptr;
    const HRESULT checked =
        DeviceRules::checkDepthStencilSurface(width, height, format, sharedHandle);
    if (FAILED(checked)) {
        return checked;
    }
    if (!gltranslate::isDepthFormat(format) || multiSample != D3DMULTISAMPLE_NONE) {
        return D3DERR_NOTAVAILABLE;
    }
    auto scope = enter();
    if (scope.context == nullptr) {
        return D3DERR_NOTAVAILABLE;
    }
    const D3DSURFACE_DESC desc{
        format, D3DRTYPE_SURFACE, D3DUSAGE_DEPTHSTENCIL, D3DPOOL_DEFAULT, multiSample, 0, width,
        height};
    auto* created = new GLSurface(*this, false, GLSurface::Kind::DepthStencil, desc);
    if (!created->valid()) {
        created->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    startDepthStencil(*scope.context, *created);
    *surface = created;
    return D3D_OK;
}

HRESULT GLDevice::CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format,
                                              D3DPOOL pool, IDirect3DSurface9** surface,
                                              void** sharedHandle) {
    if (surface == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *surface = nullptr;
    const HRESULT checked =
        DeviceRules::checkOffscreenPlainSurface(width, height, format, pool, sharedHandle);
    if (FAILED(checked)) {
        return checked;
    }
    if ((format != D3DFMT_A8R8G8B8 && format != D3DFMT_X8R8G8B8) ||
        (pool != D3DPOOL_SYSTEMMEM && pool != D3DPOOL_DEFAULT)) {
        return D3DERR_NOTAVAILABLE;
    }
    auto scope = enter();
    if (scope.context == nullptr) {
        return D3DERR_NOTAVAILABLE;
    }
    const D3DSURFACE_DESC desc{format, D3DRTYPE_SURFACE, 0, pool, D3DMULTISAMPLE_NONE, 0, width,
                               height};
    const auto kind =
        pool == D3DPOOL_SYSTEMMEM ? GLSurface::Kind::SystemMemory : GLSurface::Kind::Color;
    auto* created = new GLSurface(*this, false, kind, desc);
    if (!created->valid()) {
        created->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *surface = created;
    return D3D_OK;
}

HRESULT GLDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                     IDirect3DVertexBuffer9** buffer, void** sharedHandle) {
    if (buffer == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *buffer = nullptr;
    const HRESULT checked = DeviceRules::checkVertexBuffer(length, sharedHandle);
    if (FAILED(checked)) {
        return checked;
    }
    auto scope = enter();
    if (scope.context == nullptr) {
        return D3DERR_NOTAVAILABLE;
    }
    auto* created = new GLVertexBuffer(
        *this,
        D3DVERTEXBUFFER_DESC{D3DFMT_UNKNOWN, D3DRTYPE_VERTEXBUFFER, usage, pool, length, fvf});
    if (!created->valid()) {
        created->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *buffer = created;
    return D3D_OK;
}

HRESULT GLDevice::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                    IDirect3DIndexBuffer9** buffer, void** sharedHandle) {
    if (buffer == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *buffer = nullptr;
    const HRESULT checked = DeviceRules::checkIndexBuffer(length, format, sharedHandle);
    if (FAILED(checked)) {
        return checked;
    }
    auto scope = enter();
    if (scope.context == nullptr) {
        return D3DERR_NOTAVAILABLE;
    }
    auto* created = new GLIndexBuffer(
        *this, D3DINDEXBUFFER_DESC{format, D3DRTYPE_INDEXBUFFER, usage, pool, length});
    if (!created->valid()) {
        created->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *buffer = created;
    return D3D_OK;
}

HRESULT GLDevice::CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements,
                                          IDirect3DVertexDeclaration9** declaration) {
    if (elements == nullptr || declaration == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    auto scope = lockOnly();
    *declaration = nullptr;
    if (!GLLimits::carriesOutDeclaration(elements)) {
        return D3DERR_NOTAVAILABLE;
    }
    *declaration = GLVertexDeclaration::create(*this, elements, false, 0);
    return *declaration != nullptr ? D3D_OK : D3DERR_INVALIDCALL;
}

// ---- Programs ---------------------------------------------------------------------------------

HRESULT GLDevice::CreateProgram(const char* vertexSource, const char* fragmentSource,
                                IDirect3DProgram9** program) {
    if (program == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *program = nullptr;
    if (vertexSource == nullptr || fragmentSource == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    auto scope = enter();
    if (scope.context == nullptr) {
        return D3DERR_NOTAVAILABLE;
    }
    const GLuint name = GLProgram::build(vertexSource, fragmentSource, "CreateProgram");
    if (name == 0) {
        return D3DERR_INVALIDCALL;
    }
    flushIfShared();
    *program = new GLProgram(*this, name);
    return D3D_OK;
}

HRESULT GLDevice::SetProgram(IDirect3DProgram9* program) {
    auto scope = lockOnly();
    rebind(program_, static_cast<GLProgram*>(program));
    state_.touch(StateGroup::Program);
    return D3D_OK;
}

HRESULT GLDevice::GetProgram(IDirect3DProgram9** program) {
    auto scope = lockOnly();
    if (program == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *program = program_;
    if (program_ != nullptr) {
        program_->AddRef();
    }
    return D3D_OK;
}

HRESULT GLDevice::SetProgramConstantF(INT location, const float* data,
                                      D3DPROGRAMCONSTANTSHAPE shape, UINT count) {
    return uploadConstants(location, data, true, shape, count);
}

HRESULT GLDevice::SetProgramConstantI(INT location, const INT* data, D3DPROGRAMCONSTANTSHAPE shape,
                                      UINT count) {
    return uploadConstants(location, data, false, shape, count);
}

HRESULT GLDevice::uploadConstants(INT location, const void* data, bool isFloat,
                                  D3DPROGRAMCONSTANTSHAPE shape, UINT count) {
    auto scope = enter();
    if (scope.context == nullptr || program_ == nullptr || data == nullptr || count == 0 ||
        (shape == D3DPCS_MATRIX4X4 && !isFloat)) {
        return D3DERR_INVALIDCALL;
    }
    if (location < 0) {
        return D3D_OK;  // a uniform the compiler removed: nothing to set, as GL treats -1
    }
    const GLuint p = program_->name();
    const auto n = static_cast<GLsizei>(count);
    const auto* f = static_cast<const float*>(data);
    const auto* i = static_cast<const GLint*>(data);
    switch (shape) {
        case D3DPCS_SCALAR:
            isFloat ? glProgramUniform1fv(p, location, n, f)
                    : glProgramUniform1iv(p, location, n, i);
            break;
        case D3DPCS_VEC2:
            isFloat ? glProgramUniform2fv(p, location, n, f)
                    : glProgramUniform2iv(p, location, n, i);
            break;
        case D3DPCS_VEC3:
            isFloat ? glProgramUniform3fv(p, location, n, f)
                    : glProgramUniform3iv(p, location, n, i);
            break;
        case D3DPCS_VEC4:
            isFloat ? glProgramUniform4fv(p, location, n, f)
                    : glProgramUniform4iv(p, location, n, i);
            break;
        case D3DPCS_MATRIX4X4:
            // Direct3D's row-major rows, untransposed: GLSL's M * v is the row-vector v x M.
            glProgramUniformMatrix4fv(p, location, n, GL_FALSE, f);
            break;
        default:
            return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}
