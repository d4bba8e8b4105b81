// The whole production on the OpenGL device, through the program's own start-up and frame loop
// (the capture session), at chosen moments of every part: each frame renders without a failure
// report of any kind, and shows a picture (never uniformly black) except once the final fade has
// ended. Frames are saved as PNG files to $KELVO_SAVE_PICTURES when set.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <stb/stb_image_write.h>

#include "platform/os/AssertionCapture.h"
#include "platform/os/MessageBoxCapture.h"
#include "tools/capture/CaptureSession.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 180;
// The letterbox rule gives 320 x 179 at the top of a 320 x 180 buffer.
constexpr int kPictureRows = 179;
// The fade reaches 0 at 11.13 s into the last part, which begins with the first frame past
// 111.3 s.
constexpr std::uint32_t kFadedOutFromMs = 111400 + 11130;

// The grabbed frame (bytes B, G, R, X) as 0xRRGGBB pixels.
std::vector<std::uint32_t> pixelsOf(const std::vector<std::uint8_t>& bgrx) {
    std::vector<std::uint32_t> pixels(bgrx.size() / 4);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint32_t>(bgrx[4 * i + 2]) << 16 |
                    static_cast<std::uint32_t>(bgrx[4 * i + 1]) << 8 | bgrx[4 * i];
    }
    return pixels;
}

void savePicture(const std::vector<std::uint32_t>& pixels, std::uint32_t ms) {
    const char* directory = std::getenv("KELVO_SAVE_PICTURES");
    if (directory == nullptr) {
        return;
    }
    std::vector<std::uint8_t> rgb;
    rgb.reserve(pixels.size() * 3);
    for (std::uint32_t c : pixels) {
        rgb.push_back(static_cast<std::uint8_t>(c >> 16));
        rgb.push_back(static_cast<std::uint8_t>(c >> 8));
        rgb.push_back(static_cast<std::uint8_t>(c));
    }
    const std::string path = std::string(directory) + "/show_" + std::to_string(ms) + ".png";
    stbi_write_png(path.c_str(), kWidth, kHeight, 3, rgb.data(), kWidth * 3);
}

// The brightest channel sum inside the picture area.
int brightest(const std::vector<std::uint32_t>& pixels) {
    int best = 0;
    for (int y = 0; y < kPictureRows; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const std::uint32_t c = pixels[static_cast<std::size_t>(y) * kWidth + x];
            best = std::max(best,
                            static_cast<int>(((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF)));
        }
    }
    return best;
}

}  // namespace

TEST(ShowFramesTest, EveryPartRendersWithoutReportsAndShowsAPicture) {
    os::AssertionCapture assertions;
    os::MessageBoxCapture messages;
    CaptureSession::Setup setup;
    setup.width = kWidth;
    setup.height = kHeight;
    CaptureSession show(setup);
    ASSERT_TRUE(show.start()) << show.error();
    ASSERT_EQ(messages.count(), 0u) << "a data file or effect failed to load";

    const std::uint32_t moments[] = {10000,  30000,  53800,  55650,  58000,  62000,  66000,
                                     69600,  70200,  71500,  80000,  90000,  97500,  100000,
                                     105000, 111400, 115000, 120000, 122000, 125000, 125990};
    for (const std::uint32_t ms : moments) {
        ASSERT_TRUE(show.render(Rational{ms, 1000})) << show.error();
        const std::vector<std::uint32_t> pixels = pixelsOf(show.grabber().bgrx());
        ASSERT_EQ(pixels.size(), static_cast<std::size_t>(kWidth * kHeight));
        savePicture(pixels, ms);
        EXPECT_EQ(assertions.count(), 0u) << "at " << ms << " ms";
        EXPECT_EQ(messages.count(), 0u) << "at " << ms << " ms";
        if (ms < kFadedOutFromMs) {
            EXPECT_GT(brightest(pixels), 30) << "black frame at " << ms << " ms";
        }
    }
    for (const auto& record : assertions.records()) {
        ADD_FAILURE() << record.file << ":" << record.line;
    }
}
