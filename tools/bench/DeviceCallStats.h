// What a TimingDevice counts: the time spent inside device calls (the driver and the GPU's share
// of a frame, as seen from the engine), the calls, the resources created and the draws. Atomic,
// since the loading screen draws from a second thread.
#pragma once

#include <atomic>
#include <cstdint>

struct DeviceCallStats {
    std::atomic<std::int64_t> insideNs{0};
    std::atomic<std::int64_t> calls{0};
    std::atomic<std::int64_t> creations{0};
    std::atomic<std::int64_t> draws{0};

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
