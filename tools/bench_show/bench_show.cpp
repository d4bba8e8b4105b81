// bench_show [width height fps]: renders the whole show offscreen (default 640 x 360 at 10 frames
// per music second) and prints the loading time and the median and 95th-percentile frame times.
// Each frame is read back, so the time includes finishing the GPU work, as a presented frame
// would. The reference, measured in the same run, is the read-back alone: the floor of the
// method.
// Run it from the build tree so that data/ is found.
#include <SDL2/SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "demo/OffscreenShow.h"
#include "platform/os/AssertionCapture.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

std::vector<double> timeFrames(OffscreenShow& show, std::uint32_t stepMs, std::uint32_t endMs,
                               bool render) {
    std::vector<double> times;
    for (std::uint32_t ms = 0; ms < endMs; ms += stepMs) {
        const Clock::time_point start = Clock::now();
        if (render) {
            show.renderFrame(ms);
        }
        show.readBackBuffer();
        times.push_back(msSince(start));
    }
    return times;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    const int width = argc > 2 ? std::atoi(argv[1]) : 640;
    const int height = argc > 2 ? std::atoi(argv[2]) : 360;
    const int fps = argc > 3 ? std::max(1, std::atoi(argv[3])) : 10;
    const auto stepMs = static_cast<std::uint32_t>(1000 / fps);
    constexpr std::uint32_t kShowMs = 126000;

    os::AssertionCapture reports;
    OffscreenShow show(width, height);
    if (!show.ready()) {
        std::fprintf(stderr, "bench_show: no device\n");
        return 1;
    }
    const Clock::time_point loadStart = Clock::now();
    show.load();
    const double loadMs = msSince(loadStart);

    const std::vector<double> frames = timeFrames(show, stepMs, kShowMs, true);
    const std::vector<double> readBacks = timeFrames(show, stepMs * 10, kShowMs, false);
    std::printf("show %dx%d, %zu frames (every %u ms of music)\n", width, height, frames.size(),
                stepMs);
    std::printf("loading            %8.1f ms\n", loadMs);
    std::printf("frame median       %8.2f ms\n", percentile(frames, 0.5));
    std::printf("frame 95th pct     %8.2f ms\n", percentile(frames, 0.95));
    std::printf("frame max          %8.2f ms\n", percentile(frames, 1.0));
    std::printf("read-back median   %8.2f ms (reference)\n", percentile(readBacks, 0.5));
    std::printf("failure reports    %8zu\n", reports.count());
    return reports.count() == 0 ? 0 : 2;
}
