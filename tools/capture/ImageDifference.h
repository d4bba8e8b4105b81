// How far a rendered picture is from its reference. Per pixel the difference is the largest of
// the three channel differences (0 to 255). A picture passes when the mean difference is small
// and few pixels differ by more than a threshold: software renderers of different versions move
// edges and round shader arithmetic a little, which stays under both limits, while a missing
// pass, a wrong texture or a wrong camera changes much of the picture and fails at least one.
#pragma once

#include <string>

#include "tools/capture/Image.h"

struct GoldenTolerance {
    // A pixel differing by more than this counts as changed.
    int pixelThreshold = 24;
    // Mean difference over all pixels, 0 to 255.
    double maxMean = 2.0;
    // Share of changed pixels, 0 to 1.
    double maxChangedShare = 0.01;
};

struct ImageDifference {
    bool sameSize = false;
    double mean = 0.0;
    double changedShare = 0.0;
    int worst = 0;
    int worstX = 0;
    int worstY = 0;
    // The per-pixel difference as grey, amplified 4 times so small changes show.
    Image picture;

    static ImageDifference between(const Image& expected, const Image& actual, int threshold);

    bool within(const GoldenTolerance& tolerance) const;
    std::string describe() const;
};
