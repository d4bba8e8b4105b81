#include "platform/sound/ConsumedCounter.h"

namespace sound {

// Every access is sequentially consistent: the counter is touched once per callback and once
// per frame, so the cost is nil, and the reasoning needs no fences (which the thread sanitizer
// does not model).
void ConsumedCounter::publish(Stamp stamp) {
    uint64_t sequence = sequence_.load();
    sequence_.store(sequence + 1);
    frames_.store(stamp.frames);
    timeNs_.store(stamp.timeNs);
    sequence_.store(sequence + 2);
}

ConsumedCounter::Stamp ConsumedCounter::read() const {
    for (;;) {
        uint64_t before = sequence_.load();
        Stamp stamp{frames_.load(), timeNs_.load()};
        uint64_t after = sequence_.load();
        if (before == after && (before & 1) == 0) {
            return stamp;
        }
    }
}

}  // namespace sound
