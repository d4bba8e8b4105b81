#include "platform/os/MessageBox.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/os/MessageBoxCapture.h"
#include "platform/os/VideoSystem.h"

namespace os {

namespace {

bool isHeadlessDriver(const char* driver) {
    return driver != nullptr &&
           (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

}  // namespace

bool canShowDialog() {
    const char* driver = SDL_WasInit(SDL_INIT_VIDEO) != 0 ? SDL_GetCurrentVideoDriver()
                                                          : std::getenv("SDL_VIDEODRIVER");
    return !isHeadlessDriver(driver) && VideoSystem::sessionHasDisplay();
}

void showMessageBox(const std::string& text, const std::string& caption) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    if (MessageBoxCapture::deliver(MessageBoxRecord{caption, text})) {
        return;
    }
    if (canShowDialog()) {
        // A failed dialog leaves the standard-error line as the report.
        SDL_ShowSimpleMessageBox(0, caption.c_str(), text.c_str(), nullptr);
    }
}

}  // namespace os
