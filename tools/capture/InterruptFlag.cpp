#include "tools/capture/InterruptFlag.h"

#include <csignal>

namespace interrupt {
namespace {

volatile std::sig_atomic_t g_raised = 0;

void onInterrupt(int) {
    g_raised = 1;
}

}  // namespace

void install() {
    struct sigaction action {};
    action.sa_handler = &onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

bool raised() {
    return g_raised != 0;
}

void reset() {
    g_raised = 0;
}

}  // namespace interrupt
