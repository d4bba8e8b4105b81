// The live music stream as the frame loop's clock and spectrum source.
//
// With an A/V offset the frame loop shows the music's time less the offset; the spectrum then
// follows the same time, read from the stream's own decoded track, so the overlays that pulse
// with the music stay with the picture rather than with the loudspeaker.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "demo/IMusicClock.h"
#include "platform/sound/DecodedTrack.h"
#include "platform/sound/MusicStream.h"
#include "platform/sound/OfflineMusicReader.h"

class MusicStreamClock final : public IMusicClock {
public:
    explicit MusicStreamClock(sound::MusicStream& stream) : stream_(stream) {}
    // track: the one the stream plays; avOffsetMs as the frame loop's.
    MusicStreamClock(sound::MusicStream& stream, std::shared_ptr<const sound::DecodedTrack> track,
                     std::int32_t avOffsetMs);

    // Empty only when no track is open: a playing or ended stream always knows its position.
    std::optional<std::uint32_t> positionMs() override;
    bool fetchSpectrum(float* out, int count) override;

private:
    sound::MusicStream& stream_;
    // Only with an offset other than 0.
    std::optional<sound::OfflineMusicReader> shifted_;
    std::int32_t avOffsetMs_ = 0;
};
