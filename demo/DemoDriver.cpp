#include "demo/DemoDriver.h"

#include <cstdio>

#include "demo/Loading.h"
#include "demo/MusicClockGlobals.h"
#include "demo/StartupDialog.h"
#include "gfx/EffectHandler.h"
#include "gfx/GraphicsContext.h"
#include "platform/os/MessageBox.h"
#include "platform/os/QuitRequest.h"
#include "platform/os/SystemClock.h"

IDirect3D9* DemoDriver::defaultDirect3D() {
    return Direct3DCreate9(D3D_SDK_VERSION);
}

DemoDriver::DemoDriver(Options options) : options_(std::move(options)) {}

DemoDriver::~DemoDriver() {
    shutDown();
}

bool DemoDriver::startUp() {
    window_ = std::make_unique<D3DWindow>();
    // Said once, before the Direct3D object would fail on the same missing display.
    if (options_.askUser && !startupDisplayAvailable()) {
        return false;
    }
    window_->adoptDirect3D(options_.createDirect3D());
    g_window = window_.get();

    WindowConfig config = options_.config;
    if (options_.askUser) {
        const StartupChoice choice =
            runStartupDialog(window_->direct3D(), config, options_.startup);
        if (choice != StartupChoice::start) {
            cancelled_ = choice == StartupChoice::cancel;
            refused_ = choice == StartupChoice::refused;
            return false;
        }
    }
    if (!window_->create(config) || (options_.clock == nullptr && !openMusic())) {
        return false;
    }
    if (g_spectrum == nullptr) {
        g_spectrum = new float[FrameLoop::kSpectrumBins]();
    }
    runLoading();

    IDirect3DDevice9* device = kelvo::GraphicsContext::instance().device;
    IMusicClock& clock = startMusic();
    loop_.emplace(*device, *window_, clock, frameContent(), g_spectrum);
    loop_->setAvOffsetMs(options_.avOffsetMs);
    loop_->start();
    return true;
}

// A show without its music has no clock to run on. A missing file is reported like any other
// missing data file; one that is there but does not decode is named with the decoder's reason.
bool DemoDriver::openMusic() {
    std::string reason;
    sound::SoundResult result = sound::SoundResult::Ok;
    track_ = sound::DecodedTrack::decode(options_.musicFile, &result, &reason);
    if (track_) {
        result = music_.open(track_);
    }
    if (result == sound::SoundResult::Ok) {
        return true;
    }
    if (result == sound::SoundResult::FileNotFound) {
        std::fprintf(stderr, "data file not found: \"%s\"\n", options_.musicFile.c_str());
        os::showMessageBox("Couldn't open file!", "error");
    } else {
        os::showMessageBox("Couldn't decode " + options_.musicFile + ": " + reason, "error");
    }
    os::postQuitMessage(0);
    return false;
}

IMusicClock& DemoDriver::startMusic() {
    if (options_.clock != nullptr) {
        return *options_.clock;
    }
    music_.play();
    clock_.emplace(music_, track_, options_.avOffsetMs);
    return *clock_;
}

IFrameContent& DemoDriver::frameContent() {
    IFrameContent* content = loadedFrameContent();
    return content != nullptr ? *content : emptyContent_;
}

void DemoDriver::runFrames() {
    if (loop_) {
        loop_->run();
    }
}

void DemoDriver::shutDown() {
    if (shutDown_) {
        return;
    }
    shutDown_ = true;
    loop_.reset();
    // Kept, the content's buffers would hold the device past its release: the device, its GL
    // contexts and their windows would never go, and a second start-up in the same process
    // (offline capture sessions) would leave the whole previous production behind.
    releaseLoadedContent();
    kelvo::EffectHandler::destroyInstance();
    kelvo::GraphicsContext::instance().release();
    window_.reset();
    g_window = nullptr;
}

int DemoDriver::run() {
    if (!startUp()) {
        shutDown();
        return cancelled_ ? 0 : refused_ ? kBadOptionsExitCode : kFailedExitCode;
    }
    const std::uint32_t startMs = os::SystemClock::milliseconds();
    runFrames();
    const std::uint32_t elapsedMs = os::SystemClock::milliseconds() - startMs;
    const std::uint64_t frames = loop_->frameCount();
    shutDown();
    printFrameRate(frames, elapsedMs);
    return 0;
}

// Printed after shutdown, so the line also says that the shutdown sequence went through.
void DemoDriver::printFrameRate(std::uint64_t frameCount, std::uint32_t elapsedMs) {
    const auto frames = static_cast<unsigned long long>(frameCount);
    const double seconds = elapsedMs / 1000.0;
    const double rate = seconds > 0.0 ? static_cast<double>(frames) / seconds : 0.0;
    std::printf("vornasto: %llu frames in %.1f s, %.1f frames per second\n", frames, seconds, rate);
    std::fflush(stdout);
}
