// The browser test's music clock: the page sets the time of the frame it wants, as capture does,
// and the spectrum is that of the decoded music at that very sample. Nothing plays.
#pragma once

#include <cstdint>
#include <memory>

#include "demo/IMusicClock.h"
#include "platform/sound/OfflineMusicReader.h"

class SetTimeClock final : public IMusicClock {
public:
    explicit SetTimeClock(std::shared_ptr<const sound::DecodedTrack> track)
        : reader_(std::move(track)) {}

    void setMs(std::uint32_t ms) { ms_ = ms; }

    std::optional<std::uint32_t> positionMs() override { return ms_; }
    bool fetchSpectrum(float* out, int count) override {
        return reader_.spectrumAtMs(ms_, out, count) == sound::SoundResult::Ok;
    }

private:
    sound::OfflineMusicReader reader_;
    std::uint32_t ms_ = 0;
};
