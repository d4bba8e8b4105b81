#include "platform/os/DialogKey.h"

namespace os {

std::optional<DialogKey> dialogKeyOf(const SDL_Event& event) {
    if (event.type != SDL_KEYDOWN) {
        return std::nullopt;
    }
    switch (event.key.keysym.sym) {
        case SDLK_TAB:
            return (event.key.keysym.mod & KMOD_SHIFT) != 0 ? DialogKey::backTab : DialogKey::tab;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return DialogKey::enter;
        case SDLK_SPACE:
            return DialogKey::space;
        case SDLK_ESCAPE:
            return DialogKey::escape;
        case SDLK_UP:
            return DialogKey::up;
        case SDLK_DOWN:
            return DialogKey::down;
        case SDLK_HOME:
            return DialogKey::home;
        case SDLK_END:
            return DialogKey::end;
        case SDLK_PAGEUP:
            return DialogKey::pageUp;
        case SDLK_PAGEDOWN:
            return DialogKey::pageDown;
        default:
            return std::nullopt;
    }
}

}  // namespace os
