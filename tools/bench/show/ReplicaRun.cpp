#include "tools/bench/show/ReplicaRun.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gfx/GraphicsContext.h"
#include "tools/bench/show/DeviceCallStats.h"
#include "tools/bench/show/FloorFrame.h"
#include "tools/bench/show/FrameStatistics.h"
#include "tools/bench/show/GLFrameTrace.h"
#include "tools/bench/show/PassClock.h"
#include "tools/bench/show/ReplicaFrame.h"
#include "tools/bench/show/TimingDirect3D.h"
#include "tools/capture/CaptureSession.h"

namespace {

using Clock = std::chrono::steady_clock;

// The golden frames' times: every part of the show, its tube, model, logo, text and fade.
constexpr double kKeyTimes[] = {10.0, 28.0, 40.0, 56.0, 62.0, 75.0, 90.0, 100.0, 112.0, 116.0};
// The show's median number of draws per frame, as the plain benchmark finds it.
constexpr int kFloorPasses = 6;

// Device and replica times of the same frames, paired.
struct Pairs {
    FrameStatistics device, replica, ratio;

    void add(double d, double r) {
        device.add(d);
        replica.add(r);
        ratio.add(r > 0 ? d / r : 0.0);
    }
    void print(std::FILE* out, const std::string& key) const {
        std::fprintf(out, "%s %.3f|%.3f|%.2f|%.2f|%.2f|%zu\n", key.c_str(), device.median(),
                     replica.median(), ratio.median(), ratio.percentile(10.0),
                     ratio.percentile(90.0), ratio.count());
    }
};

double since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Bytes of the replica's read-back that differ from the device's, and the largest difference.
std::pair<std::size_t, int> agreement(const ReplicaFrame& replica) {
    const auto& a = replica.pixels();
    const auto& b = replica.devicePixels();
    if (a.size() != b.size()) {
        return {std::max(a.size(), b.size()), 255};
    }
    std::size_t differing = 0;
    int largest = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const int d = std::abs(int{a[i]} - int{b[i]});
        differing += d != 0 ? 1 : 0;
        largest = std::max(largest, d);
    }
    return {differing, largest};
}

class ReplicaBench {
public:
    ReplicaBench(const ReplicaRunSettings& settings, DeviceCallStats& stats)
        : settings_(settings), stats_(stats) {}

    // Traces the frame `render` draws on the device, checks its replica's pixels, then renders
    // both `rounds` times; the frame times go under `group` ("frame" or "floor").
    bool measure(const std::string& name, const std::string& group,
                 const std::function<bool()>& render, std::FILE* out);
    void print(std::FILE* out) const;

private:
    std::unique_ptr<ReplicaFrame> trace(const std::function<bool()>& render);
    void round(const std::function<bool()>& render, ReplicaFrame& replica, Pairs* frames);

    ReplicaRunSettings settings_;
    // The pass-naming device's counters (pass mode only): where the per-pass clock is set.
    DeviceCallStats& stats_;
    std::map<std::string, Pairs> frames_;
    std::map<std::string, Pairs> passes_;
};

std::unique_ptr<ReplicaFrame> ReplicaBench::trace(const std::function<bool()>& render) {
    PassClock labels;
    stats_.passes = settings_.passes ? &labels : nullptr;
    GLFrameTrace tracer([&](const char* kind) { return labels.labelOf(kind); });
    const bool rendered = render();
    FrameTrace frame = tracer.finish();
    stats_.passes = nullptr;
    return rendered ? std::make_unique<ReplicaFrame>(std::move(frame)) : nullptr;
}

void ReplicaBench::round(const std::function<bool()>& render, ReplicaFrame& replica,
                         Pairs* frames) {
    PassClock deviceClock, replicaClock;
    stats_.passes = settings_.passes ? &deviceClock : nullptr;
    Clock::time_point start = Clock::now();
    render();
    const double deviceMs = since(start);
    stats_.passes = nullptr;

    replica.enter();
    start = Clock::now();
    if (settings_.passes) {
        replica.render([&](const std::string& label, const std::function<void()>& call) {
            replicaClock.timeAs(label, call);
        });
    } else {
        replica.render();
    }
    const double replicaMs = since(start);
    replica.leave();
    if (frames == nullptr) {
        return;
    }
    frames->add(deviceMs, replicaMs);
    const auto deviceLabels = deviceClock.milliseconds();
    for (const auto& [label, ms] : replicaClock.milliseconds()) {
        const auto found = deviceLabels.find(label);
        passes_[label].add(found != deviceLabels.end() ? found->second : 0.0, ms);
    }
}

bool ReplicaBench::measure(const std::string& name, const std::string& group,
                           const std::function<bool()>& render, std::FILE* out) {
    std::unique_ptr<ReplicaFrame> replica = trace(render);
    if (!replica || !replica->valid()) {
        std::fprintf(stderr, "bench: no replica of %s: %s\n", name.c_str(),
                     replica ? replica->error().c_str() : "the frame failed");
        return false;
    }
    replica->enter();
    replica->render();
    const GLenum error = glGetError();
    replica->leave();
    if (error != GL_NO_ERROR) {
        std::fprintf(stderr, "bench: the replica of %s raised GL error 0x%x\n", name.c_str(),
                     error);
        return false;
    }
    const auto [differing, largest] = agreement(*replica);
    std::fprintf(out, "replica.agree.%s %zu|%d\n", name.c_str(), differing, largest);
    // Both sides once more, so that the renderer has compiled every shader variant of both.
    round(render, *replica, nullptr);
    // The floor is one frame where the show has ten key times: it gets as many rounds.
    const int rounds = group == "floor" ? settings_.rounds * 10 : settings_.rounds;
    for (int i = 0; i < rounds; ++i) {
        round(render, *replica, &frames_[group]);
    }
    return true;
}

void ReplicaBench::print(std::FILE* out) const {
    for (const auto& [group, pairs] : frames_) {
        pairs.print(out, "replica." + group);
    }
    for (const auto& [label, pairs] : passes_) {
        pairs.print(out, "replica.pass." + label);
    }
}

}  // namespace

int runReplicaSize(const ReplicaRunSettings& settings, std::FILE* out) {
    DeviceCallStats stats;
    CaptureSession::Setup setup;
    setup.width = settings.width;
    setup.height = settings.height;
    setup.keepPixels = false;
    if (settings.passes) {
        stats.namePasses = true;
        setup.createDirect3D = [&stats]() -> IDirect3D9* {
            IDirect3D9* inner = Direct3DCreate9(D3D_SDK_VERSION);
            return inner != nullptr ? new TimingDirect3D(inner, stats) : nullptr;
        };
    }
    CaptureSession session(setup);
    if (!session.start()) {
        std::fprintf(stderr, "bench: %s\n", session.error().c_str());
        return 1;
    }
    ReplicaBench bench(settings, stats);
    for (double seconds : kKeyTimes) {
        const auto frame = static_cast<std::int64_t>(seconds * 60.0);
        // The frame before primes what the show carries from frame to frame.
        session.render(Rational{frame - 1, 60});
        char name[32];
        std::snprintf(name, sizeof name, "%.3f", seconds);
        if (!bench.measure(
                name, "frame",
                [&] {
                    return session.render(Rational{frame, 60});
                },
                out)) {
            return 1;
        }
    }
    {
        IDirect3DDevice9& device = *kelvo::GraphicsContext::instance().device;
        FrameGrabber finish(device, settings.width, settings.height, false);
        FloorFrame floor(device, finish);
        if (!bench.measure(
                "floor", "floor", [&] { return floor.render(kFloorPasses), true; }, out)) {
            return 1;
        }
    }
    bench.print(out);
    session.shutDown();
    return 0;
}
