#include "demo/DemoDriver.h"

#include "demo/Loading.h"
#include "demo/MusicClockGlobals.h"
#include "demo/StartupDialog.h"
#include "gfx/EffectHandler.h"
#include "gfx/GraphicsContext.h"
#include "platform/os/MessageBox.h"
#include "platform/os/QuitRequest.h"

IDirect3D9* DemoDriver::defaultDirect3D() {
    return Direct3DCreate9(D3D_SDK_VERSION);
}

DemoDriver::DemoDriver(Options options) : options_(std::move(options)) {}

DemoDriver::~DemoDriver() {
    shutDown();
}

bool DemoDriver::startUp() {
    window_ = std::make_unique<D3DWindow>();
    window_->adoptDirect3D(options_.createDirect3D());
    g_window = window_.get();

    WindowConfig config = options_.config;
    if (options_.askUser &&
        runStartupDialog(window_->direct3D(), config) == StartupChoice::cancel) {
        return false;
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
    loop_->start();
    return true;
}

// A show without its music has no clock to run on: treated like any other missing data file.
bool DemoDriver::openMusic() {
    if (music_.open(options_.musicFile) == sound::SoundResult::Ok) {
        return true;
    }
    os::showMessageBox("Couldn't open file!", "error");
    os::postQuitMessage(0);
    return false;
}

IMusicClock& DemoDriver::startMusic() {
    if (options_.clock != nullptr) {
        return *options_.clock;
    }
    music_.play();
    clock_.emplace(music_);
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
    kelvo::EffectHandler::destroyInstance();
    kelvo::GraphicsContext::instance().release();
    window_.reset();
    g_window = nullptr;
}

int DemoDriver::run() {
    if (startUp()) {
        runFrames();
    }
    shutDown();
    return 0;
}
