// The real driver offscreen: SDL's offscreen video, the OpenGL device on llvmpipe and the dummy
// audio driver. Frames are read back from the back buffer; start-up failures must end the
// program in order.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <array>
#include <vector>

#include "demo/DemoContent.h"
#include "demo/DemoDriver.h"
#include "demo/Loading.h"
#include "demo/MusicClockGlobals.h"
#include "gfx/GraphicsContext.h"
#include "platform/d3d9/recording/RecordingDevice.h"
#include "platform/d3d9/recording/RecordingDirect3D.h"
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
    options.askUser = false;
    options.config.width = kWidth;
    options.config.height = kHeight;
    return options;
}

IDirect3DDevice9* device() {
    return kelvo::GraphicsContext::instance().device;
}

// The back buffer as 0x00RRGGBB, rows top first, read back the Direct3D way.
std::vector<D3DCOLOR> backBufferRgb() {
    IDirect3DSurface9 *back = nullptr, *copy = nullptr;
    EXPECT_EQ(device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    EXPECT_EQ(device()->CreateOffscreenPlainSurface(kWidth, kHeight, D3DFMT_X8R8G8B8,
                                                    D3DPOOL_SYSTEMMEM, &copy, nullptr),
              D3D_OK);
    EXPECT_EQ(device()->GetRenderTargetData(back, copy), D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    std::vector<D3DCOLOR> pixels;
    for (UINT y = 0; y < kHeight; ++y) {
        const auto* row = reinterpret_cast<const D3DCOLOR*>(
            static_cast<const std::uint8_t*>(locked.pBits) + std::size_t{y} * locked.Pitch);
        for (UINT x = 0; x < kWidth; ++x) {
            pixels.push_back(row[x] & 0x00FFFFFF);
        }
    }
    copy->UnlockRect();
    copy->Release();
    back->Release();
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

class DemoDriverTest : public ::testing::Test {
protected:
    DemoDriverTest() { os::clearQuitRequest(); }
    ~DemoDriverTest() override { os::clearQuitRequest(); }

    os::AssertionCapture reports;
    os::MessageBoxCapture boxes;
};

TEST_F(DemoDriverTest, FramesBlackenTheBackBufferAndContentDrawsInTheLetterboxedPicture) {
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
    std::vector<D3DCOLOR> pixels = backBufferRgb();
    ASSERT_EQ(pixels.size(), std::size_t{kWidth} * kHeight);
    // The production draws inside the picture; the bars stay black.
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::size_t y = i / kWidth;
        if (y < kPictureTop || y >= kPictureBottom) {
            ASSERT_EQ(pixels[i], 0u) << "pixel " << i % kWidth << ", " << y;
        }
    }
    EXPECT_GE(g_demoSeconds, 0.0f);
    EXPECT_LT(g_demoSeconds, 10.0f);
    EXPECT_EQ(g_demoPart, 0);
    EXPECT_EQ(boxes.count(), 0u);

    // Content draws in the viewport the loop leaves it: the letterboxed picture.
    ZeroClock clock;
    PaintingContent content;
    std::array<float, FrameLoop::kSpectrumBins> spectrum{};
    FrameLoop loop(*device(), *driver.window(), clock, content, spectrum.data());
    loop.start();
    fillBackBuffer(0xFFFFFFFF);
    loop.step();
    pixels = backBufferRgb();
    for (UINT y = 0; y < static_cast<UINT>(kHeight); ++y) {
        const bool picture = y >= kPictureTop && y < kPictureBottom;
        for (UINT x : {0u, 159u, 319u}) {
            EXPECT_EQ(pixels[y * kWidth + x], picture ? 0x00C000u : 0u) << x << ", " << y;
        }
    }
    EXPECT_EQ(reports.count(), 0u);
    driver.shutDown();
    EXPECT_EQ(g_window, nullptr);
    EXPECT_EQ(device(), nullptr);
}

TEST_F(DemoDriverTest, CloseRequestEndsTheLoopAfterTheCurrentFrame) {
    DemoDriver driver(smallWindow());
    ASSERT_TRUE(driver.startUp());
    const std::uint32_t id = driver.window()->platformWindow()->id();

    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = id;
    ASSERT_EQ(SDL_PushEvent(&close), 1) << SDL_GetError();
    const std::uint64_t before = driver.frameLoop()->frameCount();
    driver.runFrames();
    EXPECT_EQ(driver.frameLoop()->frameCount(), before + 1);
    EXPECT_TRUE(driver.window()->quitRequested());
    driver.shutDown();
    EXPECT_EQ(g_window, nullptr);
}

TEST_F(DemoDriverTest, StartUpFailuresEndTheProgramInOrderWithAFailureExitCode) {
    DemoDriver::Options noDirect3D = smallWindow();
    noDirect3D.createDirect3D = [] { return static_cast<IDirect3D9*>(nullptr); };
    DemoDriver::Options noMusic = smallWindow();
    noMusic.musicFile = "data/no-such-track.mp3";
    // A file that is there but holds no music: its own message, naming it.
    DemoDriver::Options badMusic = smallWindow();
    badMusic.musicFile = "data/loading.jpg";
    const struct {
        DemoDriver::Options options;
        const char* message;
    } cases[] = {{noDirect3D, "Direct3DCreate9 failed!"},
                 {noMusic, "Couldn't open file!"},
                 {badMusic, "Couldn't decode data/loading.jpg: "}};
    for (const auto& c : cases) {
        os::clearQuitRequest();
        boxes.clear();
        DemoDriver driver(c.options);
        EXPECT_EQ(driver.run(), DemoDriver::kFailedExitCode);
        EXPECT_EQ(driver.frameLoop(), nullptr) << c.message;
        ASSERT_EQ(boxes.count(), 1u) << c.message;
        EXPECT_EQ(boxes.records()[0].caption, "error");
        EXPECT_TRUE(boxes.records()[0].text.starts_with(c.message)) << boxes.records()[0].text;
        EXPECT_TRUE(os::quitRequested()) << c.message;
        EXPECT_EQ(device(), nullptr) << "shutdown released the device: " << c.message;
        EXPECT_EQ(g_window, nullptr);
    }
    EXPECT_EQ(reports.count(), 0u);
}

// The content's meshes hold buffers of the device. Unless the shutdown destroys the content
// first, the device outlives the graphics context's release, and every further start-up in the
// same process (offline capture sessions) leaves a whole production and device behind.
TEST_F(DemoDriverTest, ShutdownReleasesTheContentAndWithItEveryObjectOfTheDevice) {
    RecordingDirect3D* direct3D = nullptr;
    DemoDriver::Options options = smallWindow();
    options.createDirect3D = [&direct3D] {
        direct3D = new RecordingDirect3D();
        direct3D->AddRef();  // the test's own, to reach the device after the window is gone
        return static_cast<IDirect3D9*>(direct3D);
    };
    ZeroClock clock;
    options.clock = &clock;
    DemoDriver driver(options);
    ASSERT_TRUE(driver.startUp());
    ASSERT_NE(g_content, nullptr);
    RecordingDevice* recording = direct3D->lastDevice();
    ASSERT_NE(recording, nullptr);
    recording->AddRef();

    ASSERT_NE(g_loadingImage, nullptr);
    driver.shutDown();
    EXPECT_EQ(g_content, nullptr);
    // A second start-up shows its own loading screen, not a freed image or none.
    EXPECT_EQ(g_loadingImage, nullptr);
    EXPECT_FALSE(g_loadingDone);
    EXPECT_EQ(recording->liveObjectCount(), 0u)
        << testing::PrintToString(recording->liveObjectNames());
    EXPECT_EQ(recording->Release(), 0u);
    direct3D->Release();
    EXPECT_EQ(reports.count(), 0u);
}

}  // namespace
