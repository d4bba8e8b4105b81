#include "tools/capture/ProgressLine.h"

#include <cmath>

std::string ProgressLine::format(std::int64_t done, std::int64_t total, double elapsedSeconds) {
    const double rate = elapsedSeconds > 0.0 ? static_cast<double>(done) / elapsedSeconds : 0.0;
    char text[96];
    if (rate <= 0.0) {
        std::snprintf(text, sizeof text, "frame %lld/%lld", static_cast<long long>(done),
                      static_cast<long long>(total));
        return text;
    }
    const auto left = static_cast<long long>(std::ceil(static_cast<double>(total - done) / rate));
    std::snprintf(text, sizeof text, "frame %lld/%lld  %.1f fps  %lld:%02lld left",
                  static_cast<long long>(done), static_cast<long long>(total), rate, left / 60,
                  left % 60);
    return text;
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
    // The trailing spaces wipe what a longer previous line left.
    std::fprintf(out_, "\r%s    ", format(done, total_, elapsedSeconds).c_str());
    std::fflush(out_);
}
