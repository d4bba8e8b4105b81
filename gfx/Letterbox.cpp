#include "gfx/Letterbox.h"

#include <cmath>

namespace kelvo {

namespace {

// Truncates toward zero; only called with values from 0 to the buffer's size.
DWORD pixels(double value) {
    return static_cast<DWORD>(value);
}

D3DVIEWPORT9 fullHeight(std::uint32_t width, std::uint32_t height, double aspect) {
    const DWORD w = pixels(aspect * height);
    return {(width - w) >> 1, 0, w, height, 0.0f, 1.0f};
}

D3DVIEWPORT9 fullWidth(std::uint32_t width, std::uint32_t height, double aspect) {
    const DWORD h = pixels(width / aspect);
    return {0, (height - h) >> 1, width, h, 0.0f, 1.0f};
}

}  // namespace

D3DVIEWPORT9 letterboxViewport(std::uint32_t width, std::uint32_t height, float aspect) {
    if (!(aspect > 0.0f) || std::isinf(aspect)) {
        return {0, 0, width, height, 0.0f, 1.0f};
    }
    const double a = aspect;
    if (aspect > 1.0f) {
        // Only a picture that would really overflow (after truncation) is pillarboxed.
        return pixels(width / a) > height ? fullHeight(width, height, a)
                                          : fullWidth(width, height, a);
    }
    return pixels(a * height) > width ? fullWidth(width, height, a) : fullHeight(width, height, a);
}

}  // namespace kelvo
