#include "tools/capture/FrameTimeline.h"

Rational FrameTimeline::timeOf(std::int64_t frame) const {
    return Rational::reduced(frame * fps_.den, fps_.num);
}

Rational FrameTimeline::subFrameTime(std::int64_t frame, int index, int count,
                                     Rational shutter) const {
    // (frame + index * shutter / (360 * count)) / fps over one denominator.
    const std::int64_t perFrame = 360 * std::int64_t{count} * shutter.den;
    return Rational::reduced((frame * perFrame + index * shutter.num) * fps_.den,
                             perFrame * fps_.num);
}

std::int64_t FrameTimeline::firstFrameAtOrAfter(Rational seconds) const {
    // seconds * num / den frames, rounded up.
    return Rational::reduced(seconds.num * fps_.num, seconds.den * fps_.den).ceilTimes(1);
}

std::uint32_t FrameTimeline::msAt(Rational seconds) {
    return static_cast<std::uint32_t>(seconds.floorTimes(1000));
}

std::int64_t FrameTimeline::sampleAt(Rational seconds, int sampleRate) {
    return seconds.floorTimes(sampleRate);
}
