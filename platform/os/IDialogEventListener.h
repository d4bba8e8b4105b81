// What a settings dialog wants to hear from the operating system: its keys and a close request.
// Mouse input goes to the toolkit, which reports clicks while the dialog draws its controls.
#pragma once

#include "platform/os/DialogKey.h"

namespace os {

class IDialogEventListener {
public:
    virtual ~IDialogEventListener() = default;

    virtual void onKey(DialogKey key) = 0;
    // The user or the system asked the dialog, or the whole program, to close.
    virtual void onCloseRequested() = 0;
};

}  // namespace os
