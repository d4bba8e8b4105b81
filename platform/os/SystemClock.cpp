#include "platform/os/SystemClock.h"

#include <chrono>
#include <thread>

namespace os {

std::uint32_t SystemClock::milliseconds() {
    const auto sinceOrigin = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceOrigin).count();
    // Truncation to 32 bits is the intended wrap-around.
    return static_cast<std::uint32_t>(ms);
}

void SystemClock::sleepFor(std::uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace os
