#include "tools/capture/CaptureSession.h"

#include <cstdlib>

#include "gfx/GraphicsContext.h"
#include "tools/capture/RenderLimits.h"

CaptureSession::~CaptureSession() {
    shutDown();
}

bool CaptureSession::start() {
    // No window is shown and no sound is played; a caller may still choose another video driver.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    sound::SoundResult result = sound::SoundResult::Ok;
    std::string reason;
    track_ = sound::DecodedTrack::decode(setup_.musicFile, &result, &reason);
    if (result == sound::SoundResult::FileNotFound) {
        return fail("cannot read the music " + setup_.musicFile + ": " + reason +
                    " (run capture from anywhere: it looks for data/ beside itself)");
    }
    if (!track_) {
        return fail("cannot decode the music " + setup_.musicFile + ": " + reason);
    }
    clock_.emplace(track_);
    std::string problem;
    const auto limits = RenderLimits::query(setup_.createDirect3D, &problem);
    if (limits) {
        problem = limits->problemWith(setup_.width, setup_.height);
    }
    if (!problem.empty()) {
        return fail(problem);
    }

    DemoDriver::Options options;
    options.createDirect3D = setup_.createDirect3D;
    options.config.width = setup_.width;
    options.config.height = setup_.height;
    options.askUser = false;
    options.clock = &*clock_;
    driver_ = std::make_unique<DemoDriver>(options);
    if (!driver_->startUp()) {
        return fail("the show did not start (no window or no OpenGL 4.5 device; see above)");
    }
    IDirect3DDevice9* device = kelvo::GraphicsContext::instance().device;
    grabber_ =
        std::make_unique<FrameGrabber>(*device, setup_.width, setup_.height, setup_.keepPixels);
    if (!grabber_->error().empty()) {
        return fail(grabber_->error());
    }
    driver_->frameLoop()->setObserver(grabber_.get());
    return true;
}

bool CaptureSession::render(Rational seconds) {
    const std::uint64_t before = grabber_->grabbed();
    clock_->setTime(seconds);
    driver_->frameLoop()->step();
    if (grabber_->grabbed() != before + 1) {
        return fail(grabber_->error().empty() ? "a frame was not read back" : grabber_->error());
    }
    return true;
}

void CaptureSession::shutDown() {
    if (driver_ && driver_->frameLoop() != nullptr) {
        driver_->frameLoop()->setObserver(nullptr);
    }
    // The read-back surface belongs to the device: it goes before the device does.
    grabber_.reset();
    if (driver_) {
        driver_->shutDown();
    }
}

bool CaptureSession::fail(std::string message) {
    error_ = std::move(message);
    return false;
}
