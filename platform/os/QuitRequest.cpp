#include "platform/os/QuitRequest.h"

#include <atomic>

namespace os {

namespace {

std::atomic<bool> requested{false};
std::atomic<int> exitCode{0};

}  // namespace

void postQuitMessage(int code) {
    exitCode.store(code);
    requested.store(true);
}

bool quitRequested() {
    return requested.load();
}

int quitExitCode() {
    return exitCode.load();
}

void clearQuitRequest() {
    requested.store(false);
    exitCode.store(0);
}

}  // namespace os
