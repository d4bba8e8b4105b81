#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/sound/SoundResult.h"

namespace sound {

// A whole music file decoded to interleaved float stereo at its own sample rate. Immutable once
// made, so the audio callback, the main thread and offline readers can share it without locks.
// It does not resample: spectrum bins and positions are relative to the file's own rate.
class DecodedTrack {
public:
    static constexpr int kChannels = 2;

    // Decodes an mp3 with libmpg123. A missing file or one with no decodable frame gives null and
    // sets *result, and *reason to the cause in words (mpg123's own where it gave one); a damaged
    // file gives whatever frames mpg123 recovered.
    static std::shared_ptr<const DecodedTrack> decode(const std::string& path,
                                                      SoundResult* result = nullptr,
                                                      std::string* reason = nullptr);

    // A track from samples already in memory (interleaved stereo), for generated signals.
    static std::shared_ptr<const DecodedTrack> fromSamples(std::vector<float> interleaved,
                                                           int sampleRate);

    int sampleRate() const { return sampleRate_; }
    int64_t frameCount() const { return static_cast<int64_t>(samples_.size()) / kChannels; }
    uint32_t lengthMs() const;
    // Interleaved stereo, frameCount() * 2 floats.
    const float* samples() const { return samples_.data(); }
    // (L + R) / 2 of one frame; silence outside the track.
    float mono(int64_t frame) const;

private:
    DecodedTrack(std::vector<float> interleaved, int sampleRate);

    std::vector<float> samples_;
    int sampleRate_;
};

}  // namespace sound
