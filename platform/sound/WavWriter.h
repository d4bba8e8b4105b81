#pragma once

#include <span>
#include <string>

namespace sound {

// Writes float samples as a 16-bit PCM WAV file: the form the encoder and ffmpeg take in (the
// asset generator, tests, muxing captured video). Samples are clipped to [-1, 1] and rounded.
class WavWriter {
public:
    // interleaved holds frames of `channels` samples. Returns false when the file cannot be
    // written or the arguments make no WAV.
    static bool write(const std::string& path, std::span<const float> interleaved, int channels,
                      int sampleRate);
};

}  // namespace sound
