// A Direct3D surface: a level of a texture (which it forwards its reference count to), a
// device-owned colour buffer (the back buffer), a depth-stencil buffer, or a system-memory
// surface that GetRenderTargetData copies pictures into.
#pragma once

#include "platform/d3d9/gl/GLApi.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/gl/GLRefCounted.h"

class GLTexture;

class GLSurface final : public IDirect3DSurface9, public GLRefCounted {
public:
    enum class Kind { TextureLevel, Color, DepthStencil, SystemMemory };

    // A surface of its own (not a texture level). valid() tells whether its storage exists.
    GLSurface(GLDevice& device, bool ownedByDevice, Kind kind, const D3DSURFACE_DESC& desc);
    GLSurface(GLTexture& container, UINT level, GLuint texture, const D3DSURFACE_DESC& desc);
    ~GLSurface() override;

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetDevice(IDirect3DDevice9** device) override { return handOutDevice(device); }
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_SURFACE; }
    HRESULT GetDesc(D3DSURFACE_DESC* desc) override;
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect() override;

    // The device's own references (bindings), forwarded to the container of a texture level.
    void bindRef();
    void unbindRef();

    bool valid() const { return kind_ == Kind::SystemMemory || name_ != 0; }
    Kind kind() const { return kind_; }
    const D3DSURFACE_DESC& desc() const { return desc_; }
    std::uint64_t serial() const { return serial_; }
    GLuint name() const { return name_; }  // texture, or renderbuffer for depth-stencil
    GLint level() const { return static_cast<GLint>(level_); }
    std::uint8_t* memory() { return memory_.data(); }
    // Of a depth-stencil surface: the value every stencil pixel holds, when they all hold the
    // same one. The device starts each surface at 0 and only its clears write the stencil (it
    // has no stencil test), so it keeps this exact.
    std::optional<std::uint8_t> uniformStencil() const { return uniformStencil_; }
    void setUniformStencil(std::optional<std::uint8_t> value) { uniformStencil_ = value; }
    // Likewise the depth every pixel holds, while it is known: whole clears set it, draws that
    // test and write depth forget it. A clear to that value then has nothing to do.
    std::optional<float> uniformDepth() const { return uniformDepth_; }
    void setUniformDepth(std::optional<float> value) { uniformDepth_ = value; }
    // Of a device colour buffer (the back buffer, never a texture level, whose pixels other
    // calls also write): the colour every pixel holds after a whole clear, until a draw or a
    // fill writes it.
    std::optional<D3DCOLOR> uniformColor() const { return uniformColor_; }
    void setUniformColor(std::optional<D3DCOLOR> value) {
        uniformColor_ = kind_ == Kind::Color ? value : std::nullopt;
    }
    UINT pitch() const { return desc_.Width * 4; }

private:
    static std::uint64_t nextSerial();

    Kind kind_;
    D3DSURFACE_DESC desc_;
    std::uint64_t serial_;
    GLTexture* container_ = nullptr;
    UINT level_ = 0;
    GLuint name_ = 0;
    std::vector<std::uint8_t> memory_;
    bool locked_ = false;
    std::optional<std::uint8_t> uniformStencil_;
    std::optional<float> uniformDepth_;
    std::optional<D3DCOLOR> uniformColor_;
};
