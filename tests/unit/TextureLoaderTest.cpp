// The texture loader over the recording device: every supported format decodes at its own size
// with the right bytes, grey images become L8, the mip chain is complete and box-filtered, and
// bad data creates nothing, nor does a file too short for the pixels its header declares. The
// JPEG and PNG variants are small files in tests/images.
#if __has_include("platform/d3d9/recording/RecordingDevice.h")

#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "platform/d3d9/recording/RecordingDevice.h"
#include "platform/d3d9/recording/RecordingTexture.h"
#include "platform/d3dx9/d3dx9.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

void append(void* context, void* data, int size) {
    auto* out = static_cast<Bytes*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

// A w x h image whose pixel (x, y) has red x * 40, green y * 60, blue 200, alpha 128 + x.
Bytes pattern(int w, int h, int channels) {
    Bytes pixels;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint8_t rgba[4] = {static_cast<std::uint8_t>(x * 40),
                                          static_cast<std::uint8_t>(y * 60), 200,
                                          static_cast<std::uint8_t>(128 + x)};
            pixels.insert(pixels.end(), rgba, rgba + channels);
        }
    }
    return pixels;
}

Bytes encode(const char* kind, int w, int h, int channels, const Bytes& pixels) {
    Bytes file;
    const std::string k = kind;
    stbi_write_tga_with_rle = k == "tga-raw" ? 0 : 1;
    if (k == "png") {
        stbi_write_png_to_func(append, &file, w, h, channels, pixels.data(), w * channels);
    } else if (k == "bmp") {
        stbi_write_bmp_to_func(append, &file, w, h, channels, pixels.data());
    } else if (k == "tga" || k == "tga-raw") {
        stbi_write_tga_to_func(append, &file, w, h, channels, pixels.data());
    } else {
        stbi_write_jpg_to_func(append, &file, w, h, channels, pixels.data(), 100);
    }
    return file;
}

Bytes readImage(const std::string& name) {
    std::ifstream in(std::string(KELVO_TEST_IMAGE_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TextureLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { device = new RecordingDevice(); }
    void TearDown() override {
        if (texture != nullptr) {
            texture->Release();
        }
        EXPECT_EQ(device->liveObjectCount(), 0u);
        device->Release();
    }

    HRESULT load(const Bytes& file, UINT mipLevels = 0, UINT width = D3DX_DEFAULT,
                 UINT height = D3DX_DEFAULT) {
        return D3DXCreateTextureFromFileInMemoryEx(
            device, file.empty() ? nullptr : file.data(), static_cast<UINT>(file.size()), width,
            height, mipLevels, 0, D3DFMT_UNKNOWN, D3DPOOL_DEFAULT, 0x80004, D3DX_FILTER_BOX, 0,
            &info, nullptr, &texture);
    }

    // The bytes of a level, row after row without padding, as the device holds them: the
    // loader's default-pool texture cannot be locked.
    Bytes level(UINT index) const {
        return static_cast<RecordingTexture*>(texture)->level(index)->bytes();
    }

    RecordingDevice* device = nullptr;
    IDirect3DTexture9* texture = nullptr;
    D3DXIMAGE_INFO info{};
};

TEST_F(TextureLoaderTest, LosslessFormatsDecodeToTheirPixelsAsBgra) {
    struct Case {
        const char* kind;
        int channels;
        D3DXIMAGE_FILEFORMAT format;
    };
    for (const Case c :
         {Case{"png", 4, D3DXIFF_PNG}, Case{"bmp", 3, D3DXIFF_BMP}, Case{"tga", 4, D3DXIFF_TGA}}) {
        SCOPED_TRACE(c.kind);
        const Bytes pixels = pattern(5, 3, c.channels);
        ASSERT_EQ(load(encode(c.kind, 5, 3, c.channels, pixels), 1), D3D_OK);
        EXPECT_EQ(info.Width, 5u);
        EXPECT_EQ(info.Height, 3u);
        EXPECT_EQ(info.Depth, 1u);
        EXPECT_EQ(info.MipLevels, 1u);
        EXPECT_EQ(info.ResourceType, D3DRTYPE_TEXTURE);
        EXPECT_EQ(info.ImageFileFormat, c.format);
        D3DSURFACE_DESC desc{};
        ASSERT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
        EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
        EXPECT_EQ(desc.Width, 5u);  // no rounding up to a power of two
        EXPECT_EQ(desc.Height, 3u);
        const Bytes texels = level(0);
        for (int i = 0; i < 15; ++i) {
            const std::uint8_t* p = &pixels[i * c.channels];
            const std::uint8_t alpha = c.channels == 4 ? p[3] : 255;
            const Bytes expected = {p[2], p[1], p[0], alpha};
            EXPECT_EQ(Bytes(texels.begin() + i * 4, texels.begin() + i * 4 + 4), expected) << i;
        }
        texture->Release();
        texture = nullptr;
    }
}

TEST_F(TextureLoaderTest, JpegDecodesAndGreyImagesBecomeL8) {
    ASSERT_EQ(load(encode("jpg", 8, 8, 3, pattern(8, 8, 3))), D3D_OK);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_JPG);
    D3DSURFACE_DESC desc{};
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    texture->Release();
    texture = nullptr;

    const Bytes grey = {0, 50, 100, 150, 200, 250};
    ASSERT_EQ(load(encode("png", 3, 2, 1, grey), 1), D3D_OK);
    EXPECT_EQ(info.Format, D3DFMT_L8);
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Format, D3DFMT_L8);
    EXPECT_EQ(level(0), grey);
}

// Each file is 16 x 8: red on the left half, blue on the right.
TEST_F(TextureLoaderTest, JpegAndPngVariantsDecode) {
    for (const char* name : {"arithmetic.jpg", "progressive.jpg", "cmyk.jpg", "rgb16.png",
                             "interlaced.png", "palette.png", "grey16.png"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(load(readImage(name), 1), D3D_OK);
        EXPECT_EQ(info.Width, 16u);
        EXPECT_EQ(info.Height, 8u);
        if (std::string(name) == "grey16.png") {
            EXPECT_EQ(info.Format, D3DFMT_L8);
            const Bytes grey = level(0);
            // Red and blue as the file's maker greyed them (Rec. 709 weights).
            EXPECT_EQ(grey[4 * 16 + 2], 54);
            EXPECT_EQ(grey[4 * 16 + 13], 18);
        } else {
            const Bytes texels = level(0);
            const auto bgr = [&](int x) {
                const std::uint8_t* t = &texels[(4 * 16 + x) * 4];
                return std::vector<int>{t[0], t[1], t[2]};
            };
            for (const auto& [x, expected] :
                 {std::pair{2, std::vector{0, 0, 255}}, std::pair{13, std::vector{255, 0, 0}}}) {
                for (int c = 0; c < 3; ++c) {
                    EXPECT_NEAR(bgr(x)[c], expected[c], 24) << "x " << x << ", channel " << c;
                }
            }
        }
        texture->Release();
        texture = nullptr;
    }
}

// Damaged JPEGs the decoder reads to the end anyway: a frame header without scan data, a
// progressive file missing its later scans, data cut short. Decoded under two different fills
// of fresh heap memory, each gives the same texture both times, or fails both times.
TEST_F(TextureLoaderTest, DamagedJpegsGiveTheSameTextureWhateverTheHeapHeld) {
    const Bytes progressive = readImage("progressive.jpg");
    const Bytes baseline = encode("jpg", 40, 24, 3, pattern(40, 24, 3));
    const auto cutAtScan = [](const Bytes& file, int scan) {
        std::size_t at = 0;
        for (int found = 0; at + 1 < file.size(); ++at) {
            if (file[at] == 0xFF && file[at + 1] == 0xDA && found++ == scan) {
                break;
            }
        }
        Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(at));
        cut.insert(cut.end(), {0xFF, 0xD9});
        return cut;
    };
    const std::vector<Bytes> damaged = {cutAtScan(baseline, 0), cutAtScan(progressive, 1),
                                        cutAtScan(progressive, 3),
                                        Bytes(progressive.begin(), progressive.begin() + 300),
                                        Bytes(baseline.begin(), baseline.end() - 200)};
    std::vector<Bytes> first;
    for (const int fill : {0x55, 0xAA}) {
        mallopt(M_PERTURB, fill);
        for (std::size_t i = 0; i < damaged.size(); ++i) {
            const HRESULT result = load(damaged[i], 1);
            const Bytes texels = texture != nullptr ? level(0) : Bytes{};
            if (fill == 0x55) {
                first.push_back(texels);
            } else {
                EXPECT_EQ(texels, first[i]) << "damaged file " << i << ", result " << result;
            }
            if (texture != nullptr) {
                texture->Release();
                texture = nullptr;
            }
        }
    }
    mallopt(M_PERTURB, 0);
}

TEST_F(TextureLoaderTest, BuildsTheFullBoxFilteredMipChain) {
    // 5 x 3 -> 2 x 1 -> 1 x 1.
    const Bytes grey = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150};
    ASSERT_EQ(load(encode("png", 5, 3, 1, grey)), D3D_OK);
    ASSERT_EQ(texture->GetLevelCount(), 3u);
    const UINT sizes[3][2] = {{5, 3}, {2, 1}, {1, 1}};
    for (UINT i = 0; i < 3; ++i) {
        D3DSURFACE_DESC desc{};
        ASSERT_EQ(texture->GetLevelDesc(i, &desc), D3D_OK);
        EXPECT_EQ(desc.Width, sizes[i][0]);
        EXPECT_EQ(desc.Height, sizes[i][1]);
    }
    // Level 1 averages columns 0-1 and 2-4 of all three rows; level 2 averages level 1.
    EXPECT_EQ(level(1), (Bytes{65, 90}));
    EXPECT_EQ(level(2), (Bytes{78}));
    texture->Release();
    texture = nullptr;

    ASSERT_EQ(load(encode("png", 64, 16, 4, pattern(64, 16, 4)), D3DX_DEFAULT), D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 7u);
}

TEST_F(TextureLoaderTest, BadDataFailsAndCreatesNothing) {
    Bytes png = encode("png", 16, 16, 4, pattern(16, 16, 4));
    const Bytes truncated(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(png.size() / 2));
    const Bytes garbage = [] {
        Bytes bytes(300);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
        }
        return bytes;
    }();
    // A BMP header claiming 100000 x 100000 pixels.
    Bytes huge = encode("bmp", 2, 2, 3, pattern(2, 2, 3));
    const std::int32_t side = 100000;
    std::memcpy(&huge[18], &side, 4);
    std::memcpy(&huge[22], &side, 4);

    // A header whose checksum does not match: the file is damaged, whatever the rest holds.
    Bytes badChecksum = png;
    badChecksum[32] ^= 0x01;

    const Bytes& claimsHuge = huge;
    const Bytes& damagedHeader = badChecksum;
    for (const Bytes* bad : {&truncated, &garbage, &claimsHuge, &damagedHeader}) {
        texture = reinterpret_cast<IDirect3DTexture9*>(&info);  // must be overwritten with null
        EXPECT_EQ(load(*bad), D3DXERR_INVALIDDATA);
        EXPECT_EQ(texture, nullptr);
    }
    EXPECT_EQ(load(Bytes{}), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(device->countCalls("CreateTexture"), 0u);

    // A level that cannot be filled releases the texture already made.
    device->failCall("LockRect", E_FAIL, 2);
    EXPECT_EQ(load(png), E_FAIL);
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(device->liveObjectCount(), 0u) << "the texture and its system-memory copy";
}

// Rewrites the header of a small image so that it claims side x side pixels.
Bytes claimingSide(const char* kind, Bytes file, std::uint32_t side) {
    const std::string k = kind;
    if (k == "bmp") {
        std::memcpy(&file[18], &side, 4);
        std::memcpy(&file[22], &side, 4);
    } else if (k == "tga" || k == "tga-raw") {
        std::memcpy(&file[12], &side, 2);
        std::memcpy(&file[14], &side, 2);
    } else if (k == "png") {
        const std::uint8_t big[4] = {
            static_cast<std::uint8_t>(side >> 24), static_cast<std::uint8_t>(side >> 16),
            static_cast<std::uint8_t>(side >> 8), static_cast<std::uint8_t>(side)};
        std::memcpy(&file[16], big, 4);
        std::memcpy(&file[20], big, 4);
    } else {
        for (std::size_t i = 0; i + 8 < file.size(); ++i) {
            if (file[i] == 0xFF && file[i + 1] == 0xC0) {  // the frame header
                file[i + 5] = file[i + 7] = static_cast<std::uint8_t>(side >> 8);
                file[i + 6] = file[i + 8] = static_cast<std::uint8_t>(side);
                break;
            }
        }
    }
    return file;
}

// The decoder would take each of these for a 4096 x 4096 image, fill it with zeros or with
// whatever memory it was given, and report success.
TEST_F(TextureLoaderTest, FilesTooShortForTheirDeclaredPixelsFailAndCreateNothing) {
    for (const char* kind : {"tga", "tga-raw", "bmp", "png", "jpg"}) {
        SCOPED_TRACE(kind);
        const Bytes small = encode(kind, 8, 8, 3, pattern(8, 8, 3));
        texture = reinterpret_cast<IDirect3DTexture9*>(&info);  // must be overwritten with null
        EXPECT_EQ(load(claimingSide(kind, small, 4096)), D3DXERR_INVALIDDATA);
        EXPECT_EQ(texture, nullptr);
        texture = nullptr;
        // Beyond the largest side any OpenGL 4.5 device takes, whatever the file holds.
        EXPECT_EQ(load(claimingSide(kind, small, 16385)), D3DXERR_INVALIDDATA);
        EXPECT_EQ(texture, nullptr);
    }
    EXPECT_EQ(device->countCalls("CreateTexture"), 0u);
}

TEST_F(TextureLoaderTest, UncompressedFilesMustHoldEveryPixelByte) {
    // 5 x 3 at 24 bits: TGA rows of 15 bytes; BMP rows padded to 16 except the last, which the
    // decoder reads without its padding.
    struct Case {
        const char* kind;
        std::size_t pixelEnd;  // header plus pixel bytes
    };
    for (const Case c : {Case{"tga-raw", 18 + 45}, Case{"bmp", 54 + 16 + 16 + 15}}) {
        SCOPED_TRACE(c.kind);
        const Bytes file = encode(c.kind, 5, 3, 3, pattern(5, 3, 3));
        ASSERT_GE(file.size(), c.pixelEnd);
        const Bytes complete(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(c.pixelEnd));
        ASSERT_EQ(load(complete, 1), D3D_OK);
        texture->Release();
        texture = nullptr;
        const Bytes short1(complete.begin(), complete.end() - 1);
        EXPECT_EQ(load(short1, 1), D3DXERR_INVALIDDATA);
        EXPECT_EQ(texture, nullptr);
    }
}

TEST_F(TextureLoaderTest, MostCompressibleImagesStillLoad) {
    // One colour over 512 x 512: the best each encoding does, at or near each format's floor
    // (run-length TGA of 128-pixel runs sits exactly on it).
    for (const char* kind : {"tga", "png", "jpg", "bmp"}) {
        SCOPED_TRACE(kind);
        const Bytes black(512 * 512 * 3, 0);
        ASSERT_EQ(load(encode(kind, 512, 512, 3, black), 1), D3D_OK);
        EXPECT_EQ(info.Width, 512u);
        EXPECT_EQ(info.Height, 512u);
        texture->Release();
        texture = nullptr;
    }
}

}  // namespace

#endif
