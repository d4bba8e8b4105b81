#include "demo/StartupDialog.h"

// Until the dialog exists the program starts at once with the configuration it was given.
StartupChoice runStartupDialog(IDirect3D9*, WindowConfig&) {
    return StartupChoice::start;
}
