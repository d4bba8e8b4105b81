// The headless clock: time moves only when told to, and sleeping advances it at once, so a
// loop paced by sleep() runs at full speed with exact times. Safe to share between threads.
#pragma once

#include "platform/os/MillisecondClock.h"

#include <atomic>
#include <thread>

namespace os {

class ManualClock final : public MillisecondClock {
public:
    explicit ManualClock(std::uint32_t start = 0) : now_(start) {}

    std::uint32_t now() const override { return now_.load(); }
    void sleep(std::uint32_t ms) override {
        now_.fetch_add(ms);
        // Lets the thread the sleeper waits for make progress, as a real sleep would.
        std::this_thread::yield();
    }

    void set(std::uint32_t ms) { now_.store(ms); }
    void advance(std::uint32_t ms) { now_.fetch_add(ms); }

private:
    std::atomic<std::uint32_t> now_;
};

}  // namespace os
