#include "tools/capture/CaptureCommand.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>

#include <unistd.h>

#include "platform/sound/WavWriter.h"
#include "tools/capture/CaptureSession.h"
#include "tools/capture/FrameTimeline.h"
#include "tools/capture/GoldenFrames.h"
#include "tools/capture/InterruptFlag.h"
#include "tools/capture/MusicSpan.h"
#include "tools/capture/PngFile.h"
#include "tools/capture/ProgressLine.h"
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
    setup.width = options.width;
    setup.height = options.height;
    return setup;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Renders frames [first, end) in order and hands each to `write`; stops early on Ctrl-C.
int renderFrames(CaptureSession& session, const FrameTimeline& timeline, std::int64_t first,
                 std::int64_t end, const std::function<bool(std::int64_t)>& write) {
    ProgressLine progress(stderr, end - first);
    const auto start = std::chrono::steady_clock::now();
    for (std::int64_t frame = first; frame < end; ++frame) {
        if (!session.render(timeline.timeOf(frame))) {
            return failWith(session.error());
        }
        if (!write(frame)) {
            return kCaptureFailed;
        }
        progress.update(frame + 1 - first, secondsSince(start));
        if (interrupt::raised()) {
            progress.finish(frame + 1 - first, secondsSince(start));
            std::fprintf(stderr, "capture: interrupted after %lld of %lld frames\n",
                         static_cast<long long>(frame + 1 - first),
                         static_cast<long long>(end - first));
            return kCaptureInterrupted;
        }
    }
    progress.finish(end - first, secondsSince(start));
    return kCaptureOk;
}

int capturePngSequence(const CaptureOptions& options, CaptureSession& session) {
    const FrameTimeline timeline(options.fps);
    return renderFrames(session, timeline, timeline.firstFrameAtOrAfter(options.from),
                        timeline.firstFrameAtOrAfter(options.to), [&](std::int64_t frame) {
                            const fs::path path =
                                fs::path(options.target) / sequenceFileName(frame);
                            if (!png::write(path.string(), session.grabber().rgb())) {
                                failWith("cannot write " + path.string());
                                return false;
                            }
                            return true;
                        });
}

int capturePngStills(const CaptureOptions& options, CaptureSession& session) {
    for (const Rational& time : options.stills) {
        const fs::path path = fs::path(options.target) / golden::fileName(time);
        if (!session.render(time)) {
            return failWith(session.error());
        }
        if (!png::write(path.string(), session.grabber().rgb())) {
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

int captureVideo(const CaptureOptions& options, CaptureSession& session) {
    const FrameTimeline timeline(options.fps);
    const std::int64_t first = timeline.firstFrameAtOrAfter(options.from);
    const std::int64_t end = timeline.firstFrameAtOrAfter(options.to);
    const int rate = session.track().sampleRate();
    const TemporaryFile audio{options.target + ".music.wav"};
    const std::vector<float> music =
        musicSpan(session.track(), FrameTimeline::sampleAt(timeline.timeOf(first), rate),
                  FrameTimeline::sampleAt(timeline.timeOf(end), rate));
    if (!sound::WavWriter::write(audio.path, music, sound::DecodedTrack::kChannels, rate)) {
        return failWith("cannot write " + audio.path);
    }
    VideoEncoder encoder;
    std::string error;
    if (!encoder.start({options.ffmpeg, options.target, audio.path, options.width, options.height,
                        options.fps},
                       &error)) {
        return failWith(error);
    }
    const int result = renderFrames(session, timeline, first, end, [&](std::int64_t) {
        if (!encoder.writeFrame(session.grabber().bgrx(), &error)) {
            failWith(error);
            return false;
        }
        return true;
    });
    if (!encoder.finish(&error)) {
        return failWith(error);
    }
    if (result != kCaptureFailed) {
        std::fprintf(stderr, "wrote %s\n", options.target.c_str());
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
            return captureVideo(options, session);
        default:
            return capturePngSequence(options, session);
    }
}
