#include "platform/d3dx9/JpegHuffmanCheck.h"

namespace fx {

namespace {

constexpr unsigned char kMarker = 0xFF;
constexpr unsigned char kHuffmanTables = 0xC4;
constexpr unsigned kMaxCodes = 256;
constexpr std::size_t kCountBytes = 16;

// Past the end the decoder reads zeros; so does the check.
unsigned byteAt(const unsigned char* bytes, std::size_t size, std::size_t pos) {
    return pos < size ? bytes[pos] : 0u;
}

bool hasNoLength(unsigned marker) {
    return marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD9);
}

}  // namespace

std::size_t JpegHuffmanCheck::checkTables(const unsigned char* bytes, std::size_t size,
                                          std::size_t pos) {
    long remaining =
        static_cast<long>(byteAt(bytes, size, pos) << 8 | byteAt(bytes, size, pos + 1)) - 2;
    pos += 2;
    while (remaining > 0) {
        ++pos;  // table class and slot
        unsigned codes = 0;
        for (std::size_t i = 0; i < kCountBytes; ++i) {
            codes += byteAt(bytes, size, pos++);
        }
        if (codes > kMaxCodes) {
            return 0;
        }
        pos += codes;
        remaining -= static_cast<long>(1 + kCountBytes + codes);
    }
    return pos;
}

bool JpegHuffmanCheck::tablesFit(const unsigned char* bytes, std::size_t size) {
    // The decoder takes any run of fill bytes before the start-of-image code as its marker.
    std::size_t pos = 1;
    while (pos < size && bytes[pos] == kMarker) {
        ++pos;
    }
    if (size < 2 || bytes[0] != kMarker || pos == size || bytes[pos] != 0xD8) {
        return true;
    }
    ++pos;
    while (pos + 1 < size) {
        if (bytes[pos] != kMarker || bytes[pos + 1] == kMarker) {
            ++pos;  // entropy-coded data, or a fill byte before a marker
            continue;
        }
        const unsigned marker = bytes[pos + 1];
        pos += 2;
        if (hasNoLength(marker)) {
            continue;
        }
        if (marker == kHuffmanTables) {
            pos = checkTables(bytes, size, pos);
            if (pos == 0) {
                return false;
            }
            continue;
        }
        // Any other segment is skipped whole; after a scan header the loop walks the scan data.
        pos += byteAt(bytes, size, pos) << 8 | byteAt(bytes, size, pos + 1);
    }
    return true;
}

}  // namespace fx
