#include "platform/sound/ConsumedCounter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// The audio callback publishes (frames, time) pairs while the main thread reads them: a reader
// must never see the frames of one callback with the time of another, nor go backwards.
TEST(ConsumedCounterTest, ReaderSeesWholeIncreasingStampsWhileAWriterPublishes) {
    sound::ConsumedCounter counter;
    constexpr int64_t kLast = 200'000;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int64_t i = 1; i <= kLast; ++i) {
            counter.publish({i, i * 7 + 3});
        }
        done = true;
    });
    int64_t previous = 0;
    int64_t torn = 0;
    int64_t backwards = 0;
    while (!done) {
        auto stamp = counter.read();
        torn += stamp.frames != 0 && stamp.timeNs != stamp.frames * 7 + 3;
        backwards += stamp.frames < previous;
        previous = stamp.frames;
    }
    writer.join();
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(backwards, 0);
    EXPECT_EQ(counter.read().frames, kLast);
}

}  // namespace
