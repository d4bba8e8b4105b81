// The start-up dialog's toolkit: a small SDL window of its own with an OpenGL context and a
// Dear ImGui context, drawn with ImGui's SDL2 and OpenGL3 backends. The caller draws its
// controls with ImGui between beginFrame() and endFrame().
//
// The window is separate from the render window: it is opened and destroyed before that one
// exists, and on destruction it leaves no GL context current, no GL attribute changed and no
// event of its own in SDL's queue, so nothing of it reaches the render window. ImGui keeps no
// settings file and its own keyboard navigation stays off: the dialog handles its keys itself.
#pragma once

#include <SDL2/SDL_video.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/os/IDialogEventListener.h"

struct ImGuiContext;

namespace os {

class DialogWindow {
public:
    struct Settings {
        std::string title;
        // Position and size of the client area, in screen pixels.
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
    };

    struct Opening {
        // Null when there is no display or the window or its context could not be made;
        // `error` then says why.
        std::unique_ptr<DialogWindow> window;
        std::string error;
    };

    // Starts the video system when needed.
    static Opening open(const Settings& settings);

    ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Drains SDL's queue: every event goes to ImGui (mouse, focus); the dialog keys and a close
    // request of this window or of the program also go to the listener.
    void pumpEvents(IDialogEventListener& listener);

    void beginFrame();
    // Draws the frame and shows it.
    void endFrame();

    std::uint32_t id() const;

private:
    DialogWindow(SDL_Window* window, SDL_GLContext context, ImGuiContext* imgui);

    SDL_Window* window_;
    SDL_GLContext context_;
    ImGuiContext* imgui_;
};

}  // namespace os
