// The soak's memory readings: the kernel's status text is read for the right lines, and the
// trend after the warm-up is judged on its whole range, so growth, a peak that came back and
// growth after a dip all count, while the warm-up itself does not.
#include <gtest/gtest.h>

#include <string>

#include "tools/soak/MemoryTrend.h"
#include "tools/soak/ResidentMemory.h"

namespace {

constexpr std::int64_t kMb = 1024;

MemoryTrend trendOf(std::initializer_list<std::int64_t> perSecondMb) {
    MemoryTrend trend("memory", 10.0);
    double seconds = 0.0;
    for (const std::int64_t mb : perSecondMb) {
        trend.add(seconds, mb * kMb);
        seconds += 5.0;
    }
    return trend;
}

TEST(ResidentMemoryTest, ReadsCurrentAndPeakFromTheirOwnLines) {
    const std::string status =
        "Name:\tsoak\nVmPeak:\t 999999 kB\nVmHWM:\t  220804 kB\nVmRSS:\t  216196 kB\n"
        "RssAnon:\t 100 kB\n";
    const ResidentMemory memory = ResidentMemory::parse(status);
    EXPECT_EQ(memory.residentKb, 216196);
    EXPECT_EQ(memory.peakKb, 220804);

    // A key inside another line or without a number is not the line.
    const ResidentMemory odd = ResidentMemory::parse("XVmRSS: 5 kB\nVmHWM:\nVmRSS:\t7 kB");
    EXPECT_EQ(odd.residentKb, 7);
    EXPECT_EQ(odd.peakKb, -1);
    EXPECT_EQ(ResidentMemory::parse("").residentKb, -1);

    const ResidentMemory self = ResidentMemory::ofThisProcess();
    EXPECT_GT(self.residentKb, 0);
    EXPECT_GE(self.peakKb, self.residentKb);
    EXPECT_GT(self.heapInUseKb, 0);
}

TEST(MemoryTrendTest, JudgesTheWholeRangeAfterTheWarmUp) {
    // Seconds 0, 5, 10, 15, ...: the first two samples are the warm-up.
    const MemoryTrend loading = trendOf({100, 300, 310, 312, 309, 311});
    EXPECT_EQ(loading.atWarmupEnd(), 310 * kMb);
    EXPECT_EQ(loading.last(), 311 * kMb);
    EXPECT_EQ(loading.lowest(), 309 * kMb);
    EXPECT_EQ(loading.highest(), 312 * kMb);
    EXPECT_EQ(loading.verdict(3 * kMb), "");
    EXPECT_EQ(loading.samples().size(), 6u);

    struct Case {
        const char* what;
        MemoryTrend trend;
    };
    const Case broken[] = {
        {"steady growth", trendOf({300, 300, 301, 302, 303, 304, 305})},
        {"a peak that came back down", trendOf({300, 300, 300, 306, 300})},
        {"growth after a dip", trendOf({300, 300, 300, 296, 300})},
    };
    for (const Case& c : broken) {
        EXPECT_NE(c.trend.verdict(3 * kMb), "") << c.what;
        EXPECT_EQ(c.trend.verdict(8 * kMb), "") << c.what;
    }
    EXPECT_NE(trendOf({300, 300}).verdict(3 * kMb), "") << "no sample after the warm-up";
}

}  // namespace
