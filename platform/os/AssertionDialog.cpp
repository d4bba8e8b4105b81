#include "platform/os/AssertionDialog.h"

#include <SDL.h>

#include <iterator>

#include "platform/os/MessageBox.h"

namespace os {

namespace {

enum ButtonId { kAbortButton = 1, kContinueButton = 2 };

// Escape ends the show everywhere else, so here it aborts; Return goes on.
constexpr SDL_MessageBoxButtonData kButtons[] = {
    {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kAbortButton, "Abort"},
    {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kContinueButton, "Continue"},
};

SDL_Window* fullscreenWindowWithFocus() {
    SDL_Window* window = SDL_GetKeyboardFocus();
    if (window == nullptr || (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) == 0) {
        return nullptr;
    }
    return window;
}

}  // namespace

AssertionAction AssertionDialog::ask(const std::string& report) {
    if (!canShowDialog()) {
        return AssertionAction::Continue;
    }
    SDL_Window* fullscreen = fullscreenWindowWithFocus();
    if (fullscreen != nullptr) {
        SDL_SetWindowFullscreen(fullscreen, 0);
    }
    const SDL_MessageBoxData box{SDL_MESSAGEBOX_ERROR,
                                 SDL_GetKeyboardFocus(),
                                 "Run-time assertion",
                                 report.c_str(),
                                 static_cast<int>(std::size(kButtons)),
                                 kButtons,
                                 nullptr};
    int pressed = kContinueButton;
    // A box that cannot be shown leaves the standard-error line as the report.
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
        pressed = kContinueButton;
    }
    if (pressed == kAbortButton) {
        return AssertionAction::Abort;
    }
    if (fullscreen != nullptr) {
        SDL_SetWindowFullscreen(fullscreen, SDL_WINDOW_FULLSCREEN);
    }
    return AssertionAction::Continue;
}

}  // namespace os
