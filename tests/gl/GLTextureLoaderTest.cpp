// The texture loader on the OpenGL device: images of each file format, written here with
// stb_image_write, decode into textures that sample to the right colours; a one-channel image
// samples grey; corrupt data fails and leaves nothing behind on the device.
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3dx9/d3dx9.h"
#include "tests/gl/GLDeviceFixture.h"

namespace {

constexpr int kImageSize = 16;

using Bytes = std::vector<std::uint8_t>;

void append(void* context, void* data, int size) {
    auto* out = static_cast<Bytes*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

// Quadrants: red top-left, green top-right, blue bottom-left, white bottom-right (RGB bytes).
std::vector<std::uint8_t> quadrants() {
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < kImageSize; ++y) {
        for (int x = 0; x < kImageSize; ++x) {
            const bool right = x >= kImageSize / 2;
            const bool bottom = y >= kImageSize / 2;
            const bool white = right && bottom;
            rgb.push_back(white || (!right && !bottom) ? 255 : 0);
            rgb.push_back(white || (right && !bottom) ? 255 : 0);
            rgb.push_back(white || (!right && bottom) ? 255 : 0);
        }
    }
    return rgb;
}

Bytes encode(const std::string& format, int channels, const std::vector<std::uint8_t>& pixels) {
    Bytes out;
    const int n = kImageSize;
    if (format == "png") {
        stbi_write_png_to_func(append, &out, n, n, channels, pixels.data(), n * channels);
    } else if (format == "bmp") {
        stbi_write_bmp_to_func(append, &out, n, n, channels, pixels.data());
    } else if (format == "tga") {
        stbi_write_tga_to_func(append, &out, n, n, channels, pixels.data());
    } else {
        stbi_write_jpg_to_func(append, &out, n, n, channels, pixels.data(), 95);
    }
    return out;
}

class GLTextureLoaderTest : public GLDeviceFixture {
protected:
    HRESULT load(const Bytes& file, IDirect3DTexture9** texture, D3DXIMAGE_INFO* info = nullptr) {
        return D3DXCreateTextureFromFileInMemoryEx(
            device_, file.data(), static_cast<UINT>(file.size()), D3DX_DEFAULT, D3DX_DEFAULT,
            D3DX_DEFAULT, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, info,
            nullptr, texture);
    }

    // Copies the texture over the whole back buffer through the fixed-function stage.
    std::vector<D3DCOLOR> show(IDirect3DTexture9* texture) {
        const float quad[6][5] = {{-1, -1, 0, 0, 1}, {-1, 1, 0, 0, 0}, {1, 1, 0, 1, 0},
                                  {1, 1, 0, 1, 0},   {1, -1, 0, 1, 1}, {-1, -1, 0, 0, 1}};
        device_->SetTexture(0, texture);
        device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        device_->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1);
        EXPECT_EQ(device_->BeginScene(), D3D_OK);
        EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, 20), D3D_OK);
        EXPECT_EQ(device_->EndScene(), D3D_OK);
        device_->SetTexture(0, nullptr);
        return readBackBuffer();
    }

    ULONG deviceReferences() {
        const ULONG count = device_->AddRef();
        device_->Release();
        return count;
    }
};

TEST_F(GLTextureLoaderTest, EachFileFormatSamplesToItsColours) {
    const auto rgb = quadrants();
    for (const std::string format : {"png", "bmp", "tga", "jpg"}) {
        SCOPED_TRACE(format);
        IDirect3DTexture9* texture = nullptr;
        D3DXIMAGE_INFO info{};
        ASSERT_EQ(load(encode(format, 3, rgb), &texture, &info), D3D_OK);
        EXPECT_EQ(info.Width, UINT{kImageSize});
        D3DSURFACE_DESC desc{};
        ASSERT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
        EXPECT_EQ(desc.Width, UINT{kImageSize});
        EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
        const auto pixels = show(texture);
        texture->Release();
        // JPEG is lossy; the other formats are exact.
        const int tolerance = format == "jpg" ? 24 : 0;
        const auto at = [&](UINT x, UINT y) { return pixels[std::size_t{y} * kWidth + x]; };
        EXPECT_TRUE(near(at(12, 12), 0xFFFF0000u, tolerance)) << std::hex << at(12, 12);
        EXPECT_TRUE(near(at(52, 12), 0xFF00FF00u, tolerance)) << std::hex << at(52, 12);
        EXPECT_TRUE(near(at(12, 52), 0xFF0000FFu, tolerance)) << std::hex << at(12, 52);
        EXPECT_TRUE(near(at(52, 52), 0xFFFFFFFFu, tolerance)) << std::hex << at(52, 52);
    }
}

TEST_F(GLTextureLoaderTest, OneChannelImageBecomesL8AndSamplesGrey) {
    std::vector<std::uint8_t> grey;
    for (int y = 0; y < kImageSize; ++y) {
        for (int x = 0; x < kImageSize; ++x) {
            grey.push_back(x < kImageSize / 2 ? 0x40 : 0xC0);
        }
    }
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(load(encode("png", 1, grey), &texture), D3D_OK);
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Format, D3DFMT_L8);
    const auto pixels = show(texture);
    texture->Release();
    EXPECT_EQ(pixels[32 * kWidth + 8], 0xFF404040u);
    EXPECT_EQ(pixels[32 * kWidth + 56], 0xFFC0C0C0u);
}

TEST_F(GLTextureLoaderTest, CorruptImageFailsAndCreatesNothing) {
    const Bytes png = encode("png", 3, quadrants());
    const Bytes truncated(png.begin(), png.begin() + static_cast<long>(png.size() / 2));
    const std::string text = "this is not an image at all";
    const Bytes garbage(text.begin(), text.end());
    const ULONG before = deviceReferences();
    for (const Bytes* file : {&truncated, &garbage}) {
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(load(*file, &texture), D3DXERR_INVALIDDATA);
        EXPECT_EQ(texture, nullptr);
    }
    EXPECT_EQ(deviceReferences(), before);
}

}  // namespace
