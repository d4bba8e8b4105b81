#include "tools/soak/MemoryTrend.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string megabytes(std::int64_t kb) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(kb) / 1024.0);
    return text;
}

}  // namespace

void MemoryTrend::add(double seconds, std::int64_t kb) {
    samples_.push_back({seconds, kb});
    if (seconds < warmupSeconds_) {
        return;
    }
    if (settled_++ == 0) {
        first_ = lowest_ = highest_ = kb;
    }
    last_ = kb;
    lowest_ = std::min(lowest_, kb);
    highest_ = std::max(highest_, kb);
}

std::string MemoryTrend::verdict(std::int64_t toleranceKb) const {
    if (settled_ == 0) {
        return "no sample of " + what_ + " after the warm-up";
    }
    if (highest_ - lowest_ > toleranceKb) {
        return what_ + " moved between " + megabytes(lowest_) + " and " + megabytes(highest_) +
               " after the warm-up (" + megabytes(first_) + " at its end, " + megabytes(last_) +
               " last), more than the tolerance of " + megabytes(toleranceKb);
    }
    return {};
}
