// The browser program's entry points, called by the page (web/shell.html): main() does nothing
// until the start button (or the test) calls kelvoStart; the browser then runs the frames.
#include <emscripten/emscripten.h>

#include <cstdint>

#include "demo/web/WebShow.h"
#include "platform/os/AssertionReport.h"

namespace {

WebShow& show() {
    static WebShow instance;
    return instance;
}

void runFrame() {
    if (!show().frame()) {
        emscripten_cancel_main_loop();
        show().shutDown();
        EM_ASM({
            if (Module.onShowEnded) {
                Module.onShowEnded();
            }
        });
    }
}

}  // namespace

extern "C" {

// web/library_kelvo.js: brings in what SDL's audio output needs of emscripten's JavaScript.
void kelvoLinkAudioHelpers();

// Starts the show at width x height; testClock 1: the frames wait for kelvoRenderAt.
EMSCRIPTEN_KEEPALIVE int kelvoStart(int width, int height, int fullscreen, int testClock) {
    if (!show().start(width, height, fullscreen != 0, testClock != 0)) {
        return 0;
    }
    if (testClock == 0) {
        emscripten_set_main_loop(runFrame, 0, 0);
    }
    return 1;
}

// The frame at ms of music time, as RGBA bytes (width x height x 4, top row first), or 0.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* kelvoRenderAt(std::uint32_t ms) {
    return show().renderAt(ms);
}

}  // extern "C"

int main() {
    // Nobody can answer a dialog in a page: a failed check is reported and the show goes on.
    os::setAssertionAction(os::AssertionAction::Continue);
    kelvoLinkAudioHelpers();
    return 0;
}
