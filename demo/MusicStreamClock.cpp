#include "demo/MusicStreamClock.h"

#include <algorithm>

MusicStreamClock::MusicStreamClock(sound::MusicStream& stream,
                                   std::shared_ptr<const sound::DecodedTrack> track,
                                   std::int32_t avOffsetMs)
    : stream_(stream), avOffsetMs_(avOffsetMs) {
    if (track && avOffsetMs != 0) {
        shifted_.emplace(std::move(track));
    }
}

std::optional<std::uint32_t> MusicStreamClock::positionMs() {
    if (!stream_.isOpen()) {
        return std::nullopt;
    }
    return stream_.positionMs();
}

bool MusicStreamClock::fetchSpectrum(float* out, int count) {
    if (!shifted_) {
        return stream_.getSpectrum(out, count) == sound::SoundResult::Ok;
    }
    if (!stream_.isOpen()) {
        return false;
    }
    // Before the music's start (a picture shown later) the track reads as silence.
    const std::int64_t ms = static_cast<std::int64_t>(stream_.positionMs()) - avOffsetMs_;
    const auto at = static_cast<std::uint32_t>(std::clamp<std::int64_t>(ms, 0, UINT32_MAX));
    return shifted_->spectrumAtMs(at, out, count) == sound::SoundResult::Ok;
}
