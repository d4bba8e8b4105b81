#include "tools/capture/FrameComposer.h"

FrameComposer::FrameComposer(IFrameSource& source, const Settings& settings)
    : source_(source),
      settings_(settings),
      timeline_(settings.fps),
      accumulator_(settings.width, settings.height, settings.factor) {}

bool FrameComposer::compose(std::int64_t frame) {
    const int count = settings_.subFrames;
    accumulator_.clear();
    for (int index = 0; index < count; ++index) {
        if (!add(timeline_.subFrameTime(frame, index, count, settings_.shutter), count)) {
            return false;
        }
    }
    resolve(count);
    return true;
}

bool FrameComposer::composeAt(Rational seconds) {
    accumulator_.clear();
    if (!add(seconds, 1)) {
        return false;
    }
    resolve(1);
    return true;
}

bool FrameComposer::passesThrough(int renders) const {
    return renders == 1 && settings_.factor == 1 && !settings_.deep;
}

bool FrameComposer::add(Rational seconds, int renders) {
    if (!source_.render(seconds)) {
        return false;
    }
    if (!passesThrough(renders)) {
        accumulator_.add(source_.bgrx());
    }
    return true;
}

void FrameComposer::resolve(int renders) {
    passedThrough_ = passesThrough(renders);
    if (passedThrough_) {
        return;
    }
    if (settings_.deep) {
        accumulator_.resolveRgb48(rgb48_);
    } else {
        accumulator_.resolveBgrx(bgrx_);
    }
}

std::span<const std::uint8_t> FrameComposer::bytes() const {
    if (passedThrough_) {
        return source_.bgrx();
    }
    if (settings_.deep) {
        return {reinterpret_cast<const std::uint8_t*>(rgb48_.data()), rgb48_.size() * 2};
    }
    return bgrx_;
}

Image FrameComposer::rgb() const {
    return Image::fromBgrx(bytes(), settings_.width, settings_.height);
}
