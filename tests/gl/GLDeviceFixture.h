// A device on a hidden window of its own (null HWND), with helpers that read pixels back the
// Direct3D way: GetRenderTargetData into a system-memory surface, then LockRect.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/d3d9/d3d9.h"

class GLDeviceFixture : public ::testing::Test {
protected:
    static constexpr UINT kWidth = 64;
    static constexpr UINT kHeight = 64;

    void SetUp() override;
    void TearDown() override;

    // Pixels of a render-target surface as 0xAARRGGBB, rows top first.
    std::vector<D3DCOLOR> readBack(IDirect3DSurface9* surface);
    D3DCOLOR pixel(IDirect3DSurface9* surface, UINT x, UINT y);
    D3DCOLOR backBufferPixel(UINT x, UINT y);
    std::vector<D3DCOLOR> readBackBuffer();

    IDirect3DTexture9* makeTexture(UINT w, UINT h, D3DFORMAT format, D3DCOLOR fill);
    IDirect3DTexture9* makeRenderTarget(UINT w, UINT h);
    IDirect3DProgram9* makeProgram(const char* vertex, const char* fragment);

    IDirect3D9* d3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
};

// Channel helpers with a tolerance for rounding.
bool near(D3DCOLOR actual, D3DCOLOR expected, int tolerance = 2);
