#include "tools/capture/OfflineMusicClock.h"

#include "tools/capture/FrameTimeline.h"

OfflineMusicClock::OfflineMusicClock(std::shared_ptr<const sound::DecodedTrack> track)
    : reader_(std::move(track)) {}

void OfflineMusicClock::setTime(Rational seconds) {
    ms_ = FrameTimeline::msAt(seconds);
    sample_ = FrameTimeline::sampleAt(seconds, reader_.track().sampleRate());
}

bool OfflineMusicClock::fetchSpectrum(float* out, int count) {
    return reader_.spectrumAtFrame(sample_, out, count) == sound::SoundResult::Ok;
}
