// The live music stream as the frame loop's clock and spectrum source.
#pragma once

#include "demo/IMusicClock.h"
#include "platform/sound/MusicStream.h"

class MusicStreamClock final : public IMusicClock {
public:
    explicit MusicStreamClock(sound::MusicStream& stream) : stream_(stream) {}

    // Empty only when no track is open: a playing or ended stream always knows its position.
    std::optional<std::uint32_t> positionMs() override;
    bool fetchSpectrum(float* out, int count) override;

private:
    sound::MusicStream& stream_;
};
