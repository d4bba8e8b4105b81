// Ctrl-C as a request: the first SIGINT sets a flag that the capture reads between frames, so
// the frame being rendered is finished and the output closed properly. Installed before SDL
// starts, so SDL keeps its hands off SIGINT (it only takes a signal nobody handles).
#pragma once

namespace interrupt {

void install();
bool raised();
// For tests: clear the flag.
void reset();

}  // namespace interrupt
