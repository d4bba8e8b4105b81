// The real driver offscreen: SDL's offscreen video, the OpenGL device on llvmpipe and the dummy
// audio driver. Frames are read back from the back buffer; start-up failures must end the
// program in order.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <array>
#include <cstring>
#include <vector>

#include "demo/DemoDriver.h"
#include "demo/MusicClockGlobals.h"
#include "gfx/GraphicsContext.h"
#include "platform/os/AssertionCapture.h"
#include "platform/os/MessageBoxCapture.h"
#include "platform/os/QuitRequest.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
// The letterbox rule for 320 x 240 at the 16:9 aspect: rows 30 to 208.
constexpr UINT kPictureTop = 30;
constexpr UINT kPictureBottom = 209;

DemoDriver::Options smallWindow() {
    DemoDriver::Options options;
    options.config.width = kWidth;
    options.config.height = kHeight;
    return options;
}

IDirect3DDevice9* device() {
    return kelvo::GraphicsContext::instance().device;
}

// The back buffer as 0x00RRGGBB, rows top first.
std::vector<D3DCOLOR> backBufferRgb() {
    IDirect3DSurface9* back = nullptr;
    EXPECT_EQ(device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    D3DSURFACE_DESC desc{};
    back->GetDesc(&desc);
    IDirect3DSurface9* copy = nullptr;
    EXPECT_EQ(device()->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                    D3DPOOL_SYSTEMMEM, &copy, nullptr),
              D3D_OK);
    EXPECT_EQ(device()->GetRenderTargetData(back, copy), D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    std::vector<D3DCOLOR> pixels(std::size_t{desc.Width} * desc.Height);
    for (UINT y = 0; y < desc.Height; ++y) {
        std::memcpy(&pixels[std::size_t{y} * desc.Width],
                    static_cast<const std::uint8_t*>(locked.pBits) + std::size_t{y} * locked.Pitch,
                    desc.Width * 4);
    }
    copy->UnlockRect();
    copy->Release();
    back->Release();
    for (D3DCOLOR& pixel : pixels) {
        pixel &= 0x00FFFFFF;
    }
    return pixels;
}

void fillBackBuffer(D3DCOLOR color) {
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    ASSERT_EQ(device()->ColorFill(back, nullptr, color), D3D_OK);
    back->Release();
}

// Paints whatever viewport the frame loop left it in.
struct PaintingContent final : IFrameContent {
    void update(float) override {
        device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00C000, 1.0f, 0);
    }
};

struct ZeroClock final : IMusicClock {
    std::optional<std::uint32_t> positionMs() override { return 0; }
    bool fetchSpectrum(float*, int) override { return false; }
};

void pushWindowEvent(SDL_Event event) {
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

class DemoDriverTest : public ::testing::Test {
protected:
    DemoDriverTest() { os::clearQuitRequest(); }
    ~DemoDriverTest() override { os::clearQuitRequest(); }

    os::AssertionCapture reports;
    os::MessageBoxCapture boxes;
};

TEST_F(DemoDriverTest, FramesLeaveTheWholeBackBufferBlackAndReportNothing) {
    DemoDriver driver(smallWindow());
    ASSERT_TRUE(driver.startUp());
    ASSERT_NE(driver.frameLoop(), nullptr);
    EXPECT_EQ(g_window, driver.window());
    EXPECT_NE(g_spectrum, nullptr);
    EXPECT_FALSE(driver.window()->quitRequested());

    fillBackBuffer(0xFFFFFFFF);
    for (int frame = 0; frame < 3; ++frame) {
        driver.frameLoop()->step();
    }
    const std::vector<D3DCOLOR> pixels = backBufferRgb();
    ASSERT_EQ(pixels.size(), std::size_t{kWidth} * kHeight);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        ASSERT_EQ(pixels[i], 0u) << "pixel " << i % kWidth << ", " << i / kWidth;
    }
    EXPECT_GE(g_demoSeconds, 0.0f);
    EXPECT_LT(g_demoSeconds, 10.0f);
    EXPECT_EQ(g_demoPart, 0);
    EXPECT_EQ(reports.count(), 0u);
    EXPECT_EQ(boxes.count(), 0u);

    driver.shutDown();
    EXPECT_EQ(g_window, nullptr);
    EXPECT_EQ(device(), nullptr);
}

TEST_F(DemoDriverTest, ContentDrawsInsideTheLetterboxedPictureBetweenBlackBars) {
    DemoDriver driver(smallWindow());
    ASSERT_TRUE(driver.startUp());
    ZeroClock clock;
    PaintingContent content;
    std::array<float, FrameLoop::kSpectrumBins> spectrum{};
    FrameLoop loop(*device(), *driver.window(), clock, content, spectrum.data());
    loop.start();
    fillBackBuffer(0xFFFFFFFF);
    loop.step();

    const std::vector<D3DCOLOR> pixels = backBufferRgb();
    for (UINT y = 0; y < static_cast<UINT>(kHeight); ++y) {
        const bool picture = y >= kPictureTop && y < kPictureBottom;
        for (UINT x : {0u, 159u, 319u}) {
            EXPECT_EQ(pixels[y * kWidth + x], picture ? 0x00C000u : 0u) << x << ", " << y;
        }
    }
    EXPECT_EQ(reports.count(), 0u);
}

TEST_F(DemoDriverTest, CloseRequestEndsTheLoopAfterTheCurrentFrame) {
    DemoDriver driver(smallWindow());
    ASSERT_TRUE(driver.startUp());
    const std::uint32_t id = driver.window()->platformWindow()->id();

    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = id;
    pushWindowEvent(close);
    const std::uint64_t before = driver.frameLoop()->frameCount();
    driver.runFrames();
    EXPECT_EQ(driver.frameLoop()->frameCount(), before + 1);
    EXPECT_TRUE(driver.window()->quitRequested());
    driver.shutDown();
    EXPECT_EQ(g_window, nullptr);
}

TEST_F(DemoDriverTest, EscapeEndsTheLoop) {
    DemoDriver driver(smallWindow());
    ASSERT_TRUE(driver.startUp());
    SDL_Event escape{};
    escape.type = SDL_KEYDOWN;
    escape.key.state = SDL_PRESSED;
    escape.key.windowID = driver.window()->platformWindow()->id();
    escape.key.keysym.sym = SDLK_ESCAPE;
    pushWindowEvent(escape);
    driver.runFrames();
    EXPECT_EQ(driver.frameLoop()->frameCount(), 1u);
    EXPECT_TRUE(driver.window()->quitRequested());
}

TEST_F(DemoDriverTest, MissingDirect3DEndsTheStartUpInOrder) {
    DemoDriver::Options options = smallWindow();
    options.createDirect3D = [] { return static_cast<IDirect3D9*>(nullptr); };
    DemoDriver driver(options);
    EXPECT_EQ(driver.run(), 0);
    EXPECT_EQ(driver.frameLoop(), nullptr);
    EXPECT_EQ(device(), nullptr);
    EXPECT_EQ(boxes.records(),
              (std::vector<os::MessageBoxRecord>{{"error", "Direct3DCreate9 failed!"}}));
    EXPECT_TRUE(os::quitRequested());
    EXPECT_EQ(g_window, nullptr);
}

TEST_F(DemoDriverTest, MissingMusicEndsTheStartUpInOrderAndShutdownFreesTheDevice) {
    DemoDriver::Options options = smallWindow();
    options.musicFile = "data/no-such-track.mp3";
    DemoDriver driver(options);
    EXPECT_FALSE(driver.startUp());
    EXPECT_EQ(driver.frameLoop(), nullptr);
    EXPECT_NE(device(), nullptr) << "the device was made before the music";
    EXPECT_EQ(boxes.records(),
              (std::vector<os::MessageBoxRecord>{{"error", "Couldn't open file!"}}));
    driver.shutDown();
    EXPECT_EQ(device(), nullptr);
    EXPECT_EQ(reports.count(), 0u);
}

}  // namespace
