#include "tools/music/Random.h"

namespace music {

double Random::unit() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    uint64_t bits = (state_ * 0x2545F4914F6CDD1Dull) >> 11;
    return static_cast<double>(bits) / 9007199254740992.0;  // 2^53
}

double Random::bipolar() {
    return 2.0 * unit() - 1.0;
}

}  // namespace music
