// The frame loop's message pump: drains SDL's event queue once per frame and hands the render
// window the two events it acts on, Escape and a close request. Every other event is dropped.
//
// Screen-saver and monitor power-off requests never arrive here: PlatformWindow holds them off
// for as long as it exists. SDL delivers events only to the thread that created the window, so
// only the main thread may pump; the loading thread has no queue of its own to serve.
#pragma once

#include "platform/os/IWindowEventListener.h"

#include <SDL2/SDL_events.h>

#include <cstdint>

namespace os {

enum class WindowSignal { none, escape, close };

class WindowEventPump {
public:
    // `windowId` is PlatformWindow::id() of the render window.
    explicit WindowEventPump(std::uint32_t windowId) : windowId_(windowId) {}

    // Drains every waiting event; returns how many of them reached the listener.
    int pump(IWindowEventListener& listener) const;

    // What one event means to the window `windowId`: a close of another window is not ours,
    // while SDL_QUIT (the last window closed, or the process was told to end) always is.
    static WindowSignal classify(const SDL_Event& event, std::uint32_t windowId);

private:
    std::uint32_t windowId_;
};

}  // namespace os
