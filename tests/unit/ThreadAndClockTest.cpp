#include "platform/os/SystemClock.h"
#include "platform/os/WorkerThread.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

TEST(SystemClock, NeverRunsBackwardsAndSleepLastsAtLeastTheRequest) {
    std::uint32_t previous = os::SystemClock::milliseconds();
    for (int i = 0; i < 1000; ++i) {
        const std::uint32_t now = os::SystemClock::milliseconds();
        // Unsigned difference: correct across the 32-bit wrap-around too.
        EXPECT_LT(now - previous, 1000u);
        previous = now;
    }
    const std::uint32_t before = os::SystemClock::milliseconds();
    os::SystemClock::sleepFor(20);
    EXPECT_GE(os::SystemClock::milliseconds() - before, 20u);
}

TEST(WorkerThread, RunsTheBodyOnceAndJoins) {
    std::atomic<int> runs{0};
    std::atomic<bool> release{false};
    os::WorkerThread worker;
    ASSERT_TRUE(worker.start([&] {
        while (!release.load()) {
            std::this_thread::yield();
        }
        ++runs;
    }));
    EXPECT_TRUE(worker.started());
    EXPECT_FALSE(worker.start([&] { ++runs; })) << "a second body while the first runs";
    release = true;
    worker.join();
    EXPECT_FALSE(worker.started());
    EXPECT_EQ(runs.load(), 1);

    ASSERT_TRUE(worker.start([&] { ++runs; })) << "restartable after join";
    worker.join();
    EXPECT_EQ(runs.load(), 2);
    worker.join();  // nothing left to wait for
}

TEST(WorkerThread, DestructionWaitsForTheBody) {
    std::atomic<bool> finished{false};
    {
        os::WorkerThread worker;
        ASSERT_TRUE(worker.start([&] {
            os::SystemClock::sleepFor(10);
            finished = true;
        }));
    }
    EXPECT_TRUE(finished.load());
}

}  // namespace
