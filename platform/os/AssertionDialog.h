// The run-time assertion report as a message box the user answers with Abort or Continue, as the
// original platform's run-time library showed it.
//
// A full-screen window with the keyboard leaves full screen while the box is up: over a
// display-mode change a box may not be seen at all, and the user who aborts gets the desktop's
// own mode back. Continue puts the window back into full screen.
#pragma once

#include <string>

#include "platform/os/AssertionReport.h"

namespace os {

class AssertionDialog {
public:
    // Abort or Continue as the user chose; Continue at once where nobody could see the box
    // (canShowDialog) or it could not be shown.
    static AssertionAction ask(const std::string& report);
};

}  // namespace os
