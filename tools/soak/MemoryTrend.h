// One measure of memory over a long run (the resident size, the allocator's bytes in use), one
// sample per second of the show, judged after a warm-up: the first seconds load and compile what
// the show needs (the renderer builds its shader variants as each new kind of pass first draws),
// so only what comes after them must stay flat.
//
// Flat means that from the warm-up's end on, the highest and the lowest sample lie within the
// tolerance of each other: that bounds the growth over the run (a leak) and any peak that came
// back down (frames kept alive too long), and a dip cannot hide growth after it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class MemoryTrend {
public:
    // what: the measure's name in the verdict ("resident memory").
    MemoryTrend(std::string what, double warmupSeconds)
        : what_(std::move(what)), warmupSeconds_(warmupSeconds) {}

    void add(double seconds, std::int64_t kb);

    // Samples at or after the warm-up; the rest are kept for the trace only.
    bool hasSettledSamples() const { return settled_ > 0; }
    std::int64_t atWarmupEnd() const { return first_; }
    std::int64_t last() const { return last_; }
    std::int64_t lowest() const { return lowest_; }
    std::int64_t highest() const { return highest_; }

    // Empty when flat within toleranceKb; otherwise what broke it, in words.
    std::string verdict(std::int64_t toleranceKb) const;

    struct Sample {
        double seconds;
        std::int64_t kb;
    };
    const std::vector<Sample>& samples() const { return samples_; }

private:
    std::string what_;
    double warmupSeconds_;
    std::vector<Sample> samples_;
    std::size_t settled_ = 0;
    std::int64_t first_ = 0;
    std::int64_t last_ = 0;
    std::int64_t lowest_ = 0;
    std::int64_t highest_ = 0;
};
