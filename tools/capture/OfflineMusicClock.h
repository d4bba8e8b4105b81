// The music clock of an offline run: its position is whatever time the caller sets (the time of
// the frame being rendered), and its spectrum is that of the decoded track at that very sample,
// the same on every run. Nothing plays. Before the first time is set it stands at 0, the moment
// the music starts, which the frame loop takes as its start position.
#pragma once

#include <memory>

#include "demo/IMusicClock.h"
#include "platform/sound/OfflineMusicReader.h"
#include "tools/capture/Rational.h"

class OfflineMusicClock final : public IMusicClock {
public:
    explicit OfflineMusicClock(std::shared_ptr<const sound::DecodedTrack> track);

    void setTime(Rational seconds);
    const sound::DecodedTrack& track() const { return reader_.track(); }

    std::optional<std::uint32_t> positionMs() override { return ms_; }
    bool fetchSpectrum(float* out, int count) override;

private:
    sound::OfflineMusicReader reader_;
    std::uint32_t ms_ = 0;
    std::int64_t sample_ = 0;
};
