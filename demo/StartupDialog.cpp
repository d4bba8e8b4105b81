#include "demo/StartupDialog.h"

#include <cstdio>
#include <set>
#include <string>
#include <utility>

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

// "--mode 1000x700: ...": the sizes the display does list, each once, in the list's order.
void reportRefusedMode(const StartupDialogState& state, const StartupPreset& preset) {
    std::string sizes;
    std::set<std::pair<UINT, UINT>> named;
    for (const D3DDISPLAYMODE& mode : state.modes()) {
        if (named.insert({mode.Width, mode.Height}).second) {
            sizes += (sizes.empty() ? "" : ", ") + std::to_string(mode.Width) + "x" +
                     std::to_string(mode.Height);
        }
    }
    std::fprintf(stderr,
                 "vornasto: --mode %dx%d is not a full-screen mode of this display (it has %s); "
                 "--windowed opens a window of any size\n",
                 preset.mode->width, preset.mode->height, sizes.c_str());
    std::fflush(stderr);
}

}  // namespace

bool startupDisplayAvailable() {
    std::string error;
    if (!os::VideoSystem::start(&error)) {
        reportNoDisplay(error);
        return false;
    }
    if (!os::VideoSystem::showsWindows()) {
        reportNoDisplay(os::VideoSystem::sessionHasDisplay()
                            ? "no display available: the video driver \"" +
                                  os::VideoSystem::driver() + "\" shows no windows"
                            : "no display available: neither DISPLAY nor WAYLAND_DISPLAY is set");
        return false;
    }
    return true;
}

StartupChoice runStartupDialog(IDirect3D9* d3d, WindowConfig& config, const StartupPreset& preset) {
    if (!startupDisplayAvailable()) {
        return StartupChoice::failed;
    }
    return showStartupDialog(d3d, config, preset);
}

StartupChoice showStartupDialog(IDirect3D9* d3d, WindowConfig& config,
                                const StartupPreset& preset) {
    StartupDialogState state(d3d, preset);
    if (state.refusesPreset()) {
        reportRefusedMode(state, preset);
        return StartupChoice::refused;
    }
    if (!preset.ask) {
        state.command(StartupDialogState::kStartId);
    } else if (!showDialog(state)) {
        return StartupChoice::failed;
    }
    if (!state.started()) {
        return StartupChoice::cancel;
    }
    state.writeChoice(config);
    return StartupChoice::start;
}
