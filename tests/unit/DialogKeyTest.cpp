// Which SDL key events the start-up dialog acts on: key-downs only, so the release of the key
// that ended the dialog cannot act a second time.
#include <gtest/gtest.h>

#include "platform/os/DialogKey.h"

namespace {

SDL_Event keyEvent(Uint32 type, SDL_Keycode key, Uint16 mod = KMOD_NONE) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mod;
    return event;
}

TEST(DialogKey, OnlyKeyDownsOfTheDialogsKeysCount) {
    using os::DialogKey;
    EXPECT_EQ(os::dialogKeyOf(keyEvent(SDL_KEYDOWN, SDLK_TAB)), DialogKey::tab);
    EXPECT_EQ(os::dialogKeyOf(keyEvent(SDL_KEYDOWN, SDLK_TAB, KMOD_RSHIFT)), DialogKey::backTab);
    EXPECT_EQ(os::dialogKeyOf(keyEvent(SDL_KEYDOWN, SDLK_KP_ENTER)), DialogKey::enter);
    EXPECT_FALSE(os::dialogKeyOf(keyEvent(SDL_KEYUP, SDLK_RETURN)));
    EXPECT_FALSE(os::dialogKeyOf(keyEvent(SDL_KEYUP, SDLK_ESCAPE)));
    EXPECT_FALSE(os::dialogKeyOf(keyEvent(SDL_KEYDOWN, SDLK_LSHIFT)));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_FALSE(os::dialogKeyOf(quit));
}

}  // namespace
