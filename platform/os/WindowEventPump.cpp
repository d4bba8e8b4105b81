#include "platform/os/WindowEventPump.h"

namespace os {

WindowSignal WindowEventPump::classify(const SDL_Event& event, std::uint32_t windowId) {
    switch (event.type) {
        case SDL_KEYDOWN:
            return event.key.keysym.sym == SDLK_ESCAPE ? WindowSignal::escape : WindowSignal::none;
        case SDL_WINDOWEVENT:
            return event.window.event == SDL_WINDOWEVENT_CLOSE && event.window.windowID == windowId
                       ? WindowSignal::close
                       : WindowSignal::none;
        case SDL_QUIT:
            return WindowSignal::close;
        default:
            return WindowSignal::none;
    }
}

int WindowEventPump::pump(IWindowEventListener& listener) const {
    int delivered = 0;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (classify(event, windowId_)) {
            case WindowSignal::escape:
                listener.onEscapePressed();
                ++delivered;
                break;
            case WindowSignal::close:
                listener.onCloseRequested();
                ++delivered;
                break;
            case WindowSignal::none:
                break;
        }
    }
    return delivered;
}

}  // namespace os
