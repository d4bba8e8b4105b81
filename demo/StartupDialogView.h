// Draws the start-up dialog's controls with Dear ImGui, one frame at a time, at the client
// positions of the dialog's layout: start (0, 0) and quit (0, 20), 50 x 20; the full-screen check
// box with its label at (52, 20); the list of display modes at (0, 40), 194 x 200. Clicks go to
// the state; the control with the keyboard gets a frame drawn around it.
#pragma once

#include "demo/StartupDialogState.h"

class StartupDialogView {
public:
    explicit StartupDialogView(StartupDialogState& state) : state_(state) {}

    // Between DialogWindow::beginFrame and endFrame.
    void draw();

private:
    void drawButtons();
    void drawFullscreenBox();
    void drawModeList();
    void markFocus(StartupDialogState::Control control) const;

    StartupDialogState& state_;
    // The selection the list last scrolled to, so a keyboard move scrolls it into view once.
    int shownSelection_ = StartupDialogState::kNoSelection;
};
