// The Direct3D 9 device on OpenGL 4.5 core.
//
// The device keeps Direct3D's state in a shadow (GLStateShadow) and translates it at draw time,
// per GL context, touching only the GL state that changed (GLStateCache). Every call takes one
// device-wide recursive lock, as Direct3D's multithreaded device serialises calls, and runs on
// the calling thread's own GL context (GLContextPool).
//
// Results follow Direct3D 9 and agree with the recording device's for the same call sequence
// (tests/gl/DeviceAgreementTest): draws outside BeginScene/EndScene fail with
// D3DERR_INVALIDCALL, while clears, Present, states and resources work anywhere; a viewport
// must lie inside render target 0. The engine's draws all sit inside a scene (the render
// utilities open one when asked, the loading screen brackets its frame).
//
// Not reproduced: the half-pixel offset of Direct3D 9 (texels map to pixels exactly), stencil
// operations, the scissor rectangle (the device has no SetScissorRect; the scissor is always the
// viewport), sRGB writes, multisampling, fixed-function stages above 0.
#pragma once

#include <SDL2/SDL.h>
#include "platform/d3d9/gl/GLApi.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/gl/GLContextPool.h"
#include "platform/d3d9/gl/GLFixedFunction.h"
#include "platform/d3d9/gl/GLRefCounted.h"
#include "platform/d3d9/gl/GLStateShadow.h"

class GLSurface;
class GLTexture;
class GLVertexBuffer;
class GLIndexBuffer;
class GLVertexDeclaration;
class GLProgram;

class GLDevice final : public IDirect3DDevice9 {
public:
    // Creates the contexts, the back buffer and the device state; null (with a line on stderr)
    // when OpenGL 4.5 core is not available. `window` null: a hidden window of its own.
    static GLDevice* create(SDL_Window* window, const D3DPRESENT_PARAMETERS& parameters,
                            HRESULT* result);

    // The device lock plus the calling thread's context, current. `context` is null when the
    // thread cannot get one; operations then fail.
    struct Scope {
        std::unique_lock<std::recursive_mutex> lock;
        GLContext* context;
    };
    Scope enter();
    std::unique_lock<std::recursive_mutex> lockOnly() {
        return std::unique_lock<std::recursive_mutex>(mutex_);
    }
    // Makes writes to shared objects visible to the other contexts while several are in use.
    void flushIfShared();

    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindow,
                    const void* dirtyRegion) override;
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                  DWORD stencil) override;
    HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT9* viewport) override;
    HRESULT GetDeviceCaps(D3DCAPS9* caps) override;

    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
    HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
    HRESULT SetTexture(DWORD sampler, IDirect3DBaseTexture9* texture) override;
    HRESULT GetTexture(DWORD sampler, IDirect3DBaseTexture9** texture) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;

    HRESULT GetRenderTarget(DWORD index, IDirect3DSurface9** surface) override;
    HRESULT SetRenderTarget(DWORD index, IDirect3DSurface9* surface) override;
    HRESULT GetDepthStencilSurface(IDirect3DSurface9** surface) override;
    HRESULT SetDepthStencilSurface(IDirect3DSurface9* surface) override;
    HRESULT GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type,
                          IDirect3DSurface9** surface) override;
    HRESULT GetRenderTargetData(IDirect3DSurface9* renderTarget,
                                IDirect3DSurface9* destination) override;
    HRESULT ColorFill(IDirect3DSurface9* surface, const RECT* rect, D3DCOLOR color) override;
    HRESULT UpdateTexture(IDirect3DBaseTexture9* source,
                          IDirect3DBaseTexture9* destination) override;

    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool, IDirect3DTexture9** texture, void** sharedHandle) override;
    HRESULT CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                      D3DMULTISAMPLE_TYPE multiSample, DWORD multisampleQuality,
                                      BOOL discard, IDirect3DSurface9** surface,
                                      void** sharedHandle) override;
    HRESULT CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                        IDirect3DSurface9** surface, void** sharedHandle) override;
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer9** buffer, void** sharedHandle) override;
    HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DIndexBuffer9** buffer, void** sharedHandle) override;
    HRESULT CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements,
                                    IDirect3DVertexDeclaration9** declaration) override;

    HRESULT SetVertexDeclaration(IDirect3DVertexDeclaration9* declaration) override;
    HRESULT SetFVF(DWORD fvf) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                            UINT stride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer9* buffer) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData,
                            UINT stride) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex,
                                 UINT numVertices, UINT startIndex, UINT primitiveCount) override;

    HRESULT CreateProgram(const char* vertexSource, const char* fragmentSource,
                          IDirect3DProgram9** program) override;
    HRESULT SetProgram(IDirect3DProgram9* program) override;
    HRESULT GetProgram(IDirect3DProgram9** program) override;
    HRESULT SetProgramConstantF(INT location, const float* data, D3DPROGRAMCONSTANTSHAPE shape,
                                UINT count) override;
    HRESULT SetProgramConstantI(INT location, const INT* data, D3DPROGRAMCONSTANTSHAPE shape,
                                UINT count) override;

private:
    static constexpr unsigned kSamplers = GLStateShadow::kSamplerCount;
    static constexpr unsigned kStreams = 8;
    struct Stream {
        GLVertexBuffer* buffer = nullptr;
        UINT offset = 0;
        UINT stride = 0;
    };

    GLDevice(std::unique_ptr<GLContextPool> pool, SDL_Window* window, bool ownsWindow,
             const D3DPRESENT_PARAMETERS& parameters);
    ~GLDevice() override;
    bool initialise();

    // Binding slots hold internal references (see GLRefCounted).
    // Instantiated where T is complete (T derives from GLRefCounted).
    template <class T>
    static void rebind(T*& slot, T* object) {
        if (slot == object) {
            return;
        }
        T* old = slot;
        slot = object;
        swapInternalRefs(object, old);
    }
    static void swapInternalRefs(GLRefCounted* added, GLRefCounted* dropped);
    void rebindSurface(GLSurface*& slot, GLSurface* surface);

    void readLimits();
    void resetViewportTo(const GLSurface& target);
    void applySampler(int slot, DWORD type);
    bool bindTargets(GLContext& context);
    // Whether a state group changed since `context` last translated it (and it now counts as
    // translated there).
    bool changed(GLContext& context, StateGroup group) {
        return context.catchUp(group, state_.version(group));
    }
    void applyViewport(GLContext& context);
    bool prepareDraw(GLContext& context);
    void applyBlend(GLContext& context);
    void applyDepth(GLContext& context);
    void applyRaster(GLContext& context);
    void applyTextures(GLContext& context);
    void applyVertexFormat(GLContext& context);
    bool applyStreams(GLContext& context, bool userPointerDraw);
    void markClearStateDirty(GLContext& context);
    static bool covers(const D3DRECT& area, const D3DSURFACE_DESC& surface);
    static void clearDepthStencil(GLuint fbo, std::optional<float> depth,
                                  std::optional<std::uint8_t> stencil);
    void forgetDrawnContents();
    void startDepthStencil(GLContext& context, GLSurface& surface);
    HRESULT uploadConstants(INT location, const void* data, bool isFloat,
                            D3DPROGRAMCONSTANTSHAPE shape, UINT count);

    std::recursive_mutex mutex_;
    std::atomic<ULONG> refs_{1};
    std::unique_ptr<GLContextPool> pool_;
    SDL_Window* window_;
    bool ownsWindow_;
    D3DPRESENT_PARAMETERS parameters_;
    GLStateShadow state_;
    GLFixedFunction fixedFunction_;
    std::array<GLuint, kSamplers> samplers_{};
    GLSurface* backBuffer_ = nullptr;
    GLSurface* autoDepth_ = nullptr;
    std::array<GLSurface*, D3D_MAX_SIMULTANEOUS_RENDERTARGETS> targets_{};
    GLSurface* depth_ = nullptr;
    std::array<GLTexture*, kSamplers> textures_{};
    GLVertexDeclaration* declaration_ = nullptr;
    std::array<Stream, kStreams> streams_{};
    GLIndexBuffer* indices_ = nullptr;
    GLProgram* program_ = nullptr;
    std::map<DWORD, GLVertexDeclaration*> fvfDeclarations_;
    D3DVIEWPORT9 viewport_{};
    D3DCAPS9 caps_{};
    bool inScene_ = false;
    GLuint presentFramebufferTexture_ = 0;
};
