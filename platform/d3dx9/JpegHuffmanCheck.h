// Refuses JPEG data whose Huffman tables declare more than 256 codes. The packaged JPEG decoder
// builds each table into fixed arrays of 257 entries without checking the declared count, so such
// a table writes past them (found by fuzzing the texture loader). The walk follows the segments
// the way the decoder reads them, so every table the decoder would build is seen here first.
#pragma once

#include <cstddef>

namespace fx {

class JpegHuffmanCheck {
public:
    // True for data that is not a JPEG file, or whose every Huffman table fits.
    static bool tablesFit(const unsigned char* bytes, std::size_t size);

private:
    // Checks the tables of the segment at `pos` (just past its marker) and returns where the
    // decoder goes on reading, or 0 when a table is too large.
    static std::size_t checkTables(const unsigned char* bytes, std::size_t size, std::size_t pos);
};

}  // namespace fx
