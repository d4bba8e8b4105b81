// The start-up dialog: the user picks the display mode and full screen, then starts or quits.
#pragma once

#include "demo/WindowConfig.h"
#include "platform/d3d9/d3d9.h"

enum class StartupChoice { start, cancel };

// Lists the display modes of d3d's default adapter; on start writes width, height and
// fullscreen into config. The program goes on only on start.
StartupChoice runStartupDialog(IDirect3D9* d3d, WindowConfig& config);
