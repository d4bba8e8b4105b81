// Refuses JPEG data whose Huffman tables the packaged JPEG decoder would use unsafely (both found
// by fuzzing the texture loader):
//  - a table declaring more than 256 codes: the decoder builds each table into fixed arrays of
//    257 entries without checking the declared count, so it writes past them;
//  - a scan decoding with a table slot no segment before it has defined: the decoder then reads
//    an unbuilt table and runs past its code limits.
// The walk follows the segments the way the decoder reads them, so every table and scan header
// the decoder would act on is seen here first.
#pragma once

#include <array>
#include <cstddef>

namespace fx {

class JpegHuffmanCheck {
public:
    // True for data that is not a JPEG file, or whose tables all fit and are defined before use.
    static bool tablesFit(const unsigned char* bytes, std::size_t size);

private:
    // Huffman table slots defined so far: [0] DC, [1] AC, four slots each.
    using Defined = std::array<std::array<bool, 4>, 2>;

    // Checks the tables of the segment at `pos` (just past its marker), records their slots and
    // returns where the decoder goes on reading, or 0 when a table is too large.
    static std::size_t checkTables(const unsigned char* bytes, std::size_t size, std::size_t pos,
                                   Defined& defined);
    // Whether the scan header at `pos` (just past its marker) uses only defined slots.
    static bool scanTablesDefined(const unsigned char* bytes, std::size_t size, std::size_t pos,
                                  bool progressive, const Defined& defined);
};

}  // namespace fx
