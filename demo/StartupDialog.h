// The start-up dialog: the user picks the display mode and full screen, then starts or quits.
//
// A small window of its own, "Vor3020" at (100, 100), 200 x 380, listing the display modes of
// d3d's default adapter. It is gone before the caller goes on, so it never overlaps the render
// window. Without a display, or on a video driver that shows nothing (SDL falls back to its
// offscreen driver when there is no display), nobody could answer it: it says so
// ("error: no display available: ...") and answers failed, with the quit message posted, so the
// program ends in order, having created nothing.
//
// A preset from the command line starts the dialog from its values; without `ask` the dialog is
// not shown and its choice, made from the preset and its own defaults, is taken as if start had
// been pressed. A display is needed either way: the show's window would not be seen either. A
// preset asking for a full-screen mode the display does not list is refused before anything is
// shown, with one line on standard error naming --mode and the display's sizes.
#pragma once

#include "demo/StartupPreset.h"
#include "demo/WindowConfig.h"
#include "platform/d3d9/d3d9.h"

// failed: the dialog could not be shown (no display), so nobody chose. refused: the preset asks
// for a full-screen mode the display lacks.
enum class StartupChoice { start, cancel, failed, refused };

// Whether someone can see a window: video starts on a driver that shows its windows. Otherwise
// reports "no display available" with the reason, posts the quit message and answers false.
bool startupDisplayAvailable();

// On start writes width, height and fullscreen into config (see StartupDialogState for an
// empty list); otherwise leaves config as it is. The program goes on only on start.
StartupChoice runStartupDialog(IDirect3D9* d3d, WindowConfig& config,
                               const StartupPreset& preset = {});

// The dialog itself on whatever video driver runs, seen or not: tests drive it headless.
StartupChoice showStartupDialog(IDirect3D9* d3d, WindowConfig& config,
                                const StartupPreset& preset = {});
