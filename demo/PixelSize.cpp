#include "demo/PixelSize.h"

#include <charconv>
#include <system_error>

namespace {

std::optional<std::int32_t> parseSide(std::string_view text) {
    // from_chars would take a sign; a size has none.
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return std::nullopt;
    }
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<PixelSize> parsePixelSize(std::string_view text) {
    const auto x = text.find('x');
    if (x == std::string_view::npos) {
        return std::nullopt;
    }
    const auto width = parseSide(text.substr(0, x));
    const auto height = parseSide(text.substr(x + 1));
    if (!width || !height) {
        return std::nullopt;
    }
    return PixelSize{*width, *height};
}
