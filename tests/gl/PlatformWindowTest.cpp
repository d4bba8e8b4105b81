// The render window's operating-system side under SDL's offscreen video driver.
#include "platform/os/DisplayModes.h"
#include "platform/os/PlatformWindow.h"
#include "platform/os/VideoSystem.h"
#include "platform/os/WindowEventPump.h"

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

namespace {

struct QuitFlag final : os::IWindowEventListener {
    bool quit = false;
    int escapes = 0;
    int closes = 0;
    void onEscapePressed() override {
        ++escapes;
        quit = true;
    }
    void onCloseRequested() override {
        ++closes;
        quit = true;
    }
};

os::PlatformWindow::Opening openWindowed() {
    return os::PlatformWindow::open({"window test", 320, 180, false});
}

void push(SDL_Event event) {
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

void pushKey(SDL_Keycode sym, std::uint32_t windowId, Uint32 type = SDL_KEYDOWN) {
    SDL_Event e{};
    e.type = type;
    e.key.windowID = windowId;
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = sym;
    push(e);
}

void pushClose(std::uint32_t windowId) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    e.window.windowID = windowId;
    push(e);
}

TEST(PlatformWindow, OpensWindowedWithAHandleAndHoldsOffTheScreenSaver) {
    std::string error;
    ASSERT_TRUE(os::VideoSystem::start(&error)) << error;
    ASSERT_TRUE(os::VideoSystem::start()) << "a second start is harmless";

    auto opening = openWindowed();
    ASSERT_TRUE(opening.window) << opening.error;
    EXPECT_FALSE(opening.fullscreenRefused);
    EXPECT_NE(opening.window->hwnd(), nullptr);
    EXPECT_EQ(reinterpret_cast<SDL_Window*>(opening.window->hwnd()), opening.window->sdlWindow());
    EXPECT_TRUE(SDL_GetWindowFlags(opening.window->sdlWindow()) & SDL_WINDOW_OPENGL);
    EXPECT_FALSE(opening.window->isFullscreen());
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_FALSE(SDL_IsScreenSaverEnabled());

    opening.window->minimise();  // must not destroy the window
    EXPECT_EQ(SDL_GetWindowFromID(opening.window->id()), opening.window->sdlWindow());

    opening.window.reset();
    EXPECT_TRUE(SDL_IsScreenSaverEnabled());
}

TEST(PlatformWindow, ImpossibleFullscreenModeFallsBackToWindowed) {
    auto opening = os::PlatformWindow::open({"window test", 12345, 678, true});
    ASSERT_TRUE(opening.window) << opening.error;
    EXPECT_TRUE(opening.fullscreenRefused);
    EXPECT_FALSE(opening.window->isFullscreen());
}

TEST(PlatformWindow, FullscreenInTheDesktopModeIsAccepted) {
    ASSERT_TRUE(os::VideoSystem::start());
    SDL_DisplayMode desktop{};
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0) << SDL_GetError();
    auto opening = os::PlatformWindow::open({"window test", desktop.w, desktop.h, true});
    ASSERT_TRUE(opening.window) << opening.error;
    EXPECT_FALSE(opening.fullscreenRefused);
    EXPECT_TRUE(opening.window->isFullscreen());
}

TEST(PlatformWindow, NoVideoDriverIsAClearErrorAndALaterStartStillWorks) {
    if (os::VideoSystem::started()) {
        GTEST_SKIP() << "video already started in this process";
    }
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "no-such-driver", SDL_HINT_OVERRIDE);
    std::string error;
    EXPECT_FALSE(os::VideoSystem::start(&error));
    EXPECT_EQ(error.rfind("no display available: ", 0), 0u) << error;
    auto opening = openWindowed();
    EXPECT_FALSE(opening.window);
    EXPECT_EQ(opening.error.rfind("no display available: ", 0), 0u) << opening.error;
    EXPECT_TRUE(os::primaryDisplayModes().empty());

    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
    EXPECT_TRUE(os::VideoSystem::start(&error)) << error;
    EXPECT_TRUE(openWindowed().window);
}

TEST(WindowEventPump, EscapeAndCloseSetTheQuitFlagOtherEventsDoNot) {
    auto opening = openWindowed();
    ASSERT_TRUE(opening.window) << opening.error;
    const std::uint32_t id = opening.window->id();
    os::WindowEventPump pump(id);
    QuitFlag flag;
    pump.pump(flag);  // whatever showing the window queued

    pushKey(SDLK_SPACE, id);
    pushKey(SDLK_RETURN, id);
    pushKey(SDLK_ESCAPE, id, SDL_KEYUP);
    pushClose(id + 100);  // another window's close is not ours
    EXPECT_EQ(pump.pump(flag), 0);
    EXPECT_FALSE(flag.quit);

    pushKey(SDLK_ESCAPE, id);
    EXPECT_EQ(pump.pump(flag), 1);
    EXPECT_TRUE(flag.quit);
    EXPECT_EQ(flag.escapes, 1);

    QuitFlag closing;
    pushClose(id);
    EXPECT_EQ(pump.pump(closing), 1);
    EXPECT_TRUE(closing.quit);
    EXPECT_EQ(closing.closes, 1);
    EXPECT_EQ(pump.pump(closing), 0) << "the queue was drained";

    QuitFlag ending;
    SDL_Event quit{};
    quit.type = SDL_QUIT;  // the last window closed, or the process was told to end
    push(quit);
    EXPECT_EQ(pump.pump(ending), 1);
    EXPECT_EQ(ending.closes, 1);
}

}  // namespace
