#include "tools/capture/ProgressLine.h"

#include <algorithm>
#include <cmath>

namespace {

// "m:ss", or "h:mm:ss" from an hour on.
std::string duration(double seconds) {
    const auto whole = static_cast<long long>(std::ceil(std::max(seconds, 0.0)));
    char text[32];
    if (whole >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    }
    return text;
}

}  // namespace

std::string ProgressLine::format(std::int64_t done, std::int64_t total, double elapsedSeconds) {
    const double rate = elapsedSeconds > 0.0 ? static_cast<double>(done) / elapsedSeconds : 0.0;
    char text[96];
    if (rate <= 0.0) {
        std::snprintf(text, sizeof text, "frame %lld/%lld", static_cast<long long>(done),
                      static_cast<long long>(total));
        return text;
    }
    char speed[32];
    if (rate >= 1.0) {
        std::snprintf(speed, sizeof speed, "%.1f fps", rate);
    } else {
        std::snprintf(speed, sizeof speed, "%.1f s/frame", 1.0 / rate);
    }
    std::snprintf(text, sizeof text, "frame %lld/%lld  %s  %s left", static_cast<long long>(done),
                  static_cast<long long>(total), speed,
                  duration(static_cast<double>(total - done) / rate).c_str());
    return text;
}

std::string ProgressLine::formatEstimate(std::int64_t total, double estimatedSeconds) {
    return "frame 0/" + std::to_string(total) + "  about " + duration(estimatedSeconds) + " in all";
}

void ProgressLine::estimate(double estimatedSeconds) {
    show(formatEstimate(total_, estimatedSeconds));
}

void ProgressLine::update(std::int64_t done, double elapsedSeconds) {
    if (lastDrawn_ < 0.0 || elapsedSeconds - lastDrawn_ >= 0.25) {
        draw(done, elapsedSeconds);
    }
}

void ProgressLine::finish(std::int64_t done, double elapsedSeconds) {
    draw(done, elapsedSeconds);
    std::fputc('\n', out_);
    std::fflush(out_);
}

void ProgressLine::draw(std::int64_t done, double elapsedSeconds) {
    lastDrawn_ = elapsedSeconds;
    show(format(done, total_, elapsedSeconds));
}

void ProgressLine::show(const std::string& text) {
    // The trailing spaces wipe what a longer previous line left.
    std::fprintf(out_, "\r%s    ", text.c_str());
    std::fflush(out_);
}
