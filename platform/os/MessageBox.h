// Message boxes with an OK button and no owner window, the way start-up failures and the
// engine's fatal errors reach the user.
#pragma once

#include <string>

namespace os {

// Writes "caption: text" to standard error, always, so a report is never lost on a machine
// without a screen. A dialog is shown as well only where someone can see it: a display is
// present, SDL's video driver is neither "offscreen" nor "dummy", and no MessageBoxCapture is
// active (the capture takes the report instead). Returns when the dialog is dismissed.
void showMessageBox(const std::string& text, const std::string& caption);

// Whether a dialog would be seen: a display is present and SDL's video driver is neither
// "offscreen" nor "dummy".
bool canShowDialog();

}  // namespace os
