// One file held by the data file cache.
#pragma once

#include <cstdint>
#include <string>

namespace kelvo {

struct DataFileEntry {
    std::string name;                    // exactly as the caller asked for it, not the path opened
    const std::uint8_t* data = nullptr;  // the file's bytes; never null, never freed
    std::uint32_t size = 0;              // bytes actually read
};

}  // namespace kelvo
