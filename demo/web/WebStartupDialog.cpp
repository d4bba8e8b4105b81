// In a browser the start page is the start-up dialog: by the time the program starts, the size
// and full-screen choice are made and the page is there to draw into.
#include "demo/StartupDialog.h"

bool startupDisplayAvailable() {
    return true;
}

StartupChoice runStartupDialog(IDirect3D9*, WindowConfig&, const StartupPreset&) {
    return StartupChoice::start;
}
