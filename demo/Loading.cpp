#include "demo/Loading.h"

// Nothing is built yet: the frame loop runs with empty frames.
void runLoading() {}

IFrameContent* loadedFrameContent() {
    return nullptr;
}
