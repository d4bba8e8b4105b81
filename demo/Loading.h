// The loading phase: the production is built while the loading screen spins on a second thread.
#pragma once

#include "demo/IFrameContent.h"

// Builds the content; returns once it exists and the loading screen has stopped drawing. Called
// once, after the device exists and before the music starts.
void runLoading();

// The content the loading phase built, or null when there is none (the frame loop then draws
// empty frames).
IFrameContent* loadedFrameContent();
