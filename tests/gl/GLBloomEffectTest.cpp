// The bloom on the OpenGL device: a bright square on black glows into its surroundings while
// black far from it stays black, alone and through the show's whole overlay chain to the screen.
#include <array>

#include "demo/MusicClockGlobals.h"
#include "demo/Overlays.h"
#include "demo/ProductionParameters.h"
#include "gfx/BloomEffect.h"
#include "gfx/RenderUtils.h"
#include "platform/os/AssertionCapture.h"
#include "tests/gl/EngineGLFixture.h"

namespace {

// A picture filled directly: black with a white square in the middle.
class BrightSpot : public kelvo::BufferRenderable {
public:
    void render(float, bool) override {}

    void paint(IDirect3DDevice9* device) {
        IDirect3DSurface9* surface = getBuffer()->surface();
        device->ColorFill(surface, nullptr, D3DCOLOR_ARGB(255, 0, 0, 0));
        const RECT square{26, 26, 38, 38};
        device->ColorFill(surface, &square, D3DCOLOR_ARGB(255, 255, 255, 255));
    }
};

class GLBloomEffectTest : public EngineGLFixture {
protected:
    void TearDown() override {
        g_spectrum = nullptr;
        g_demoPart = 0;
        resetProductionParameters();
        EngineGLFixture::TearDown();
    }

    // One frame's overlay drawing in the second part over the square as the scene: the scene
    // copied to the back buffer as the stage does, then the chain (bloom, text overlay with
    // nothing to show) composited over it. s2 is spread over the spectrum's eleven high bins.
    std::vector<D3DCOLOR> frameOverSquare(float s2) {
        resetProductionParameters();
        g_bloomRadius = 0.1f;
        g_bloomAlpha = 0.0f;
        g_bloomPower = 2.0f;
        g_textAlpha = 0.0f;
        spectrum.fill(0.0f);
        for (int bin = 49; bin <= 59; ++bin) {
            spectrum[static_cast<std::size_t>(bin)] = s2 / 11.0f;
        }
        g_spectrum = spectrum.data();
        g_demoPart = 1;
        g_demoSeconds = 80.0f;

        BrightSpot scene;
        scene.paint(device_);
        device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
        kelvo::drawFullscreenQuad(scene.getBuffer(), 1.0f, 0.0f, D3DBLEND_INVSRCALPHA, true);
        drawOverlays(&scene);
        return readBackBuffer();
    }

    // Pixels beside the square, black in the scene.
    static int besideTheSquare(const std::vector<D3DCOLOR>& picture) {
        return luminance(at(picture, 40, 32)) + luminance(at(picture, 32, 41));
    }

    std::array<float, 64> spectrum{};
};

TEST_F(GLBloomEffectTest, ABrightSpotGlowsAndBlackStaysBlack) {
    BrightSpot source;
    source.paint(device_);
    kelvo::BloomEffect bloom(&source, 0.1f, 1.0f, 2.0f, 8);
    os::AssertionCapture reports;
    bloom.renderToBuffer(1.0f, true);
    EXPECT_TRUE(reports.records().empty());

    const auto glow = pictureOf(bloom.getBuffer());
    save(pictureOf(source.getBuffer()), "bloom_source");
    save(glow, "bloom_result");
    // Around the square, where the source is black, the glow arrives; it fades with distance.
    const int near = luminance(at(glow, 38, 32));
    const int farther = luminance(at(glow, 44, 32));
    EXPECT_GT(near, 15);
    EXPECT_GT(near, farther);
    EXPECT_GT(luminance(at(glow, 32, 32)), near);
    EXPECT_EQ(luminance(at(glow, 2, 2)), 0);
    EXPECT_EQ(luminance(at(glow, 61, 61)), 0);
}

}  // namespace

namespace {

TEST_F(GLBloomEffectTest, TheGlowReachesTheScreenThroughTheChainAndFollowsTheMusic) {
    os::AssertionCapture reports;
    const auto off = frameOverSquare(0.0f);  // the bloom's alpha is 0
    const auto quiet = frameOverSquare(0.01f);
    const auto loud = frameOverSquare(0.05f);
    EXPECT_TRUE(reports.records().empty());
    save(off, "chain_alpha0");
    save(loud, "chain_loud");

    // No glow: the frame is the scene, black beside the square, white on it.
    EXPECT_EQ(besideTheSquare(off), 0);
    EXPECT_GT(luminance(at(off, 32, 32)), 700);
    // With the music the glow spreads beside the square, more for a louder high band, while
    // the far corner stays black and the square stays white.
    EXPECT_GT(besideTheSquare(quiet), 10);
    EXPECT_GT(besideTheSquare(loud), besideTheSquare(quiet) + 30);
    EXPECT_EQ(luminance(at(loud, 2, 2)), 0);
    EXPECT_GT(luminance(at(loud, 32, 32)), 700);
}

}  // namespace
