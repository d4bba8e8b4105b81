#include "platform/os/DisplayModes.h"

#include <gtest/gtest.h>

namespace {

SDL_DisplayMode mode(Uint32 format, int w, int h, int hz) {
    SDL_DisplayMode m{};
    m.format = format;
    m.w = w;
    m.h = h;
    m.refresh_rate = hz;
    return m;
}

TEST(DisplayModes, TrueColourMeansEightBitChannelsInFourBytes) {
    EXPECT_TRUE(os::isTrueColourFormat(SDL_PIXELFORMAT_RGB888));  // the usual desktop format
    EXPECT_TRUE(os::isTrueColourFormat(SDL_PIXELFORMAT_ARGB8888));
    EXPECT_TRUE(os::isTrueColourFormat(SDL_PIXELFORMAT_BGRX8888));
    EXPECT_FALSE(os::isTrueColourFormat(SDL_PIXELFORMAT_RGB24));
    EXPECT_FALSE(os::isTrueColourFormat(SDL_PIXELFORMAT_RGB565));
    EXPECT_FALSE(os::isTrueColourFormat(SDL_PIXELFORMAT_ARGB2101010));
    EXPECT_FALSE(os::isTrueColourFormat(SDL_PIXELFORMAT_UNKNOWN));
}

TEST(DisplayModes, ListKeepsOrderAndDuplicatesAndDropsOtherFormats) {
    const std::vector<SDL_DisplayMode> reported = {
        mode(SDL_PIXELFORMAT_RGB888, 1920, 1080, 60), mode(SDL_PIXELFORMAT_RGB565, 1920, 1080, 60),
        mode(SDL_PIXELFORMAT_RGB888, 1280, 720, 75),  mode(SDL_PIXELFORMAT_RGB888, 1920, 1080, 60),
        mode(SDL_PIXELFORMAT_ARGB8888, 800, 600, 0),
    };
    const std::vector<os::DisplayMode> expected = {
        {1920, 1080, 60}, {1280, 720, 75}, {1920, 1080, 60}, {800, 600, 0}};
    EXPECT_EQ(os::trueColourModes(reported), expected);
    EXPECT_TRUE(os::trueColourModes({}).empty());
}

TEST(DisplayModes, FullscreenModeNeedsExactSizeAndPrefersDesktopRefresh) {
    const std::vector<SDL_DisplayMode> reported = {
        mode(SDL_PIXELFORMAT_RGB565, 1280, 720, 60),  mode(SDL_PIXELFORMAT_RGB888, 1280, 720, 144),
        mode(SDL_PIXELFORMAT_RGB888, 1280, 720, 60),  mode(SDL_PIXELFORMAT_RGB888, 1280, 720, 50),
        mode(SDL_PIXELFORMAT_RGB888, 1280, 1024, 60),
    };
    auto desktopRate = os::findFullscreenMode(reported, 1280, 720, 60);
    ASSERT_TRUE(desktopRate);
    EXPECT_EQ(desktopRate->refresh_rate, 60);
    EXPECT_EQ(desktopRate->format, SDL_PIXELFORMAT_RGB888);

    auto firstListed = os::findFullscreenMode(reported, 1280, 720, 75);
    ASSERT_TRUE(firstListed);
    EXPECT_EQ(firstListed->refresh_rate, 144);

    EXPECT_FALSE(os::findFullscreenMode(reported, 1280, 700, 60));
    EXPECT_FALSE(os::findFullscreenMode(reported, 12345, 678, 60));
}

}  // namespace
