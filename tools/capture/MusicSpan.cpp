#include "tools/capture/MusicSpan.h"

#include <algorithm>

std::vector<float> musicSpan(const sound::DecodedTrack& track, std::int64_t first,
                             std::int64_t end) {
    constexpr int channels = sound::DecodedTrack::kChannels;
    std::vector<float> out(
        static_cast<std::size_t>(std::max<std::int64_t>(end - first, 0)) * channels, 0.0f);
    const std::int64_t from = std::clamp<std::int64_t>(first, 0, track.frameCount());
    const std::int64_t to = std::clamp<std::int64_t>(end, from, track.frameCount());
    if (to <= from) {
        return out;
    }
    std::copy(track.samples() + from * channels, track.samples() + to * channels,
              out.begin() + (from - first) * channels);
    return out;
}
