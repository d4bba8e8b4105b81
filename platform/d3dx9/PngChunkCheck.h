// Refuses PNG data with a chunk that declares more bytes than the file holds. The packaged PNG
// decoder sizes its compressed-data buffer from the declared chunk lengths before reading them,
// so a file of a hundred bytes can ask for gigabytes (found by fuzzing the texture loader).
#pragma once

#include <cstddef>

namespace fx {

class PngChunkCheck {
public:
    // True for data that is not a PNG file, or whose every chunk up to the end chunk (or the end
    // of the data) lies within it.
    static bool chunksFit(const unsigned char* bytes, std::size_t size);
};

}  // namespace fx
