#pragma once

#include <cstdint>

namespace music {

// A small fixed-seed generator (xorshift64*), so the same seed always gives the same track.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed ? seed : 0x9E3779B97F4A7C15ull) {}

    // Uniform in [-1, 1).
    double bipolar();
    // Uniform in [0, 1).
    double unit();

private:
    uint64_t state_;
};

}  // namespace music
