#include "tools/bench/show/BenchRun.h"

#include <chrono>
#include <cmath>
#include <optional>

#include <epoxy/gl.h>
#include <sys/resource.h>

#include "gfx/GraphicsContext.h"
#include "tools/bench/show/DeviceCallStats.h"
#include "tools/bench/show/FloorFrame.h"
#include "tools/bench/show/FrameStatistics.h"
#include "tools/bench/show/PassClock.h"
#include "tools/bench/show/TimingDirect3D.h"
#include "tools/capture/CaptureSession.h"
#include "tools/capture/FrameTimeline.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct FrameCost {
    double frameMs = 0;
    double deviceMs = 0;
    std::int64_t creations = 0;
    std::int64_t draws = 0;
};

template <typename Frame>
FrameCost measure(const DeviceCallStats& stats, Frame frame) {
    const DeviceCallStats::Snapshot before = stats.snapshot();
    const Clock::time_point start = Clock::now();
    frame();
    const Clock::time_point end = Clock::now();
    const DeviceCallStats::Snapshot after = stats.snapshot();
    return {millisecondsBetween(start, end),
            static_cast<double>(after.insideNs - before.insideNs) / 1e6,
            after.creations - before.creations, after.draws - before.draws};
}

void printStatistics(std::FILE* out, const char* name, const FrameStatistics& statistics) {
    std::fprintf(out, "%s_median %.3f\n%s_p95 %.3f\n%s_worst %.3f\n", name, statistics.median(),
                 name, statistics.percentile(95.0), name, statistics.worst());
}

double peakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace

int runBenchSize(const BenchRunSettings& settings, std::FILE* out) {
    // Declared before the session: its devices count into these until it shuts down.
    DeviceCallStats stats;
    stats.namePasses = settings.passes;
    TimingDirect3D* direct3D = nullptr;
    CaptureSession::Setup setup;
    setup.width = settings.width;
    setup.height = settings.height;
    setup.createDirect3D = [&stats, &direct3D]() -> IDirect3D9* {
        IDirect3D9* inner = Direct3DCreate9(D3D_SDK_VERSION);
        direct3D = inner != nullptr ? new TimingDirect3D(inner, stats) : nullptr;
        return direct3D;
    };
    setup.keepPixels = false;
    CaptureSession session(setup);
    const Clock::time_point start = Clock::now();
    if (!session.start()) {
        std::fprintf(stderr, "bench: %s\n", session.error().c_str());
        return 1;
    }
    const Clock::time_point started = Clock::now();

    const FrameTimeline timeline(Rational{60, 1});
    const auto frames = static_cast<std::int64_t>(std::ceil(settings.seconds * 60.0));
    FrameStatistics frameTimes, engineTimes, deviceTimes, drawCounts;
    std::int64_t lateCreations = 0;
    PassClock passClock;
    stats.passes = settings.passes ? &passClock : nullptr;
    for (std::int64_t frame = 0; frame < frames; frame += settings.stride) {
        stats.tellCreations = frame >= 2;
        bool rendered = true;
        const FrameCost cost =
            measure(stats, [&] { rendered = session.render(timeline.timeOf(frame)); });
        if (!rendered) {
            std::fprintf(stderr, "bench: %s\n", session.error().c_str());
            return 1;
        }
        frameTimes.add(cost.frameMs);
        deviceTimes.add(cost.deviceMs);
        engineTimes.add(cost.frameMs - cost.deviceMs);
        drawCounts.add(static_cast<double>(cost.draws));
        lateCreations += frame >= 2 ? cost.creations : 0;
        passClock.endFrame();
    }
    stats.passes = nullptr;
    stats.tellCreations = false;
    passClock.print(out);
    std::fprintf(out, "renderer %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::fprintf(out, "frames %lld\n",
                 static_cast<long long>((frames + settings.stride - 1) / settings.stride));
    std::fprintf(out, "startup_ms %.1f\n", millisecondsBetween(start, started));
    std::fprintf(out, "loading_ms %.1f\n",
                 millisecondsBetween(direct3D->deviceCreatedAt(), started));
    printStatistics(out, "frame", frameTimes);
    printStatistics(out, "engine", engineTimes);
    printStatistics(out, "device", deviceTimes);
    std::fprintf(out, "created_after_second_frame %lld\n", static_cast<long long>(lateCreations));

    // The floor, on the same device, after the show so that its targets come from a warm pool.
    const int passes = static_cast<int>(drawCounts.median());
    FrameStatistics floorTimes;
    {
        FrameGrabber finish(*kelvo::GraphicsContext::instance().device, settings.width,
                            settings.height, false);
        FloorFrame floor(*kelvo::GraphicsContext::instance().device, finish);
        const std::int64_t floorFrames = std::min<std::int64_t>(frames, 600);
        for (std::int64_t frame = 0; frame < floorFrames + 2; ++frame) {
            const FrameCost cost = measure(stats, [&] { floor.render(passes); });
            if (frame >= 2) {
                floorTimes.add(cost.frameMs);
            }
        }
    }
    std::fprintf(out, "passes %d\n", passes);
    printStatistics(out, "floor", floorTimes);
    std::fprintf(out, "peak_rss_mb %.1f\n", peakResidentMegabytes());
    session.shutDown();
    return 0;
}
