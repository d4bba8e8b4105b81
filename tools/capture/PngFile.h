// Reading and writing pictures as PNG files.
#pragma once

#include <optional>
#include <string>

#include "tools/capture/Image.h"

namespace png {

// False when the file cannot be written.
bool write(const std::string& path, const Image& image);
// Empty when the file is missing or not a decodable picture; any picture becomes RGB.
std::optional<Image> read(const std::string& path);

}  // namespace png
