// The system's monotonic clock: milliseconds since an arbitrary fixed point (the machine's boot
// on Linux), so two reads in one run differ by the time elapsed between them and a value does
// not restart at 0 when the program or a phase of it starts.
#pragma once

#include "platform/os/MillisecondClock.h"

namespace os {

class SystemClock final : public MillisecondClock {
public:
    std::uint32_t now() const override { return milliseconds(); }
    void sleep(std::uint32_t ms) override { sleepFor(ms); }

    static std::uint32_t milliseconds();
    // Blocks the calling thread for at least `ms` milliseconds.
    static void sleepFor(std::uint32_t ms);
};

}  // namespace os
