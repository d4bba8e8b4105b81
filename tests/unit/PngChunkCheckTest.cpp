// The PNG chunk check: a chunk that declares more bytes than the file holds is refused before the
// decoder sizes a buffer from it; sound files and other formats pass.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/d3dx9/DecodedImage.h"
#include "platform/d3dx9/PngChunkCheck.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes encodedPng() {
    const std::vector<std::uint8_t> rgb(8 * 4 * 3, 0x7F);
    Bytes file;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            auto* out = static_cast<Bytes*>(context);
            const auto* bytes = static_cast<const unsigned char*>(data);
            out->insert(out->end(), bytes, bytes + size);
        },
        &file, 8, 4, 3, rgb.data(), 8 * 3);
    return file;
}

// Offset of the length field of the first chunk of `type`.
std::size_t chunkAt(const Bytes& png, const char* type) {
    for (std::size_t pos = 8; pos + 8 <= png.size();) {
        const std::uint32_t length = (std::uint32_t{png[pos]} << 24) |
                                     (std::uint32_t{png[pos + 1]} << 16) |
                                     (std::uint32_t{png[pos + 2]} << 8) | png[pos + 3];
        if (std::equal(type, type + 4, png.begin() + static_cast<std::ptrdiff_t>(pos + 4))) {
            return pos;
        }
        pos += 12 + length;
    }
    return 0;
}

bool fits(const Bytes& bytes) {
    return fx::PngChunkCheck::chunksFit(bytes.data(), bytes.size());
}

bool decodes(const Bytes& bytes) {
    return fx::DecodedImage::decode(bytes.data(), bytes.size()).has_value();
}

TEST(PngChunkCheckTest, SoundFilesAndOtherFormatsPass) {
    const Bytes png = encodedPng();
    ASSERT_NE(chunkAt(png, "IDAT"), 0u);
    EXPECT_TRUE(fits(png));
    EXPECT_TRUE(decodes(png));
    Bytes trailing = png;
    trailing.insert(trailing.end(), {0xDE, 0xAD, 0xBE, 0xEF});  // bytes after the end chunk
    EXPECT_TRUE(fits(trailing));
    EXPECT_TRUE(fits(Bytes{'B', 'M', 0xFF, 0xFF, 0xFF, 0x7F}));
    EXPECT_TRUE(fits(Bytes{0x89, 'P', 'N', 'G'}));  // too short to be a PNG file
}

TEST(PngChunkCheckTest, ChunksReachingPastTheEndAreRefused) {
    const Bytes png = encodedPng();
    const std::size_t idat = chunkAt(png, "IDAT");
    Bytes huge = png;  // a compressed-data chunk claiming about 1.6 GB
    huge[idat] = 0x63;
    huge[idat + 1] = 0x01;
    EXPECT_FALSE(fits(huge));
    EXPECT_FALSE(decodes(huge));
    Bytes overflowing = png;  // a length that wraps a 32-bit sum
    for (std::size_t i = 0; i < 4; ++i) {
        overflowing[idat + i] = 0xFF;
    }
    EXPECT_FALSE(fits(overflowing));
    const Bytes cut(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(idat + 10));
    EXPECT_FALSE(fits(cut));  // cut inside the compressed data
    EXPECT_FALSE(decodes(cut));
    const Bytes noChecksum(png.begin(), png.end() - 14);  // the last data chunk loses its checksum
    EXPECT_FALSE(fits(noChecksum));
}

}  // namespace
