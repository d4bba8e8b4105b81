#pragma once

#include <array>
#include <cstdio>
#include <vector>

#include "platform/sound/OfflineMusicReader.h"

namespace music {

// Measures a track the way the show reads it: the two high-band sums of the 64-bin spectrum
// (s1 = bins 37-40, about 12.7-14.1 kHz; s2 = bins 49-59, about 16.9-20.7 kHz) sampled every
// 2 ms over a stretch of time, with how strongly they pulse with the beat.
class BandReport {
public:
    struct Band {
        double mean = 0.0;
        double p95 = 0.0;
        double peak = 0.0;
        // Mean in the loudest sixteenth of the beat over the mean in the quietest: 1 means flat,
        // 2 or more is a pulse the eye sees.
        double pulse = 0.0;
        // Mean per sixteenth of the beat, the first starting on the beat.
        std::array<double, 16> profile{};
    };

    struct Stretch {
        Band s1;
        Band s2;
        std::vector<double> s1Values;
        std::vector<double> s2Values;
    };

    static constexpr int kFirstS1 = 37;
    static constexpr int kLastS1 = 40;
    static constexpr int kFirstS2 = 49;
    static constexpr int kLastS2 = 59;

    static Stretch measure(sound::OfflineMusicReader& reader, double start, double end);
    // The table of every section of the show, with the overlay values the bands produce.
    static void print(sound::OfflineMusicReader& reader, std::FILE* out);
};

}  // namespace music
