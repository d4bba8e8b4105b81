#include "tools/capture/CaptureCommand.h"

#include <cstdio>
#include <filesystem>

#include <sys/resource.h>
#include <unistd.h>

#include "platform/sound/WavWriter.h"
#include "tools/capture/CaptureSession.h"
#include "tools/capture/FrameComposer.h"
#include "tools/capture/FrameRun.h"
#include "tools/capture/FrameTimeline.h"
#include "tools/capture/GoldenFrames.h"
#include "tools/capture/InterruptFlag.h"
#include "tools/capture/MusicSpan.h"
#include "tools/capture/PngFile.h"
#include "tools/capture/VideoEncoder.h"

namespace {

namespace fs = std::filesystem;
using Output = CaptureOptions::Output;

int failWith(const std::string& message) {
    std::fprintf(stderr, "capture: %s\n", message.c_str());
    return kCaptureFailed;
}

// A folder the frames can go into, made if missing; empty when it is usable.
std::string prepareFolder(const std::string& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder) || access(folder.c_str(), W_OK) != 0) {
        return "cannot write into the folder " + folder;
    }
    return {};
}

std::string prepareVideoFile(const std::string& file) {
    const fs::path parent = fs::absolute(file).parent_path();
    if (!fs::is_directory(parent) || access(parent.c_str(), W_OK) != 0) {
        return "cannot write " + file + ": " + parent.string() + " is not a writable folder";
    }
    if (fs::is_directory(file)) {
        return "cannot write " + file + ": it is a folder";
    }
    return {};
}

CaptureSession::Setup setupFor(const CaptureOptions& options) {
    CaptureSession::Setup setup;
    setup.width = options.width * options.supersample;
    setup.height = options.height * options.supersample;
    return setup;
}

FrameComposer::Settings composerFor(const CaptureOptions& options, bool deep) {
    return {options.width,
            options.height,
            options.supersample,
            options.subFrames,
            options.shutter,
            options.fps,
            deep};
}

long peakMemoryKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int capturePngSequence(const CaptureOptions& options, CaptureSession& session) {
    const FrameTimeline timeline(options.fps);
    FrameComposer composer(session, composerFor(options, false));
    const auto write = [&](std::int64_t frame) {
        const fs::path path = fs::path(options.target) / sequenceFileName(frame);
        if (!png::write(path.string(), composer.rgb())) {
            failWith("cannot write " + path.string());
            return false;
        }
        return true;
    };
    const int result = FrameRun(session, composer, timeline)
                           .run(timeline.firstFrameAtOrAfter(options.from),
                                timeline.firstFrameAtOrAfter(options.to), write);
    std::fprintf(stderr, "peak memory %ld MB\n", peakMemoryKb() / 1024);
    return result;
}

int capturePngStills(const CaptureOptions& options, CaptureSession& session) {
    FrameComposer composer(session, composerFor(options, false));
    for (const Rational& time : options.stills) {
        const fs::path path = fs::path(options.target) / golden::fileName(time);
        if (!composer.composeAt(time)) {
            return failWith(session.error());
        }
        if (!png::write(path.string(), composer.rgb())) {
            return failWith("cannot write " + path.string());
        }
        if (interrupt::raised()) {
            return kCaptureInterrupted;
        }
    }
    std::fprintf(stderr, "wrote %zu pictures into %s\n", options.stills.size(),
                 options.target.c_str());
    return kCaptureOk;
}

// The WAV beside the video while it is made; removed afterwards.
struct TemporaryFile {
    std::string path;
    ~TemporaryFile() {
        std::error_code error;
        fs::remove(path, error);
    }
};

VideoEncoder::Settings encoderFor(const CaptureOptions& options) {
    VideoEncoder::Settings settings;
    settings.ffmpeg = options.ffmpeg;
    settings.output = options.target;
    settings.audioWav = options.target + ".music.wav";
    settings.width = options.width;
    settings.height = options.height;
    settings.fps = options.fps;
    settings.container = *VideoFormat::containerOf(options.target);
    settings.format = options.format.withDefaults(settings.container);
    return settings;
}

// The music under frames [first, end) as the WAV ffmpeg reads; empty when it was written.
std::string writeMusic(const CaptureSession& session, const FrameTimeline& timeline,
                       std::int64_t first, std::int64_t end, const std::string& path) {
    const int rate = session.track().sampleRate();
    const std::vector<float> music =
        musicSpan(session.track(), FrameTimeline::sampleAt(timeline.timeOf(first), rate),
                  FrameTimeline::sampleAt(timeline.timeOf(end), rate));
    if (!sound::WavWriter::write(path, music, sound::DecodedTrack::kChannels, rate)) {
        return "cannot write " + path;
    }
    return {};
}

int encodeFrames(const CaptureOptions& options, CaptureSession& session,
                 const VideoEncoder::Settings& settings) {
    const FrameTimeline timeline(options.fps);
    const std::int64_t first = timeline.firstFrameAtOrAfter(options.from);
    const std::int64_t end = timeline.firstFrameAtOrAfter(options.to);
    const TemporaryFile audio{settings.audioWav};
    std::string error = writeMusic(session, timeline, first, end, audio.path);
    VideoEncoder encoder;
    if (!error.empty() || !encoder.start(settings, &error)) {
        return failWith(error);
    }
    FrameComposer composer(session, composerFor(options, settings.format.deep()));
    const int result = FrameRun(session, composer, timeline).run(first, end, [&](std::int64_t) {
        if (!encoder.writeFrame(composer.bytes(), &error)) {
            failWith(error);
            return false;
        }
        return true;
    });
    if (!encoder.finish(&error)) {
        return failWith(error);
    }
    if (result != kCaptureFailed) {
        std::fprintf(stderr, "wrote %s; peak memory %ld MB (ffmpeg's not counted)\n",
                     options.target.c_str(), peakMemoryKb() / 1024);
    }
    return result;
}

}  // namespace

std::string sequenceFileName(std::int64_t frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06lld.png", static_cast<long long>(frame));
    return name;
}

int runCapture(const CaptureOptions& options) {
    if (options.output == Output::goldenCheck) {
        return golden::check(options.target, options.goldenOut);
    }
    if (options.output == Output::goldenUpdate) {
        return golden::update(options.target);
    }
    const bool video = options.output == Output::video;
    const std::string problem =
        video ? prepareVideoFile(options.target) : prepareFolder(options.target);
    if (!problem.empty()) {
        return failWith(problem);
    }
    if (video && VideoEncoder::findExecutable(options.ffmpeg).empty()) {
        return failWith("cannot find ffmpeg ('" + options.ffmpeg +
                        "'): install it (apt-get install ffmpeg) or name it with --ffmpeg");
    }
    std::string error;
    if (video && !VideoEncoder::tryOut(encoderFor(options), &error)) {
        return failWith(error);
    }
    CaptureSession session(setupFor(options));
    if (!session.start()) {
        return failWith(session.error());
    }
    if (interrupt::raised()) {
        return kCaptureInterrupted;
    }
    switch (options.output) {
        case Output::pngStills:
            return capturePngStills(options, session);
        case Output::video:
            return encodeFrames(options, session, encoderFor(options));
        default:
            return capturePngSequence(options, session);
    }
}
