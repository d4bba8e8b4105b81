// The posted quit request: start-up failures post it, the driver may look at it. Nothing ends
// the program because of it; the frame loop runs on the render window's own quit flag.
#pragma once

namespace os {

// Records that the program asked to quit with the given exit code (the last one wins).
void postQuitMessage(int exitCode);

bool quitRequested();
int quitExitCode();

// Forgets the request (tests, or a shell that has handled it).
void clearQuitRequest();

}  // namespace os
