#include "demo/StartupDialog.h"

#include <string>

#include "demo/StartupDialogState.h"
#include "demo/StartupDialogView.h"
#include "platform/os/DialogWindow.h"
#include "platform/os/MessageBox.h"
#include "platform/os/QuitRequest.h"
#include "platform/os/SystemClock.h"
#include "platform/os/VideoSystem.h"

namespace {

// Between two frames, so that waiting for the user costs next to no processor time.
constexpr std::uint32_t kFramePauseMs = 10;

void reportNoDisplay(const std::string& reason) {
    os::showMessageBox(reason, "error");
    os::postQuitMessage(0);
}

// Shows the dialog until the user starts, quits or closes it; the window is gone on return.
// False when it could not be shown at all (reported).
bool showDialog(StartupDialogState& state) {
    os::DialogWindow::Opening opening = os::DialogWindow::open({"Vor3020", 100, 100, 200, 380});
    if (!opening.window) {
        reportNoDisplay(opening.error);
        return false;
    }
    StartupDialogView view(state);
    while (true) {
        opening.window->pumpEvents(state);
        if (state.finished()) {
            return true;
        }
        opening.window->beginFrame();
        view.draw();
        opening.window->endFrame();
        os::SystemClock::sleepFor(kFramePauseMs);
    }
}

}  // namespace

StartupChoice runStartupDialog(IDirect3D9* d3d, WindowConfig& config) {
    std::string error;
    if (!os::VideoSystem::start(&error)) {
        reportNoDisplay(error);
        return StartupChoice::failed;
    }
    if (!os::VideoSystem::showsWindows()) {
        reportNoDisplay("no display available: the video driver \"" + os::VideoSystem::driver() +
                        "\" shows no windows");
        return StartupChoice::failed;
    }
    return showStartupDialog(d3d, config);
}

StartupChoice showStartupDialog(IDirect3D9* d3d, WindowConfig& config) {
    StartupDialogState state(d3d);
    if (!showDialog(state)) {
        return StartupChoice::failed;
    }
    if (!state.started()) {
        return StartupChoice::cancel;
    }
    state.writeChoice(config);
    return StartupChoice::start;
}
