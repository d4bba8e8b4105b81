// The bloom on the OpenGL device: a bright square on black glows into its surroundings while
// black far from it stays black.
#include "gfx/BloomEffect.h"
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

class GLBloomEffectTest : public EngineGLFixture {};

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
