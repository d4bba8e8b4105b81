// What a TimingDevice counts: the time spent inside device calls (the driver and the GPU's share
// of a frame, as seen from the engine), the calls, the resources created and the draws. Atomic,
// since the loading screen draws from a second thread.
#pragma once

#include <atomic>
#include <cstdint>

class PassClock;

struct DeviceCallStats {
    std::atomic<std::int64_t> insideNs{0};
    std::atomic<std::int64_t> calls{0};
    std::atomic<std::int64_t> creations{0};
    std::atomic<std::int64_t> draws{0};

    // Set before the device is made: the device also hears the effects' calls, to name passes.
    bool namePasses = false;
    // While set, every draw, clear, present and read-back is timed on its own there.
    std::atomic<PassClock*> passes{nullptr};
    // While set, each resource creation is told on standard error.
    std::atomic<bool> tellCreations{false};

    struct Snapshot {
        std::int64_t insideNs = 0;
        std::int64_t calls = 0;
        std::int64_t creations = 0;
        std::int64_t draws = 0;
    };

    Snapshot snapshot() const {
        return {insideNs.load(), calls.load(), creations.load(), draws.load()};
    }
};
