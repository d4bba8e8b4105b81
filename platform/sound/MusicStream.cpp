#include "platform/sound/MusicStream.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace sound {

namespace {

int64_t monotonicNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

MusicStream::MusicStream(int bufferFrames) : requestedBufferFrames_(std::max(bufferFrames, 64)) {}

MusicStream::~MusicStream() {
    close();
}

SoundResult MusicStream::open(const std::string& path, std::string* reason) {
    SoundResult result = SoundResult::Ok;
    auto track = DecodedTrack::decode(path, &result, reason);
    if (!track) {
        close();
        return result;
    }
    return open(std::move(track));
}

SoundResult MusicStream::open(std::shared_ptr<const DecodedTrack> track) {
    close();
    if (!track || track->frameCount() == 0) {
        return SoundResult::Format;
    }
    track_ = std::move(track);
    reader_ = std::make_unique<OfflineMusicReader>(track_);
    cursor_ = 0;
    counter_.publish({});
    silent_ = !openDevice();
    return SoundResult::Ok;
}

bool MusicStream::openDevice() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "sound: no audio device: playing silently (%s)\n", SDL_GetError());
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = track_->sampleRate();
    want.format = AUDIO_F32SYS;
    want.channels = DecodedTrack::kChannels;
    want.samples = static_cast<Uint16>(std::min(requestedBufferFrames_, 32768));
    want.callback = &MusicStream::fillCallback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the hardware wants, so the callback always
    // delivers the track's own format. Starts paused.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
        std::fprintf(stderr, "sound: no audio device: playing silently (%s)\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    bufferFrames_ = have.samples;
    return true;
}

SoundResult MusicStream::play() {
    if (!track_) {
        return SoundResult::NotOpen;
    }
    if (playing_) {
        return SoundResult::Ok;
    }
    playing_ = true;
    playStartNs_ = monotonicNs();
    clock_.emplace(track_->sampleRate(), track_->frameCount(), silent_ ? 0 : bufferFrames_);
    if (!silent_) {
        SDL_PauseAudioDevice(device_, 0);
    }
    return SoundResult::Ok;
}

int64_t MusicStream::heardFrame() {
    int64_t now = monotonicNs();
    ConsumedCounter::Stamp stamp;
    if (silent_) {
        stamp = {PlaybackClock::framesIn(now - playStartNs_, track_->sampleRate()), now};
    } else {
        stamp = counter_.read();
    }
    return clock_->heardFrame(stamp, now);
}

uint32_t MusicStream::positionMs() {
    if (!track_ || !playing_) {
        return 0;
    }
    return PlaybackClock::framesToMs(heardFrame(), track_->sampleRate());
}

SoundResult MusicStream::getSpectrum(float* out, int count) {
    if (!track_) {
        return SoundResult::NotOpen;
    }
    if (!out || count < 1 || count > SpectrumAnalyzer::kBins) {
        return SoundResult::InvalidParam;
    }
    if (!playing_) {
        return SoundResult::NotPlaying;
    }
    int64_t frame = heardFrame();
    if (clock_->ended()) {
        return SoundResult::Ended;
    }
    return reader_->spectrumAtFrame(frame, out, count);
}

void MusicStream::close() {
    if (device_ != 0) {
        // Joins the callback thread, so nothing touches the track after this.
        SDL_CloseAudioDevice(device_);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        device_ = 0;
    }
    reader_.reset();
    track_.reset();
    clock_.reset();
    playing_ = false;
    silent_ = false;
    bufferFrames_ = 0;
}

MusicStream::Timing MusicStream::timing() const {
    Timing timing;
    ConsumedCounter::Stamp stamp = counter_.read();
    timing.consumedFrames = stamp.frames;
    timing.consumedAtNs = stamp.timeNs;
    timing.bufferFrames = bufferFrames_;
    timing.sampleRate = track_ ? track_->sampleRate() : 0;
    timing.silent = silent_;
    return timing;
}

void MusicStream::fillCallback(void* self, uint8_t* stream, int bytes) {
    auto* music = static_cast<MusicStream*>(self);
    constexpr int kFrameBytes = DecodedTrack::kChannels * sizeof(float);
    int64_t frames = bytes / kFrameBytes;
    int64_t take = std::clamp<int64_t>(music->track_->frameCount() - music->cursor_, 0, frames);
    std::memcpy(stream, music->track_->samples() + music->cursor_ * DecodedTrack::kChannels,
                static_cast<size_t>(take) * kFrameBytes);
    std::memset(stream + take * kFrameBytes, 0, static_cast<size_t>(bytes - take * kFrameBytes));
    if (take > 0) {
        // Only frames of the track count; after its end the last stamp stays, and the clock
        // goes on from it with the time passed.
        music->cursor_ += take;
        music->counter_.publish({music->cursor_, monotonicNs()});
    }
}

}  // namespace sound
