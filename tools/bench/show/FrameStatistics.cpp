#include "tools/bench/show/FrameStatistics.h"

#include <algorithm>
#include <cmath>

double FrameStatistics::percentile(double percent) const {
    if (samples_.empty()) {
        return 0.0;
    }
    std::vector<double> sorted = samples_;
    std::sort(sorted.begin(), sorted.end());
    const auto rank =
        static_cast<std::size_t>(std::ceil(percent / 100.0 * static_cast<double>(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

double FrameStatistics::worst() const {
    return samples_.empty() ? 0.0 : *std::max_element(samples_.begin(), samples_.end());
}
