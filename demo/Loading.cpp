#include "demo/Loading.h"

#include <cmath>

#include "demo/D3DWindow.h"
#include "demo/DemoContent.h"
#include "gfx/DataFileCache.h"
#include "gfx/GraphicsContext.h"
#include "gfx/RenderUtils.h"
#include "platform/os/SystemClock.h"
#include "platform/os/WorkerThread.h"

kelvo::Texture* g_loadingImage = nullptr;
std::atomic<bool> g_loadingDone{false};

namespace {

constexpr const char* kLoadingImageFile = "data\\loading.jpg";
constexpr std::uint32_t kFrameSleepMs = 50;

void drawLoadingFrame(IDirect3DDevice9* device, std::uint32_t ms) {
    kelvo::clearColorAndDepth(0, 0, 0, 0);
    device->BeginScene();
    kelvo::drawQuadWithView(g_loadingImage, loadingImageTransform(ms));
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
}

}  // namespace

kelvo::Matrix loadingImageTransform(std::uint32_t ms) {
    const float t = static_cast<float>(static_cast<double>(ms) / 2000.0);
    const float c = std::cos(t);
    const float s = std::sin(t);
    // S(0.2) x Rz(t) x T(-0.75, -0.75, 0), multiplied out.
    return {0.2f * c, 0.2f * s, 0,    0, -0.2f * s, 0.2f * c, 0, 0,
            0,        0,        0.2f, 0, -0.75f,    -0.75f,   0, 1};
}

int loadingThreadMain(IDirect3DDevice9* device, os::MillisecondClock& clock) {
    if (g_window == nullptr || g_loadingImage == nullptr || device == nullptr ||
        g_loadingDone.load()) {
        return 0;
    }
    do {
        drawLoadingFrame(device, clock.now());
        clock.sleep(kFrameSleepMs);
    } while (!g_loadingDone.load());
    return 0;
}

int loadingThreadMain(IDirect3DDevice9* device) {
    os::SystemClock clock;
    return loadingThreadMain(device, clock);
}

void runLoadingPhase(const std::function<void()>& build, os::MillisecondClock& clock) {
    kelvo::preloadDataFile(kLoadingImageFile);
    kelvo::GraphicsContext& context = kelvo::GraphicsContext::instance();
    g_loadingImage = context.loadTexture(kLoadingImageFile);

    IDirect3DDevice9* device = context.device;
    os::WorkerThread screen;
    screen.start([device, &clock] { loadingThreadMain(device, clock); });
    build();
    g_loadingDone = true;
    // Without the join the thread's last frame could still be drawing when the frame loop
    // clears its first one.
    screen.join();
}

void runLoading() {
    os::SystemClock clock;
    runLoadingPhase([] { g_content = new DemoContent(); }, clock);
}

IFrameContent* loadedFrameContent() {
    return g_content;
}

void releaseLoadedContent() {
    delete g_content;
    g_content = nullptr;
    // The image goes with the graphics context right after this. A second start-up in the same
    // process would otherwise find loading already done and skip its loading screen.
    g_loadingImage = nullptr;
    g_loadingDone = false;
}
