// The keys a small settings dialog acts on: moving between its controls, pressing them, moving
// through a list and cancelling. Every other key is of no interest to it.
#pragma once

#include <SDL2/SDL_events.h>

#include <optional>

namespace os {

enum class DialogKey { tab, backTab, enter, space, escape, up, down, home, end, pageUp, pageDown };

// The dialog key of a key-down event; none for key releases and for every other key. Shift with
// Tab moves backwards; the keypad's Enter counts as Return.
std::optional<DialogKey> dialogKeyOf(const SDL_Event& event);

}  // namespace os
