#include "demo/MusicStreamClock.h"

std::optional<std::uint32_t> MusicStreamClock::positionMs() {
    if (!stream_.isOpen()) {
        return std::nullopt;
    }
    return stream_.positionMs();
}

bool MusicStreamClock::fetchSpectrum(float* out, int count) {
    return stream_.getSpectrum(out, count) == sound::SoundResult::Ok;
}
