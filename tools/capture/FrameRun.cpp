#include "tools/capture/FrameRun.h"

#include <chrono>
#include <cstdio>

#include "tools/capture/CaptureCommand.h"
#include "tools/capture/InterruptFlag.h"
#include "tools/capture/ProgressLine.h"

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int failWith(const std::string& message) {
    std::fprintf(stderr, "capture: %s\n", message.c_str());
    return kCaptureFailed;
}

}  // namespace

bool FrameRun::warmUp(std::int64_t first, std::int64_t frames, ProgressLine& progress) {
    // The first render pays for the renderer's first use of every shader; the second is timed.
    if (!source_.render(timeline_.timeOf(first))) {
        return false;
    }
    const auto start = std::chrono::steady_clock::now();
    if (!source_.render(timeline_.timeOf(first))) {
        return false;
    }
    progress.estimate(secondsSince(start) * static_cast<double>(frames) *
                      composer_.rendersPerFrame());
    return true;
}

int FrameRun::run(std::int64_t first, std::int64_t end, const Writer& write) {
    ProgressLine progress(stderr, end - first);
    if (!warmUp(first, end - first, progress)) {
        return failWith(source_.error());
    }
    const auto start = std::chrono::steady_clock::now();
    for (std::int64_t frame = first; frame < end; ++frame) {
        if (!composer_.compose(frame)) {
            return failWith(source_.error());
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
