#pragma once

#include <atomic>
#include <cstdint>

namespace sound {

// The frames the audio device has taken and the moment it took them, handed from the audio
// callback thread (the only writer) to the main thread. The pair is read consistently: a reader
// never sees the count of one callback with the time of another. Lock-free, so the callback never
// waits on the main thread.
class ConsumedCounter {
public:
    struct Stamp {
        int64_t frames = 0;
        int64_t timeNs = 0;
    };

    // Only ever called from one thread at a time.
    void publish(Stamp stamp);
    Stamp read() const;

private:
    // Sequence lock: odd while a publish is under way.
    std::atomic<uint64_t> sequence_{0};
    std::atomic<int64_t> frames_{0};
    std::atomic<int64_t> timeNs_{0};
};

}  // namespace sound
