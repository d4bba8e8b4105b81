// The millisecond clock and sleep the loading screen runs on, behind an interface so that a
// test drives it by hand (ManualClock) instead of waiting on the wall clock.
#pragma once

#include <cstdint>

namespace os {

class MillisecondClock {
public:
    virtual ~MillisecondClock() = default;

    // Milliseconds on a monotonic clock with an arbitrary origin (not the start of the program),
    // wrapping around after 2^32 ms as a 32-bit millisecond counter does.
    virtual std::uint32_t now() const = 0;
    virtual void sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace os
