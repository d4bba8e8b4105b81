#include "platform/sound/DecodedTrack.h"

#ifndef __EMSCRIPTEN__
#include <mpg123.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace sound {

#ifndef __EMSCRIPTEN__

namespace {

void initMpg123Once() {
    // Only needed by libmpg123 before 1.27, where mpg123_init is not thread-safe.
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

struct HandleCloser {
    void operator()(mpg123_handle* handle) const {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
};
using Handle = std::unique_ptr<mpg123_handle, HandleCloser>;

Handle newFloatStereoHandle() {
    int error = MPG123_OK;
    Handle handle(mpg123_new(nullptr, &error));
    if (!handle) {
        return nullptr;
    }
    // Mono files are duplicated into both channels; mpg123's own messages on damaged input
    // would only repeat the result we report.
    mpg123_param(handle.get(), MPG123_ADD_FLAGS,
                 MPG123_FORCE_STEREO | MPG123_FORCE_FLOAT | MPG123_QUIET, 0.0);
    return handle;
}

// Pins the output to float stereo at the stream's own rate so no resampling happens.
bool fixOutputFormat(mpg123_handle* handle, long* rate) {
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(handle, rate, &channels, &encoding) != MPG123_OK) {
        return false;
    }
    mpg123_format_none(handle);
    return mpg123_format(handle, *rate, MPG123_STEREO, MPG123_ENC_FLOAT_32) == MPG123_OK;
}

// Reads until the end or the first unrecoverable error; what was decoded before an error is kept,
// so a truncated file plays as far as it goes.
std::vector<float> readAll(mpg123_handle* handle) {
    std::vector<float> samples;
    off_t expected = mpg123_length(handle);
    if (expected > 0) {
        samples.reserve(static_cast<size_t>(expected) * DecodedTrack::kChannels);
    }
    std::vector<unsigned char> chunk(64 * 1024);
    for (;;) {
        size_t done = 0;
        int status = mpg123_read(handle, chunk.data(), chunk.size(), &done);
        const float* floats = reinterpret_cast<const float*>(chunk.data());
        samples.insert(samples.end(), floats, floats + done / sizeof(float));
        bool more = status == MPG123_NEW_FORMAT || (status == MPG123_OK && done > 0);
        if (!more) {
            break;
        }
    }
    // A partial frame at an error would leave the channels out of step.
    samples.resize(samples.size() - samples.size() % DecodedTrack::kChannels);
    return samples;
}

}  // namespace

std::shared_ptr<const DecodedTrack> DecodedTrack::decode(const std::string& path,
                                                         SoundResult* result, std::string* reason) {
    SoundResult ignoredResult;
    std::string ignoredReason;
    SoundResult& out = result ? *result : ignoredResult;
    std::string& why = reason ? *reason : ignoredReason;
    std::FILE* probe = std::fopen(path.c_str(), "rb");
    if (!probe) {
        out = SoundResult::FileNotFound;
        why = std::strerror(errno);
        return nullptr;
    }
    std::fclose(probe);

    initMpg123Once();
    Handle handle = newFloatStereoHandle();
    long rate = 0;
    out = SoundResult::Format;
    if (!handle) {
        why = "the mp3 decoder could not be started";
        return nullptr;
    }
    if (mpg123_open(handle.get(), path.c_str()) != MPG123_OK ||
        !fixOutputFormat(handle.get(), &rate) || rate <= 0) {
        why = mpg123_strerror(handle.get());
        return nullptr;
    }
    std::vector<float> samples = readAll(handle.get());
    if (samples.empty()) {
        why = "no mp3 audio frame in the file";
        return nullptr;
    }
    out = SoundResult::Ok;
    why.clear();
    return fromSamples(std::move(samples), static_cast<int>(rate));
}

#else

namespace {

// The page decodes the music with the browser's own decoder before the program starts and
// leaves it beside the file as "<path>.pcm": the bytes "KPCM", the sample rate as a 32-bit
// integer, then interleaved stereo floats (all little-endian, as WebAssembly is).
std::vector<float> readPcm(std::FILE* file, int* rate) {
    char magic[4] = {};
    std::int32_t header = 0;
    if (std::fread(magic, 1, 4, file) != 4 || std::memcmp(magic, "KPCM", 4) != 0 ||
        std::fread(&header, sizeof header, 1, file) != 1 || header <= 0) {
        return {};
    }
    *rate = header;
    std::vector<float> samples;
    float block[4096];
    std::size_t got = 0;
    while ((got = std::fread(block, sizeof(float), 4096, file)) > 0) {
        samples.insert(samples.end(), block, block + got);
    }
    samples.resize(samples.size() / DecodedTrack::kChannels * DecodedTrack::kChannels);
    return samples;
}

}  // namespace

std::shared_ptr<const DecodedTrack> DecodedTrack::decode(const std::string& path,
                                                         SoundResult* result, std::string* reason) {
    SoundResult ignoredResult;
    std::string ignoredReason;
    SoundResult& out = result ? *result : ignoredResult;
    std::string& why = reason ? *reason : ignoredReason;
    std::FILE* file = std::fopen((path + ".pcm").c_str(), "rb");
    if (!file) {
        out = SoundResult::FileNotFound;
        why = std::strerror(errno);
        return nullptr;
    }
    int rate = 0;
    std::vector<float> samples = readPcm(file, &rate);
    std::fclose(file);
    if (samples.empty()) {
        out = SoundResult::Format;
        why = "the browser decoded no audio from the file";
        return nullptr;
    }
    out = SoundResult::Ok;
    why.clear();
    return fromSamples(std::move(samples), rate);
}

#endif

std::shared_ptr<const DecodedTrack> DecodedTrack::fromSamples(std::vector<float> interleaved,
                                                              int sampleRate) {
    return std::shared_ptr<const DecodedTrack>(
        new DecodedTrack(std::move(interleaved), sampleRate));
}

DecodedTrack::DecodedTrack(std::vector<float> interleaved, int sampleRate)
    : samples_(std::move(interleaved)), sampleRate_(sampleRate > 0 ? sampleRate : 1) {
    samples_.resize(samples_.size() - samples_.size() % kChannels);
}

uint32_t DecodedTrack::lengthMs() const {
    return static_cast<uint32_t>(frameCount() * 1000 / sampleRate_);
}

float DecodedTrack::mono(int64_t frame) const {
    if (frame < 0 || frame >= frameCount()) {
        return 0.0f;
    }
    const float* pair = samples_.data() + frame * kChannels;
    return 0.5f * (pair[0] + pair[1]);
}

}  // namespace sound
