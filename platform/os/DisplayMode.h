// One display mode as the start-up dialog lists it and the render window requests it.
#pragma once

#include <cstdint>

namespace os {

struct DisplayMode {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // 0 when the driver does not know the refresh rate (SDL reports 0 then).
    std::uint32_t refreshHz = 0;

    bool operator==(const DisplayMode&) const = default;
};

}  // namespace os
