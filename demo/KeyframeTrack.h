// A value that moves linearly between keys one phrase (27.825 units) apart: at x it mixes key u
// and key u + 1 with u = trunc(x / 27.825). Past the last key it holds the last key; before 0 it
// holds the first, so a clock that briefly runs backwards does not extrapolate.
#pragma once

#include <span>

class KeyframeTrack {
public:
    static constexpr float kSpacing = 27.825f;

    // The keys are not copied: they must outlive the track.
    explicit KeyframeTrack(std::span<const float> keys) : keys_(keys) {}

    float valueAt(float x) const;

private:
    std::span<const float> keys_;
};
