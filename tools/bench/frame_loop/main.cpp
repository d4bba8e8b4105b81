// Runs the real driver offscreen and measures:
//   - start-up time: from constructing the driver to the first frame presented;
//   - the frame loop's cost per frame with empty content (wall and main-thread CPU time), beside
//     the reference of a bare frame on the same device: one clear and one present;
//   - heap allocations per frame of both, counted by a replaced operator new.
//
// Usage: frame_loop_bench [FRAMES=300]. Run it from the build folder (data/ is looked up there).
// SDL_VIDEODRIVER and SDL_AUDIODRIVER default to offscreen and dummy.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>

#include "demo/DemoDriver.h"
#include "gfx/GraphicsContext.h"

namespace {

std::atomic<long> g_allocations{0};

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double wallSeconds() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

struct Sample {
    double wallMs = 0;
    double cpuMs = 0;
    double allocations = 0;
};

template <typename Frame>
Sample measure(int frames, Frame frame) {
    const double wall = wallSeconds();
    const double cpu = threadCpuSeconds();
    const long allocations = g_allocations.load();
    for (int i = 0; i < frames; ++i) {
        frame();
    }
    return {(wallSeconds() - wall) * 1000.0 / frames, (threadCpuSeconds() - cpu) * 1000.0 / frames,
            static_cast<double>(g_allocations.load() - allocations) / frames};
}

void print(const char* name, const Sample& sample) {
    std::printf("%-28s %8.3f ms wall  %8.3f ms cpu  %6.2f allocations per frame\n", name,
                sample.wallMs, sample.cpuMs, sample.allocations);
}

}  // namespace

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const int frames = argc > 1 ? std::atoi(argv[1]) : 300;

    const double start = wallSeconds();
    DemoDriver::Options options;
    options.askUser = false;
    DemoDriver driver(options);
    if (!driver.startUp()) {
        std::fprintf(stderr, "start-up failed\n");
        return 1;
    }
    const double startedUp = wallSeconds();
    driver.frameLoop()->step();
    const double firstFrame = wallSeconds();
    std::printf("start-up %.1f ms, first frame presented after %.1f ms\n",
                (startedUp - start) * 1000.0, (firstFrame - start) * 1000.0);

    IDirect3DDevice9* device = kelvo::GraphicsContext::instance().device;
    // Warm both paths up so that first-use work of the device does not count.
    measure(20, [&] { driver.frameLoop()->step(); });
    measure(20, [&] {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
        device->Present(nullptr, nullptr, nullptr, nullptr);
    });
    const Sample bare = measure(frames, [&] {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
        device->Present(nullptr, nullptr, nullptr, nullptr);
    });
    const Sample loop = measure(frames, [&] { driver.frameLoop()->step(); });
    std::printf("%d frames at 640 x 360 on %s\n", frames, std::getenv("SDL_VIDEODRIVER"));
    print("reference: clear + present", bare);
    print("frame loop, empty content", loop);
    std::printf("frame loop's own share: %.3f ms cpu, %.2f allocations per frame\n",
                loop.cpuMs - bare.cpuMs, loop.allocations - bare.allocations);
    driver.shutDown();
    return 0;
}
