// Frame times of a run, for the figures a benchmark reports: median, a percentile and the worst.
#pragma once

#include <vector>

class FrameStatistics {
public:
    void add(double milliseconds) { samples_.push_back(milliseconds); }
    bool empty() const { return samples_.empty(); }
    std::size_t count() const { return samples_.size(); }

    // The value below which `percent` of the samples lie (nearest rank); 0 when empty.
    double percentile(double percent) const;
    double median() const { return percentile(50.0); }
    double worst() const;

private:
    std::vector<double> samples_;
};
