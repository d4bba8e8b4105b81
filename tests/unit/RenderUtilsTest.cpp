#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "EngineTestBase.h"
#include "gfx/RenderTarget.h"
#include "gfx/RenderUtils.h"
#include "platform/os/AssertionCapture.h"

using os::AssertionRecord;

namespace {

const std::string kIdentity = "[1 0 0 0 | 0 1 0 0 | 0 0 1 0 | 0 0 0 1]";
// D3DXMatrixOrthoLH(2, 2, 0, 1): the identity in value, with zn / (zn - zf) = -0.
const std::string kOrtho = "[1 0 0 0 | 0 1 0 0 | 0 0 1 0 | 0 0 -0 1]";

class RenderUtilsTest : public EngineTestBase {
protected:
    void SetUp() override {
        EngineTestBase::SetUp();
        device->setRecordQueries(false);
        // The device draws only inside a scene, as Direct3D does.
        device->BeginScene();
        device->clearCalls();
    }

    // A target to draw through as a texture.
    kelvo::RenderTarget& picture() {
        if (picture_.getTexture() == nullptr) {
            picture_.create(16, 16);
            device->clearCalls();
        }
        return picture_;
    }

    std::vector<int> reportedLines(const os::AssertionCapture& capture) const {
        std::vector<int> lines;
        for (const AssertionRecord& record : capture.records()) {
            EXPECT_EQ(record.file, "gfx/RenderUtils");
            lines.push_back(record.line);
        }
        return lines;
    }

    // The float at a byte offset of vertex i of the last quad drawn.
    float at(UINT vertex, UINT offset) const {
        const auto& draw = device->lastDrawUP();
        return draw ? draw->floatAt(vertex, offset) : std::numeric_limits<float>::quiet_NaN();
    }
    float x(UINT vertex) const { return at(vertex, 0); }
    float y(UINT vertex) const { return at(vertex, 4); }

private:
    kelvo::RenderTarget picture_;
};

}  // namespace

TEST_F(RenderUtilsTest, ClearsPassColourAlphaFirstAndDepthOne) {
    kelvo::clearColorAndDepth(255, 128, 128, 128);
    kelvo::clearDepth();
    EXPECT_EQ(device->calls(), (std::vector<std::string>{
                                   "Clear(0, null, 0x3, 0xff808080, 1, 0)",
                                   "Clear(0, null, 0x2, 0x00000000, 1, 0)",
                               }));
    EXPECT_EQ(device->backBuffer().pixel(5, 5), 0xFF808080u);
}

TEST_F(RenderUtilsTest, UntexturedQuadSetsBlendingAndDrawsWithDepthWritesOff) {
    kelvo::drawFullscreenQuad(nullptr, 1.0f, 0.0f, D3DBLEND_ONE, false);
    EXPECT_EQ(device->calls(), (std::vector<std::string>{
                                   "SetRenderState(D3DRS_ZWRITEENABLE, 0)",
                                   "SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA)",
                                   "SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE)",
                                   "SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD)",
                                   "SetRenderState(D3DRS_ALPHABLENDENABLE, 1)",
                                   "SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP)",
                                   "SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP)",
                                   "SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1)",
                                   "SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TFACTOR)",
                                   "SetRenderState(D3DRS_TEXTUREFACTOR, 0xff000000)",
                                   "SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE)",
                                   "SetFVF(D3DFVF_XYZ|D3DFVF_TEX1)",
                                   "DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, stride 20)",
                               }));
    EXPECT_EQ(device->renderState(D3DRS_ZWRITEENABLE), 0u);
}

TEST_F(RenderUtilsTest, TexturedQuadInAScene) {
    kelvo::RenderTarget& texture = picture();
    device->EndScene();
    device->clearCalls();
    kelvo::drawFullscreenQuad(&texture, 0.5f, 0.0f, D3DBLEND_INVSRCALPHA, true);
    const std::vector<std::string> calls = device->calls();
    const std::vector<std::string> textured(calls.begin() + 10, calls.end());
    EXPECT_EQ(textured, (std::vector<std::string>{
                            "SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1)",
                            "SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE)",
                            "SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE)",
                            "SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TFACTOR)",
                            "SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TEXTURE)",
                            "SetTexture(0, " + device->nameOf(texture.getTexture()) + ")",
                            "SetTransform(D3DTS_PROJECTION, " + kOrtho + ")",
                            "SetTransform(D3DTS_VIEW, " + kIdentity + ")",
                            "SetTransform(D3DTS_WORLD, " + kIdentity + ")",
                            "SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR)",
                            "SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR)",
                            "SetRenderState(D3DRS_ZWRITEENABLE, 1)",
                            "SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE)",
                            "SetFVF(D3DFVF_XYZ|D3DFVF_TEX1)",
                            "BeginScene()",
                            "DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, stride 20)",
                            "EndScene()",
                        }));
    EXPECT_EQ(calls[2], "SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA)");
}

TEST_F(RenderUtilsTest, AlphaBecomesTheTopByteOfTheTextureFactor) {
    const struct {
        float alpha;
        DWORD factor;
    } cases[] = {
        {-0.5f, 0u},         {0.0f, 0u},          {0.5f, 127u << 24},  // truncated
        {1.0f, 0xFF000000u}, {1.5f, 0xFF000000u}, {std::numeric_limits<float>::quiet_NaN(), 0u},
    };
    for (const auto& c : cases) {
        kelvo::drawFullscreenQuad(nullptr, c.alpha, 0.0f, D3DBLEND_ONE, false);
        EXPECT_EQ(device->renderState(D3DRS_TEXTUREFACTOR), c.factor) << c.alpha;
    }
}

TEST_F(RenderUtilsTest, GrowEnlargesTheQuadKeepingThePictureAspect) {
    kelvo::drawFullscreenQuad(nullptr, 1.0f, 0.0f, D3DBLEND_ONE, false);
    const float corners[6][4] = {{-1, -1, 0, 1}, {-1, 1, 0, 0}, {1, 1, 1, 0},
                                 {1, 1, 1, 0},   {1, -1, 1, 1}, {-1, -1, 0, 1}};
    for (UINT i = 0; i < 6; ++i) {
        EXPECT_EQ(x(i), corners[i][0]) << i;
        EXPECT_EQ(y(i), corners[i][1]) << i;
        EXPECT_EQ(at(i, 8), 0.0f) << i;
        EXPECT_EQ(at(i, 12), corners[i][2]) << i;
        EXPECT_EQ(at(i, 16), corners[i][3]) << i;
    }

    // A buffer wider than 16:9 is pillarboxed to an exact 1600 x 900 picture.
    viewports.setBackBuffer(1700, 900, 16.0f / 9.0f);
    kelvo::drawFullscreenQuad(nullptr, 1.0f, 0.16f, D3DBLEND_ONE, false);
    EXPECT_NEAR(x(0), -1.16f, 1e-6f);
    EXPECT_NEAR(y(0), -1.09f, 1e-6f);
    EXPECT_NEAR(x(2), 1.16f, 1e-6f);
    EXPECT_NEAR(y(2), 1.09f, 1e-6f);
}

TEST_F(RenderUtilsTest, QuadWithViewAddsTheTextureThroughTheView) {
    kelvo::RenderTarget& texture = picture();
    kelvo::Matrix view = kelvo::Matrix::identity();
    view(3, 0) = 0.25f;
    kelvo::drawQuadWithView(&texture, view);
    EXPECT_EQ(device->calls(),
              (std::vector<std::string>{
                  "SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_ADD)",
                  "SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE)",
                  "SetTexture(0, " + device->nameOf(texture.getTexture()) + ")",
                  "SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP)",
                  "SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP)",
                  "SetTransform(D3DTS_PROJECTION, " + kOrtho + ")",
                  "SetTransform(D3DTS_VIEW, [1 0 0 0 | 0 1 0 0 | 0 0 1 0 | 0.25 0 0 1])",
                  "SetTransform(D3DTS_WORLD, " + kIdentity + ")",
                  "SetFVF(D3DFVF_XYZ|D3DFVF_TEX1)",
                  "SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE)",
                  "DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, stride 20)",
              }));
}

TEST_F(RenderUtilsTest, FailingCallsAreReportedWithTheirLinesAndDrawingGoesOn) {
    kelvo::RenderTarget& texture = picture();
    const struct {
        const char* operation;
        std::vector<int> quadLines;
        std::vector<int> viewLines;
    } cases[] = {
        {"SetRenderState", {50, 52, 53, 54, 55, 67, 87}, {}},
        {"SetSamplerState", {57, 58, 85, 86}, {120, 121}},
        {"SetTextureStageState", {60, 61, 71, 72, 75, 76, 77}, {116, 117}},
        {"SetTexture", {79}, {118}},
        {"SetTransform", {81, 82, 83}, {123, 124, 125}},
        {"SetFVF", {92}, {127}},
        {"DrawPrimitiveUP", {95}, {129}},
    };
    for (const auto& c : cases) {
        device->failCall(c.operation, D3DERR_INVALIDCALL);
        {
            os::AssertionCapture capture;
            kelvo::drawFullscreenQuad(&texture, 1.0f, 0.0f, D3DBLEND_ONE, false);
            EXPECT_EQ(reportedLines(capture), c.quadLines) << c.operation;
        }
        {
            os::AssertionCapture capture;
            kelvo::drawQuadWithView(&texture, kelvo::Matrix::identity());
            EXPECT_EQ(reportedLines(capture), c.viewLines) << c.operation;
        }
        EXPECT_EQ(device->countCalls("DrawPrimitiveUP"), 2u) << c.operation;
        device->clearFailures();
        device->clearCalls();
    }

    device->failCall("Clear", D3DERR_INVALIDCALL);
    os::AssertionCapture capture;
    kelvo::clearColorAndDepth(0, 0, 0, 0);
    kelvo::clearDepth();
    EXPECT_EQ(reportedLines(capture), (std::vector<int>{14, 19}));
}
