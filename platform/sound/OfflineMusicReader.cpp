#include "platform/sound/OfflineMusicReader.h"

#include <algorithm>

namespace sound {

OfflineMusicReader::OfflineMusicReader(std::shared_ptr<const DecodedTrack> track)
    : track_(std::move(track)) {}

int64_t OfflineMusicReader::frameAtMs(uint32_t ms) const {
    return static_cast<int64_t>(ms) * track_->sampleRate() / 1000;
}

SoundResult OfflineMusicReader::spectrumAtFrame(int64_t frame, float* out, int count) {
    if (!out || count < 1 || count > SpectrumAnalyzer::kBins) {
        return SoundResult::InvalidParam;
    }
    float* block = analyzer_.input();
    int64_t first = frame - SpectrumAnalyzer::kBlock;
    for (int i = 0; i < SpectrumAnalyzer::kBlock; ++i) {
        block[i] = track_->mono(first + i);
    }
    analyzer_.analyze(out, count);
    return SoundResult::Ok;
}

SoundResult OfflineMusicReader::spectrumAtMs(uint32_t ms, float* out, int count) {
    return spectrumAtFrame(frameAtMs(ms), out, count);
}

std::span<const float> OfflineMusicReader::pcm(int64_t first, int64_t end) const {
    int64_t total = track_->frameCount();
    first = std::clamp<int64_t>(first, 0, total);
    end = std::clamp<int64_t>(end, first, total);
    return {track_->samples() + first * DecodedTrack::kChannels,
            static_cast<size_t>((end - first) * DecodedTrack::kChannels)};
}

}  // namespace sound
