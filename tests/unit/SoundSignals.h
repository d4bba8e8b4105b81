#pragma once

// Generated signals and scratch files shared by the sound tests.
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "platform/sound/DecodedTrack.h"

namespace soundtest {

constexpr int kRate = 44100;

// Frequency at the centre of spectrum bin k for a 128-sample block.
inline double binHz(int k, int rate = kRate) {
    return k * static_cast<double>(rate) / 128.0;
}

// Interleaved stereo; the same sine on both channels unless rightAmplitude says otherwise.
inline std::vector<float> sine(double hz, double amplitude, int64_t frames, int rate = kRate,
                               double rightAmplitude = -1.0) {
    if (rightAmplitude < 0.0) {
        rightAmplitude = amplitude;
    }
    std::vector<float> samples(static_cast<size_t>(frames) * 2);
    for (int64_t i = 0; i < frames; ++i) {
        double s = std::sin(2.0 * std::numbers::pi * hz * static_cast<double>(i) / rate);
        samples[2 * i] = static_cast<float>(amplitude * s);
        samples[2 * i + 1] = static_cast<float>(rightAmplitude * s);
    }
    return samples;
}

inline std::shared_ptr<const sound::DecodedTrack> sineTrack(double hz, double amplitude,
                                                            int64_t frames, int rate = kRate) {
    return sound::DecodedTrack::fromSamples(sine(hz, amplitude, frames, rate), rate);
}

// A fresh directory under the system's temporary folder, removed at the end of the test.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "soundtestXXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline bool haveLame() {
    return std::system("command -v lame >/dev/null 2>&1") == 0;
}

}  // namespace soundtest
