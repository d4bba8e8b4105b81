#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "platform/sound/DecodedTrack.h"
#include "platform/sound/SoundResult.h"
#include "platform/sound/SpectrumAnalyzer.h"

namespace sound {

// The music as a pure function of position, for capture and tests: the spectrum and the samples
// at any frame or millisecond, the same every time for the same track. The live stream uses it
// too, so both give the same spectrum at the same frame. It does not play anything.
// Not thread-safe (it owns an FFT workspace); give each thread its own reader.
class OfflineMusicReader {
public:
    explicit OfflineMusicReader(std::shared_ptr<const DecodedTrack> track);

    const DecodedTrack& track() const { return *track_; }
    int64_t frameAtMs(uint32_t ms) const;

    // Spectrum of the 128 frames that end at `frame` (the output heard last when the play
    // position is `frame`); frames outside the track count as silence. count is 1..64; anything
    // else, or a null out, gives InvalidParam and leaves out untouched.
    SoundResult spectrumAtFrame(int64_t frame, float* out, int count = SpectrumAnalyzer::kBins);
    SoundResult spectrumAtMs(uint32_t ms, float* out, int count = SpectrumAnalyzer::kBins);

    // Interleaved stereo frames [first, end), cut to the track (empty when nothing is left).
    std::span<const float> pcm(int64_t first, int64_t end) const;

private:
    std::shared_ptr<const DecodedTrack> track_;
    SpectrumAnalyzer analyzer_;
};

}  // namespace sound
