#include "tools/soak/SoakRun.h"

#include <chrono>
#include <fstream>
#include <vector>

#include "tools/bench/show/DeviceCallStats.h"
#include "tools/bench/show/TimingDirect3D.h"
#include "tools/capture/CaptureSession.h"
#include "tools/capture/FrameTimeline.h"
#include "tools/soak/MemoryTrend.h"
#include "tools/soak/ResidentMemory.h"

namespace {

double megabytes(std::int64_t kb) {
    return static_cast<double>(kb) / 1024.0;
}

struct Watch {
    explicit Watch(double warmupSeconds)
        : resident("resident memory", warmupSeconds),
          heap("the allocator's memory in use", warmupSeconds) {}

    MemoryTrend resident;
    MemoryTrend heap;
    std::int64_t lateCreations = 0;
};

// Renders every frame of every lap, sampling memory at each new whole second of the run.
bool renderLaps(const SoakSettings& settings, CaptureSession& session, DeviceCallStats& stats,
                Watch& watch) {
    const FrameTimeline timeline(settings.fps);
    const std::int64_t lapFrames = timeline.firstFrameAtOrAfter(settings.to);
    std::int64_t nextSecond = 0;
    for (std::int64_t frame = 0; frame < lapFrames * settings.laps; ++frame) {
        stats.tellCreations = frame >= 2;
        const std::int64_t before = stats.creations.load();
        if (!session.render(timeline.timeOf(frame % lapFrames))) {
            return false;
        }
        watch.lateCreations += frame >= 2 ? stats.creations.load() - before : 0;
        // Seconds over all laps, as if the laps were one long show.
        const Rational elapsed = timeline.timeOf(frame);
        if (elapsed.floorTimes(1) >= nextSecond) {
            const ResidentMemory memory = ResidentMemory::ofThisProcess();
            watch.resident.add(elapsed.toDouble(), memory.residentKb);
            watch.heap.add(elapsed.toDouble(), memory.heapInUseKb);
            nextSecond = elapsed.floorTimes(1) + 1;
        }
    }
    stats.tellCreations = false;
    return true;
}

void printTrend(std::FILE* out, const char* key, const MemoryTrend& trend) {
    std::fprintf(out, "%s_mb_at_warmup_end %.1f\n", key, megabytes(trend.atWarmupEnd()));
    std::fprintf(out, "%s_mb_last %.1f\n", key, megabytes(trend.last()));
    std::fprintf(out, "%s_mb_lowest_after_warmup %.1f\n", key, megabytes(trend.lowest()));
    std::fprintf(out, "%s_mb_highest_after_warmup %.1f\n", key, megabytes(trend.highest()));
}

void writeTrace(const std::string& file, const Watch& watch) {
    std::ofstream trace(file);
    const auto& resident = watch.resident.samples();
    const auto& heap = watch.heap.samples();
    for (std::size_t i = 0; i < resident.size(); ++i) {
        trace << resident[i].seconds << ' ' << resident[i].kb << ' ' << heap[i].kb << '\n';
    }
}

std::vector<std::string> failures(const SoakSettings& settings, const Watch& watch) {
    std::vector<std::string> reasons;
    if (watch.lateCreations != 0) {
        reasons.push_back(std::to_string(watch.lateCreations) +
                          " device resources were created after the second frame");
    }
    for (std::string reason : {watch.resident.verdict(settings.residentToleranceKb),
                               watch.heap.verdict(settings.heapToleranceKb)}) {
        if (!reason.empty()) {
            reasons.push_back(std::move(reason));
        }
    }
    return reasons;
}

}  // namespace

int runSoak(const SoakSettings& settings, std::FILE* out) {
    // Declared before the session: its devices count into these until it shuts down.
    DeviceCallStats stats;
    CaptureSession::Setup setup;
    setup.width = settings.width;
    setup.height = settings.height;
    setup.createDirect3D = [&stats]() -> IDirect3D9* {
        IDirect3D9* inner = Direct3DCreate9(D3D_SDK_VERSION);
        return inner != nullptr ? new TimingDirect3D(inner, stats) : nullptr;
    };
    CaptureSession session(setup);
    const auto start = std::chrono::steady_clock::now();
    if (!session.start()) {
        std::fprintf(stderr, "soak: %s\n", session.error().c_str());
        return 1;
    }
    const std::int64_t startupKb = ResidentMemory::ofThisProcess().residentKb;
    Watch watch(settings.warmupSeconds);
    if (!renderLaps(settings, session, stats, watch)) {
        std::fprintf(stderr, "soak: %s\n", session.error().c_str());
        return 1;
    }
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;

    std::fprintf(out, "frames %llu\n",
                 static_cast<unsigned long long>(session.grabber().grabbed()));
    std::fprintf(out, "wall_s %.1f\n", wall.count());
    std::fprintf(out, "rss_mb_after_startup %.1f\n", megabytes(startupKb));
    printTrend(out, "rss", watch.resident);
    printTrend(out, "heap", watch.heap);
    std::fprintf(out, "peak_rss_mb %.1f\n", megabytes(ResidentMemory::ofThisProcess().peakKb));
    std::fprintf(out, "created_after_second_frame %lld\n",
                 static_cast<long long>(watch.lateCreations));
    std::fflush(out);
    if (!settings.traceFile.empty()) {
        writeTrace(settings.traceFile, watch);
    }
    session.shutDown();

    const std::vector<std::string> reasons = failures(settings, watch);
    for (const std::string& reason : reasons) {
        std::fprintf(stderr, "soak: %s\n", reason.c_str());
    }
    return reasons.empty() ? 0 : 1;
}
