// What the frame loop needs of the render window: its configuration (for the letterbox), the
// quit flag that keeps the loop running, the end of the show and the per-frame event pump.
#pragma once

#include "demo/WindowConfig.h"

class IFrameWindow {
public:
    virtual ~IFrameWindow() = default;

    virtual const WindowConfig& config() const = 0;
    // The loop runs while this is false; it is read once at the top of every frame.
    virtual bool quitRequested() const = 0;
    // The show is over: minimise the window and set the quit flag.
    virtual void closeWindow() = 0;
    // Delivers the waiting window events; Escape and a close request set the quit flag.
    virtual void pumpEvents() = 0;
};
