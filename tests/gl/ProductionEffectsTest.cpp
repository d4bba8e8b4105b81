// The show's effect files on the OpenGL device, drawn the way the show draws them: parameters set
// by name, pass 0, and the render utilities' full-screen quad, which sets its own blending
// (SRCALPHA, INVSRCALPHA) and clamps sampler 0 after the pass has begun.
// Setting KELVO_EFFECT_PREVIEWS to a folder also writes preview pictures of each part there.
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "gfx/GraphicsContext.h"
#include "gfx/Matrix.h"
#include "gfx/RenderUtils.h"
#include "platform/d3dx9/d3dx9.h"
#include "tests/gl/GLDeviceFixture.h"

namespace {

using kelvo::Matrix;

constexpr const char* kTubes[] = {"tube.fxo", "tube2x.fxo", "zoot.fxo"};

int channel(D3DCOLOR c, int shift) {
    return int((c >> shift) & 0xFF);
}
int luminance(D3DCOLOR c) {
    return channel(c, 16) + channel(c, 8) + channel(c, 0);
}

class ProductionEffectsTest : public GLDeviceFixture {
protected:
    void SetUp() override {
        GLDeviceFixture::SetUp();
        kelvo::GraphicsContext::instance().device = device_;
    }

    void TearDown() override {
        for (ID3DXEffect* effect : effects_) {
            effect->Release();
        }
        for (IDirect3DTexture9* texture : textures_) {
            texture->Release();
        }
        kelvo::GraphicsContext::instance().device = nullptr;
        GLDeviceFixture::TearDown();
    }

    ID3DXEffect* load(const std::string& name) {
        if (auto found = loaded_.find(name); found != loaded_.end()) {
            return found->second;
        }
        std::ifstream in("data/" + name, std::ios::binary);
        EXPECT_TRUE(in) << name;
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        ID3DXEffect* effect = nullptr;
        EXPECT_EQ(D3DXCreateEffect(device_, text.data(), UINT(text.size()), nullptr, nullptr, 0,
                                   nullptr, &effect, nullptr),
                  D3D_OK)
            << name;
        if (effect != nullptr) {
            effects_.push_back(effect);
            loaded_[name] = effect;
        }
        return effect;
    }

    IDirect3DTexture9* texture(UINT w, UINT h, const std::vector<D3DCOLOR>& texels) {
        IDirect3DTexture9* t = makeTexture(w, h, D3DFMT_A8R8G8B8, 0);
        D3DLOCKED_RECT locked{};
        EXPECT_EQ(t->LockRect(0, &locked, nullptr, 0), D3D_OK);
        for (UINT y = 0; y < h; ++y) {
            auto* row =
                reinterpret_cast<D3DCOLOR*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
            std::copy_n(&texels[std::size_t(y) * w], w, row);
        }
        t->UnlockRect(0);
        textures_.push_back(t);
        return t;
    }

    IDirect3DTexture9* solid(D3DCOLOR c) { return texture(1, 1, {c}); }

    IDirect3DTexture9* imageFile(const std::string& name) {
        std::ifstream in("data/" + name, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        IDirect3DTexture9* t = nullptr;
        EXPECT_EQ(D3DXCreateTextureFromFileInMemoryEx(
                      device_, bytes.data(), UINT(bytes.size()), D3DX_DEFAULT, D3DX_DEFAULT, 0, 0,
                      D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr,
                      nullptr, &t),
                  D3D_OK)
            << name;
        if (t != nullptr) {
            textures_.push_back(t);
        }
        return t;
    }

    // One pass of the effect over the quad into the bound target, which is first cleared to
    // clearColour when clear is set.
    void draw(ID3DXEffect* effect, const char* technique, bool clear = true,
              D3DCOLOR clearColour = 0) {
        if (clear) {
            ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, clearColour, 1, 0), D3D_OK);
        }
        ASSERT_EQ(effect->SetTechnique(technique), D3D_OK);
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        ASSERT_EQ(effect->Begin(nullptr, 0), D3D_OK);
        ASSERT_EQ(effect->BeginPass(0), D3D_OK);
        kelvo::drawFullscreenQuad(nullptr, 1.0f, 0.0f, D3DBLEND_INVSRCALPHA, false);
        ASSERT_EQ(effect->EndPass(), D3D_OK);
        ASSERT_EQ(effect->End(), D3D_OK);
        ASSERT_EQ(device_->EndScene(), D3D_OK);
    }

    void tubeValues(ID3DXEffect* tube, const Matrix& inverseView, float scroll, float scale,
                    float time, IDirect3DTexture9* image) {
        const Matrix identity = Matrix::identity();
        const float uvAdd[2] = {0.0f, scroll};
        EXPECT_EQ(tube->SetMatrix("worldViewProjection", &identity), D3D_OK);
        EXPECT_EQ(tube->SetMatrix("ortho", &identity), D3D_OK);
        EXPECT_EQ(tube->SetMatrix("wvp", &inverseView), D3D_OK);
        EXPECT_EQ(tube->SetFloatArray("uvAdd", uvAdd, 2), D3D_OK);
        EXPECT_EQ(tube->SetFloat("uScale", scale), D3D_OK);
        EXPECT_EQ(tube->SetFloat("time", time), D3D_OK);
        EXPECT_EQ(tube->SetTexture("tex", image), D3D_OK);
    }

    void textValues(ID3DXEffect* text, const Matrix& transform, float thickness, float weight,
                    float alpha, IDirect3DTexture9* image) {
        EXPECT_EQ(text->SetMatrix("worldViewProjection", &transform), D3D_OK);
        EXPECT_EQ(text->SetFloat("textThickness", thickness), D3D_OK);
        EXPECT_EQ(text->SetFloat("textWeight", weight), D3D_OK);
        EXPECT_EQ(text->SetFloat("textAlpha", alpha), D3D_OK);
        EXPECT_EQ(text->SetTexture("tex", image), D3D_OK);
    }

    std::vector<ID3DXEffect*> effects_;
    std::map<std::string, ID3DXEffect*> loaded_;
    std::vector<IDirect3DTexture9*> textures_;
};

Matrix inverseView(kelvo::Vec3 eye, kelvo::Vec3 dir, kelvo::Vec3 up) {
    return kelvo::inverse(kelvo::lookAtLH(eye, {eye.x + dir.x, eye.y + dir.y, eye.z + dir.z}, up));
}

Matrix scaled(float s) {
    Matrix m = Matrix::identity();
    m(0, 0) = m(1, 1) = m(2, 2) = s;
    return m;
}

// A soft square "letter" in the middle of a 16 x 16 image, falling off like the show's pictures:
// 1 inside, 0.95 on the outline, fading to 0 four texels outside.
std::vector<D3DCOLOR> softSquare() {
    std::vector<D3DCOLOR> texels(256);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const float outside =
                float(std::max(std::abs(2 * x - 15), std::abs(2 * y - 15)) - 7) / 2.0f;
            const float b = outside <= 0.0f
                                ? 1.0f
                                : 0.95f * std::pow(std::max(0.0f, 1.0f - outside / 4.0f), 2.0f);
            const auto v = BYTE(std::lround(b * 255.0f));
            texels[std::size_t(y) * 16 + x] = D3DCOLOR_ARGB(255, v, v, v);
        }
    }
    return texels;
}

TEST_F(ProductionEffectsTest, EveryEffectAcceptsTheParametersTheShowSets) {
    const Matrix identity = Matrix::identity();
    IDirect3DTexture9* image = solid(D3DCOLOR_ARGB(255, 255, 255, 255));
    const float pair[2] = {0.0f, 100.0f};
    for (const char* name : kTubes) {
        ID3DXEffect* tube = load(name);
        ASSERT_NE(tube, nullptr);
        EXPECT_EQ(tube->SetTechnique("Tube"), D3D_OK) << name;
        for (const char* matrix : {"worldViewProjection", "wvp", "ortho"}) {
            EXPECT_EQ(tube->SetMatrix(matrix, &identity), D3D_OK) << name << " " << matrix;
        }
        for (const char* tex : {"tex", "depthTex", "normTex"}) {
            EXPECT_EQ(tube->SetTexture(tex, image), D3D_OK) << name << " " << tex;
        }
        EXPECT_EQ(tube->SetFloatArray("uvAdd", pair, 2), D3D_OK) << name;
        EXPECT_EQ(tube->SetFloat("uScale", 0.001f), D3D_OK) << name;
        EXPECT_EQ(tube->SetFloat("time", 1.0f), D3D_OK) << name;
    }
    ID3DXEffect* text = load("textGRR.fxo");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->SetTechnique("text"), D3D_OK);
    EXPECT_EQ(text->SetMatrix("worldViewProjection", &identity), D3D_OK);
    for (const char* tex : {"tex", "depthTex", "normTex"}) {
        EXPECT_EQ(text->SetTexture(tex, nullptr), D3D_OK) << tex;
    }
    for (const char* value : {"time", "textThickness", "textWeight", "textAlpha"}) {
        EXPECT_EQ(text->SetFloat(value, 0.5f), D3D_OK) << value;
    }
    ID3DXEffect* fade = load("Fade.fxo");
    ASSERT_NE(fade, nullptr);
    EXPECT_EQ(fade->SetTechnique("Fadetin"), D3D_OK);
    EXPECT_EQ(fade->SetMatrix("worldViewProjection", &identity), D3D_OK);
    EXPECT_EQ(fade->SetTexture("tex", image), D3D_OK);
    EXPECT_EQ(fade->SetFloat("Fadetin_", 0.5f), D3D_OK);
}

// A plain grey tube seen from an eye near its +x wall: the near wall is bright, the far wall dim.
// The inverse view both moves the eye (its translation row) and turns the view (its rotation rows),
// so a transposed or ignored matrix puts the bright side elsewhere or nowhere.
TEST_F(ProductionEffectsTest, TubesFollowTheInverseViewMatrix) {
    IDirect3DTexture9* grey = solid(D3DCOLOR_ARGB(255, 48, 48, 48));
    auto columnSum = [](const std::vector<D3DCOLOR>& p, UINT x) {
        int sum = 0;
        for (UINT y = 0; y < kHeight; ++y)
            sum += luminance(p[y * kWidth + x]);
        return sum;
    };
    auto rowSum = [](const std::vector<D3DCOLOR>& p, UINT y) {
        int sum = 0;
        for (UINT x = 0; x < kWidth; ++x)
            sum += luminance(p[y * kWidth + x]);
        return sum;
    };
    for (const char* name : kTubes) {
        ID3DXEffect* tube = load(name);
        ASSERT_NE(tube, nullptr);
        // Looking along +z: world +x is to the right.
        tubeValues(tube, inverseView({0.5f, 0, 0}, {0, 0, 1}, {0, 1, 0}), 0, 0.001f, 0, grey);
        draw(tube, "Tube");
        auto p = readBackBuffer();
        EXPECT_GT(columnSum(p, kWidth - 1), columnSum(p, 0) * 11 / 10) << name;
        // Looking along -z: world +x is to the left.
        tubeValues(tube, inverseView({0.5f, 0, 0}, {0, 0, -1}, {0, 1, 0}), 0, 0.001f, 0, grey);
        draw(tube, "Tube");
        p = readBackBuffer();
        EXPECT_GT(columnSum(p, 0), columnSum(p, kWidth - 1) * 11 / 10) << name;
        // Rolled so that the view's up is world -x: world +x is at the bottom.
        tubeValues(tube, inverseView({0.5f, 0, 0}, {0, 0, 1}, {-1, 0, 0}), 0, 0.001f, 0, grey);
        draw(tube, "Tube");
        p = readBackBuffer();
        EXPECT_GT(rowSum(p, kHeight - 1), rowSum(p, 0) * 11 / 10) << name;
    }
}

// Each part's tube over a striped image: opaque everywhere (the scene copy must cover the frame),
// and showing many stripes at both ends of the scale range, including the smallest 0.001.
TEST_F(ProductionEffectsTest, TubesAreOpaqueAndTexturedAcrossTheScaleRange) {
    std::vector<D3DCOLOR> stripes(64 * 64);
    for (UINT y = 0; y < 64; ++y) {
        for (UINT x = 0; x < 64; ++x) {
            stripes[y * 64 + x] = ((x / 4 + y / 4) % 2) != 0 ? D3DCOLOR_ARGB(255, 255, 255, 255)
                                                             : D3DCOLOR_ARGB(255, 40, 40, 40);
        }
    }
    IDirect3DTexture9* image = texture(64, 64, stripes);
    const Matrix view = inverseView({0.1f, 0.05f, 0}, {0.3f, 0.2f, 1}, {0, 1, 0});
    for (const char* name : kTubes) {
        ID3DXEffect* tube = load(name);
        ASSERT_NE(tube, nullptr);
        for (float scale : {0.001f, 0.3f, 3.0f}) {
            tubeValues(tube, view, 100.0f, scale, 12.0f, image);
            draw(tube, "Tube");
            const auto p = readBackBuffer();
            std::set<int> levels;
            for (D3DCOLOR c : p) {
                EXPECT_EQ(channel(c, 24), 255) << name;
                if (channel(c, 24) != 255)
                    break;
                levels.insert(luminance(c) / 8);
            }
            EXPECT_GT(levels.size(), 12u) << name << " at uScale " << scale;
        }
    }
}

// The overlay is blended into a buffer cleared to transparent black: its alpha there is the
// opacity, so compositing the buffer shows the letters at textAlpha and leaves the rest alone.
TEST_F(ProductionEffectsTest, TextOverlayCoversItsLettersAtItsOpacityAndNothingElse) {
    ID3DXEffect* text = load("textGRR.fxo");
    ASSERT_NE(text, nullptr);
    IDirect3DTexture9* letter = texture(16, 16, softSquare());
    const Matrix identity = Matrix::identity();
    const D3DCOLOR cleared = D3DCOLOR_ARGB(0, 0, 0, 0);
    const UINT mid = kWidth / 2;
    // Thickness 0: the letter's inside only; texels 4..11 of 16 are pixels 16..47 of 64.
    textValues(text, identity, 0.0f, 0.95f, 1.0f, letter);
    draw(text, "text");
    EXPECT_TRUE(near(backBufferPixel(mid, mid), D3DCOLOR_ARGB(255, 255, 255, 255), 3))
        << std::hex << backBufferPixel(mid, mid);
    EXPECT_EQ(backBufferPixel(mid, 9), cleared);
    EXPECT_EQ(backBufferPixel(2, 2), cleared);
    // A glowing band around it when thick, within the falloff only.
    textValues(text, identity, 0.9f, 0.95f, 1.0f, letter);
    draw(text, "text");
    EXPECT_GT(channel(backBufferPixel(mid, 13), 24), 40);
    EXPECT_EQ(backBufferPixel(2, 2), cleared);
    // Half opacity: the buffer's alpha is one half.
    textValues(text, identity, 0.0f, 0.95f, 0.5f, letter);
    draw(text, "text");
    EXPECT_NEAR(channel(backBufferPixel(mid, mid), 24), 128, 3);
    // Opacity beyond 1 is 1, below 0 is 0.
    textValues(text, identity, 0.0f, 0.95f, 1.9f, letter);
    draw(text, "text");
    EXPECT_EQ(channel(backBufferPixel(mid, mid), 24), 255);
    // Alpha 0 and weight 1 draw nothing over an existing picture.
    const D3DCOLOR picture = D3DCOLOR_ARGB(255, 10, 120, 200);
    for (auto [thickness, weight, alpha] :
         {std::tuple{0.5f, 0.95f, 0.0f}, std::tuple{0.0f, 1.0f, 1.0f},
          std::tuple{0.5f, 0.5f, -0.4f}}) {
        textValues(text, identity, thickness, weight, alpha, letter);
        draw(text, "text", true, picture);
        for (UINT y : {2u, mid}) {
            EXPECT_EQ(backBufferPixel(mid, y), picture) << weight << " " << alpha;
        }
    }
    // The transform scales the quad about the centre; a tilt out of the screen plane keeps it.
    Matrix tilt = scaled(3.0f);
    tilt(0, 2) = std::sin(0.2f);
    tilt(2, 0) = -std::sin(0.2f);
    textValues(text, tilt, 0.0f, 0.95f, 1.0f, letter);
    draw(text, "text");
    EXPECT_EQ(channel(backBufferPixel(2, mid), 24), 255);
    EXPECT_EQ(channel(backBufferPixel(kWidth - 3, mid), 24), 255);
}

// The fade shows its source at 1 and black at 0, whatever its buffer held before.
TEST_F(ProductionEffectsTest, FadeTakesTheOverlayAndTheFrameToBlack) {
    ID3DXEffect* fade = load("Fade.fxo");
    ASSERT_NE(fade, nullptr);
    const Matrix identity = Matrix::identity();
    EXPECT_EQ(fade->SetMatrix("worldViewProjection", &identity), D3D_OK);
    auto faded = [&](IDirect3DTexture9* source, float amount) {
        EXPECT_EQ(fade->SetTexture("tex", source), D3D_OK);
        EXPECT_EQ(fade->SetFloat("Fadetin_", amount), D3D_OK);
        draw(fade, "Fadetin");
        return backBufferPixel(kWidth / 2, kHeight / 2);
    };
    const D3DCOLOR opaque = D3DCOLOR_ARGB(255, 200, 100, 40);
    IDirect3DTexture9* source = solid(opaque);
    EXPECT_TRUE(near(faded(source, 1.0f), opaque)) << std::hex << faded(source, 1.0f);
    EXPECT_TRUE(near(faded(source, 0.5f), D3DCOLOR_ARGB(255, 100, 50, 20)));
    EXPECT_TRUE(near(faded(source, 0.0f), D3DCOLOR_ARGB(255, 0, 0, 0)));
    EXPECT_TRUE(near(faded(source, -1.0f), D3DCOLOR_ARGB(255, 0, 0, 0)));

    // The show's source is the overlay's buffer: a render target.
    IDirect3DTexture9* buffer = makeRenderTarget(kWidth, kHeight);
    textures_.push_back(buffer);
    IDirect3DSurface9* bufferSurface = nullptr;
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(buffer->GetSurfaceLevel(0, &bufferSurface), D3D_OK);
    ASSERT_EQ(device_->GetRenderTarget(0, &back), D3D_OK);
    ASSERT_EQ(device_->SetRenderTarget(0, bufferSurface), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, opaque, 1, 0), D3D_OK);
    ASSERT_EQ(device_->SetRenderTarget(0, back), D3D_OK);
    bufferSurface->Release();
    back->Release();
    EXPECT_TRUE(near(faded(buffer, 1.0f), opaque)) << std::hex << faded(buffer, 1.0f);

    // The fade's own buffer is cleared only in depth and still holds an earlier picture; it is
    // drawn over the frame with its alpha. The fade replaces that picture, opaque.
    EXPECT_EQ(fade->SetTexture("tex", source), D3D_OK);
    EXPECT_EQ(fade->SetFloat("Fadetin_", 0.5f), D3D_OK);
    draw(fade, "Fadetin", true, D3DCOLOR_ARGB(128, 10, 250, 90));
    EXPECT_TRUE(near(backBufferPixel(kWidth / 2, kHeight / 2), D3DCOLOR_ARGB(255, 100, 50, 20)));
}

// Not a check: pictures of each part with its typical values, for looking at.
TEST_F(ProductionEffectsTest, PreviewPictures) {
    const char* folder = std::getenv("KELVO_EFFECT_PREVIEWS");
    if (folder == nullptr) {
        GTEST_SKIP() << "set KELVO_EFFECT_PREVIEWS to a folder to write previews";
    }
    constexpr UINT w = 480;
    constexpr UINT h = 270;
    IDirect3DTexture9* sceneTarget = makeRenderTarget(w, h);
    IDirect3DTexture9* overlayTarget = makeRenderTarget(w, h);
    IDirect3DTexture9* fadeTarget = makeRenderTarget(w, h);
    IDirect3DSurface9* back = nullptr;
    IDirect3DSurface9* depth = nullptr;
    ASSERT_EQ(device_->GetRenderTarget(0, &back), D3D_OK);
    ASSERT_EQ(device_->GetDepthStencilSurface(&depth), D3D_OK);
    ASSERT_EQ(device_->SetDepthStencilSurface(nullptr), D3D_OK);
    auto bind = [&](IDirect3DTexture9* t) {
        IDirect3DSurface9* s = nullptr;
        t->GetSurfaceLevel(0, &s);
        device_->SetRenderTarget(0, s);
        const D3DVIEWPORT9 viewport{0, 0, w, h, 0.0f, 1.0f};
        device_->SetViewport(&viewport);
        s->Release();
    };
    auto surfacePixels = [&](IDirect3DTexture9* t) {
        IDirect3DSurface9* s = nullptr;
        t->GetSurfaceLevel(0, &s);
        auto p = readBack(s);
        s->Release();
        return p;
    };
    IDirect3DTexture9* nebula = imageFile("nieluspace.jpg");
    IDirect3DTexture9* stars = imageFile("stars.jpg");
    struct Shot {
        const char* file;
        const char* tube;
        IDirect3DTexture9* tubeImage;
        Matrix view;
        float scroll, scale, time;
        const char* overlay;
        Matrix transform;
        float thickness, weight, alpha, fade;
    };
    const Shot shots[] = {
        {"part0_10s",
         "tube.fxo",
         nebula,
         inverseView({0, 0.01f, 0}, {0, 0, 1}, {1, 0, 0}),
         87,
         0.0014f,
         10,
         nullptr,
         {},
         0,
         1,
         0,
         1},
        {"part0_50s",
         "tube.fxo",
         nebula,
         inverseView({0, 0.0278f, 0}, {0, 0, 1}, {1, 0, 0}),
         116,
         0.0036f,
         50,
         nullptr,
         {},
         0,
         1,
         0,
         1},
        {"part0_flash", "tube.fxo", nebula, inverseView({0, 0.0278f, 0}, {0, 0, 1}, {1, 0, 0}), 118,
         0.0039f, 53.7f, "nieluspace.jpg", scaled(1.4f), 1, 0.5f, 0.45f, 1},
        {"part0_logo", "tube.fxo", nebula, inverseView({0, 0, 0}, {0, 0, 1}, {0.9f, -0.3f, 0}), 122,
         0.35f, 61, "vor2010.png", scaled(0.9f), 0.3f, 0.7f, 1, 1},
        {"part1_shot0", "tube2x.fxo", stars,
         inverseView({0.9f, -0.13f, -0.39f}, {0, 0, 1}, {1, 0.02f, 0}), 125, 3.0f, 75, "text2.jpg",
         scaled(1.1f), 0.1f, 0.95f, 1, 1},
        {"part1_shot2", "tube2x.fxo", stars,
         inverseView({0.5f, 1.02f, -0.16f}, {0.36f, -0.88f, 0.29f}, {-0.57f, 0.15f, 0.81f}), 125,
         0.001f, 77, "text4.jpg", Matrix::identity(), 0.1f, 0.95f, 1, 1},
        {"part2_start", "zoot.fxo", stars,
         inverseView({0.05f, 0.02f, 0.2f}, {0.05f, 0.03f, 1}, {0, 1, 0}), 125, 0.001f, 113,
         "credz.jpg", Matrix::identity(), 0.1f, 0.5f, 0.4f, 0.93f},
        {"part2_mid", "zoot.fxo", stars,
         inverseView({-0.05f, 0.06f, 0.4f}, {-0.04f, 0.02f, 1}, {0, 1, 0}), 125, 0.001f, 119,
         "credz.jpg", Matrix::identity(), 0.5f, 0.96f, 1, 0.5f},
    };
    for (const Shot& shot : shots) {
        ID3DXEffect* tube = load(shot.tube);
        ASSERT_NE(tube, nullptr);
        bind(sceneTarget);
        tubeValues(tube, shot.view, shot.scroll, shot.scale, shot.time, shot.tubeImage);
        draw(tube, "Tube", true, 0);
        std::vector<D3DCOLOR> frame = surfacePixels(sceneTarget);
        if (shot.overlay != nullptr) {
            ID3DXEffect* text = load("textGRR.fxo");
            bind(overlayTarget);
            textValues(text, shot.transform, shot.thickness, shot.weight, shot.alpha,
                       imageFile(shot.overlay));
            EXPECT_EQ(text->SetFloat("time", shot.time), D3D_OK);
            draw(text, "text", true, 0);
            IDirect3DTexture9* last = overlayTarget;
            if (shot.fade < 1.0f) {
                ID3DXEffect* fade = load("Fade.fxo");
                bind(fadeTarget);
                const Matrix identity = Matrix::identity();
                EXPECT_EQ(fade->SetMatrix("worldViewProjection", &identity), D3D_OK);
                EXPECT_EQ(fade->SetTexture("tex", overlayTarget), D3D_OK);
                EXPECT_EQ(fade->SetFloat("Fadetin_", shot.fade), D3D_OK);
                draw(fade, "Fadetin", true, 0);
                last = fadeTarget;
            }
            const auto over = surfacePixels(last);
            for (std::size_t i = 0; i < frame.size(); ++i) {
                const int a = channel(over[i], 24);
                D3DCOLOR mixed = 0xFF000000u;
                for (int shift : {16, 8, 0}) {
                    const int v =
                        (channel(over[i], shift) * a + channel(frame[i], shift) * (255 - a)) / 255;
                    mixed |= D3DCOLOR(v) << shift;
                }
                frame[i] = mixed;
            }
        }
        std::vector<unsigned char> rgb;
        for (D3DCOLOR c : frame) {
            rgb.insert(rgb.end(), {BYTE(channel(c, 16)), BYTE(channel(c, 8)), BYTE(channel(c, 0))});
        }
        const std::string path = std::string(folder) + "/" + shot.file + ".png";
        EXPECT_NE(stbi_write_png(path.c_str(), w, h, 3, rgb.data(), w * 3), 0) << path;
    }
    device_->SetRenderTarget(0, back);
    device_->SetDepthStencilSurface(depth);
    back->Release();
    depth->Release();
    for (IDirect3DTexture9* t : {sceneTarget, overlayTarget, fadeTarget})
        t->Release();
}

}  // namespace
