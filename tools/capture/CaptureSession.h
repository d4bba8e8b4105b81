// The show running offline: the real driver's start-up (window on SDL's offscreen video driver,
// device, loading) without the start-up dialog and without the music stream, then the real frame
// loop, one step per frame, on an OfflineMusicClock set to the frame's time. Every step is read
// back by a FrameGrabber before the present. Only the clock and the output differ from the
// program; the frame itself is the program's.
//
// The start-up first asks the renderer for its largest picture (RenderLimits) and refuses a size
// beyond it. The start-up and the frames report their failures through error(); render() fails
// rather than pass on a frame that was not read back.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "demo/DemoDriver.h"
#include "tools/capture/FrameGrabber.h"
#include "tools/capture/IFrameSource.h"
#include "tools/capture/OfflineMusicClock.h"
#include "tools/capture/Rational.h"

class CaptureSession final : public IFrameSource {
public:
    struct Setup {
        int width = 1280;
        int height = 720;
        std::string musicFile = "data/vorx.mp3";
        DemoDriver::Direct3DFactory createDirect3D = &DemoDriver::defaultDirect3D;
        // False: frames are finished on the GPU but their pixels are not copied out.
        bool keepPixels = true;
    };

    explicit CaptureSession(Setup setup) : setup_(std::move(setup)) {}
    // Shuts the driver down if it started.
    ~CaptureSession() override;
    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    // Decodes the music and starts the driver. False, with error(), when either fails.
    bool start();
    // One frame of the frame loop at this music time, read back. False, with error(), when the
    // frame could not be read back.
    bool render(Rational seconds) override;
    void shutDown();

    const FrameGrabber& grabber() const { return *grabber_; }
    std::span<const std::uint8_t> bgrx() const override { return grabber_->bgrx(); }
    const sound::DecodedTrack& track() const { return clock_->track(); }
    std::shared_ptr<const sound::DecodedTrack> sharedTrack() const { return track_; }
    DemoDriver& driver() { return *driver_; }
    const std::string& error() const override { return error_; }

private:
    bool fail(std::string message);

    Setup setup_;
    std::shared_ptr<const sound::DecodedTrack> track_;
    std::optional<OfflineMusicClock> clock_;
    std::unique_ptr<DemoDriver> driver_;
    std::unique_ptr<FrameGrabber> grabber_;
    std::string error_;
};
