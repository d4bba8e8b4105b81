#include "platform/d3dx9/JpegHuffmanCheck.h"

namespace fx {

namespace {

constexpr unsigned char kMarker = 0xFF;
constexpr unsigned char kHuffmanTables = 0xC4;
constexpr unsigned char kProgressiveFrame = 0xC2;
constexpr unsigned char kStartOfScan = 0xDA;
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
                                          std::size_t pos, Defined& defined) {
    long remaining =
        static_cast<long>(byteAt(bytes, size, pos) << 8 | byteAt(bytes, size, pos + 1)) - 2;
    pos += 2;
    while (remaining > 0) {
        const unsigned classAndSlot = byteAt(bytes, size, pos++);
        unsigned codes = 0;
        for (std::size_t i = 0; i < kCountBytes; ++i) {
            codes += byteAt(bytes, size, pos++);
        }
        if (codes > kMaxCodes) {
            return 0;
        }
        // The decoder stops at a class above 1 or a slot above 3 before building anything.
        const unsigned tableClass = classAndSlot >> 4;
        const unsigned slot = classAndSlot & 15u;
        if (tableClass < 2 && slot < 4) {
            defined[tableClass][slot] = true;
        }
        pos += codes;
        remaining -= static_cast<long>(1 + kCountBytes + codes);
    }
    return pos;
}

bool JpegHuffmanCheck::scanTablesDefined(const unsigned char* bytes, std::size_t size,
                                         std::size_t pos, bool progressive,
                                         const Defined& defined) {
    const unsigned length = byteAt(bytes, size, pos) << 8 | byteAt(bytes, size, pos + 1);
    const unsigned components = byteAt(bytes, size, pos + 2);
    // The decoder refuses such a header before it decodes anything.
    if (components < 1 || components > 4 || length != 6 + 2 * components) {
        return true;
    }
    const std::size_t spectrum = pos + 3 + 2 * std::size_t{components};
    const unsigned spectralStart = byteAt(bytes, size, spectrum);
    const unsigned successiveHigh = byteAt(bytes, size, spectrum + 2) >> 4;
    // A sequential scan decodes with both tables of each component; a progressive one with the
    // DC table in a first DC scan, with the AC table in an AC scan, and with none when it refines
    // DC values bit by bit.
    const bool usesDc = !progressive || (spectralStart == 0 && successiveHigh == 0);
    const bool usesAc = !progressive || spectralStart > 0;
    for (unsigned i = 0; i < components; ++i) {
        const unsigned selectors = byteAt(bytes, size, pos + 4 + 2 * std::size_t{i});
        const unsigned dc = selectors >> 4;
        const unsigned ac = selectors & 15u;
        // Selectors above 3 are the decoder's own error.
        if ((usesDc && dc < 4 && !defined[0][dc]) || (usesAc && ac < 4 && !defined[1][ac])) {
            return false;
        }
    }
    return true;
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
    Defined defined{};
    bool progressive = false;
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
            pos = checkTables(bytes, size, pos, defined);
            if (pos == 0) {
                return false;
            }
            continue;
        }
        if (marker == kProgressiveFrame) {
            progressive = true;
        } else if (marker == kStartOfScan &&
                   !scanTablesDefined(bytes, size, pos, progressive, defined)) {
            return false;
        }
        // Any other segment is skipped whole; after a scan header the loop walks the scan data.
        pos += byteAt(bytes, size, pos) << 8 | byteAt(bytes, size, pos + 1);
    }
    return true;
}

}  // namespace fx
