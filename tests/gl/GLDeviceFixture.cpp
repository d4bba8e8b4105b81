#include "tests/gl/GLDeviceFixture.h"

#include <cstdlib>
#include <cstring>

void GLDeviceFixture::SetUp() {
    d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d_, nullptr);
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = kWidth;
    pp.BackBufferHeight = kHeight;
    pp.BackBufferFormat = D3DFMT_A8R8G8B8;
    pp.BackBufferCount = 1;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.Windowed = TRUE;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D24S8;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    ASSERT_EQ(d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr,
                                 D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED, &pp,
                                 &device_),
              D3D_OK);
}

void GLDeviceFixture::TearDown() {
    if (device_ != nullptr) {
        EXPECT_EQ(device_->Release(), 0u);
    }
    if (d3d_ != nullptr) {
        d3d_->Release();
    }
}

std::vector<D3DCOLOR> GLDeviceFixture::readBack(IDirect3DSurface9* surface) {
    D3DSURFACE_DESC desc{};
    surface->GetDesc(&desc);
    IDirect3DSurface9* copy = nullptr;
    EXPECT_EQ(device_->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                   D3DPOOL_SYSTEMMEM, &copy, nullptr),
              D3D_OK);
    EXPECT_EQ(device_->GetRenderTargetData(surface, copy), D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    std::vector<D3DCOLOR> pixels(std::size_t{desc.Width} * desc.Height);
    for (UINT y = 0; y < desc.Height; ++y) {
        std::memcpy(&pixels[std::size_t{y} * desc.Width],
                    static_cast<const std::uint8_t*>(locked.pBits) + std::size_t{y} * locked.Pitch,
                    desc.Width * 4);
    }
    copy->UnlockRect();
    copy->Release();
    return pixels;
}

D3DCOLOR GLDeviceFixture::pixel(IDirect3DSurface9* surface, UINT x, UINT y) {
    D3DSURFACE_DESC desc{};
    surface->GetDesc(&desc);
    return readBack(surface)[std::size_t{y} * desc.Width + x];
}

D3DCOLOR GLDeviceFixture::backBufferPixel(UINT x, UINT y) {
    IDirect3DSurface9* back = nullptr;
    EXPECT_EQ(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    const D3DCOLOR c = pixel(back, x, y);
    back->Release();
    return c;
}

std::vector<D3DCOLOR> GLDeviceFixture::readBackBuffer() {
    IDirect3DSurface9* back = nullptr;
    EXPECT_EQ(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    auto pixels = readBack(back);
    back->Release();
    return pixels;
}

IDirect3DTexture9* GLDeviceFixture::makeTexture(UINT w, UINT h, D3DFORMAT format, D3DCOLOR fill) {
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device_->CreateTexture(w, h, 1, 0, format, D3DPOOL_MANAGED, &texture, nullptr),
              D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (UINT y = 0; y < h; ++y) {
        auto* row = static_cast<std::uint8_t*>(locked.pBits) + std::size_t{y} * locked.Pitch;
        for (UINT x = 0; x < w; ++x) {
            if (format == D3DFMT_L8) {
                row[x] = static_cast<std::uint8_t>(fill & 0xFF);
            } else {
                std::memcpy(row + 4 * x, &fill, 4);
            }
        }
    }
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    return texture;
}

IDirect3DTexture9* GLDeviceFixture::makeRenderTarget(UINT w, UINT h) {
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device_->CreateTexture(w, h, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                     D3DPOOL_DEFAULT, &texture, nullptr),
              D3D_OK);
    return texture;
}

IDirect3DProgram9* GLDeviceFixture::makeProgram(const char* vertex, const char* fragment) {
    IDirect3DProgram9* program = nullptr;
    EXPECT_EQ(device_->CreateProgram(vertex, fragment, &program), D3D_OK);
    return program;
}

bool near(D3DCOLOR actual, D3DCOLOR expected, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = static_cast<int>((actual >> shift) & 0xFF);
        const int e = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - e) > tolerance) {
            return false;
        }
    }
    return true;
}
