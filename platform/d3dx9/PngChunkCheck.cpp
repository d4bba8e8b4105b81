#include "platform/d3dx9/PngChunkCheck.h"

#include <cstdint>
#include <cstring>

namespace fx {
namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Length, type and checksum around each chunk's data.
constexpr std::size_t kChunkOverhead = 12;

std::uint32_t bigEndian32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}

}  // namespace

bool PngChunkCheck::chunksFit(const unsigned char* bytes, std::size_t size) {
    if (bytes == nullptr || size < sizeof kSignature ||
        std::memcmp(bytes, kSignature, sizeof kSignature) != 0) {
        return true;
    }
    std::size_t pos = sizeof kSignature;
    // A chunk header cut off by the end of the data is the decoder's ordinary truncation case.
    while (size - pos >= 8) {
        const std::uint32_t length = bigEndian32(bytes + pos);
        if (length > size - pos - 8 || size - pos - 8 - length < 4) {
            return false;
        }
        if (std::memcmp(bytes + pos + 4, "IEND", 4) == 0) {
            return true;
        }
        pos += kChunkOverhead + length;
    }
    return true;
}

}  // namespace fx
