#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineTestBase.h"
#include "gfx/BloomEffect.h"
#include "gfx/DataFileCache.h"
#include "gfx/MotionblurEffect.h"
#include "gfx/RenderTarget.h"
#include "platform/os/AssertionCapture.h"

namespace {

class Source : public kelvo::BufferRenderable {
public:
    void render(float, bool) override {}
};

class BloomEffectTest : public EngineTestBase {
protected:
    void SetUp() override {
        EngineTestBase::SetUp();
        device->setRecordQueries(false);
    }

    // Effect and device calls that show the passes' structure.
    std::vector<std::string> passCalls() const {
        std::vector<std::string> out;
        for (const std::string& call : device->calls()) {
            for (const char* prefix :
                 {"Effect.Begin", "Effect.End", "Effect.SetTexture", "SetRenderTarget(0",
                  "BeginScene", "EndScene", "DrawPrimitiveUP", "Clear"}) {
                if (call.rfind(prefix, 0) == 0) {
                    out.push_back(call);
                }
            }
        }
        return out;
    }

    Source source;
};

TEST_F(BloomEffectTest, RunsBothPassesThroughAPooledIntermediateTarget) {
    kelvo::BloomEffect bloom(&source, 0.01f, 1.0f, 20.0f, 8);
    bloom.getBuffer();
    source.getBuffer();
    device->clearCalls();
    os::AssertionCapture reports;
    bloom.renderToBuffer(1.0f, false);

    const std::vector<std::string> expected{
        "SetRenderTarget(0, tex#1[0])",  // the bloom's own buffer
        "Clear(0, null, 0x2, 0x00000000, 1, 0)",
        "Effect.SetTexture(\"tex\", texture) -> OK",
        "BeginScene()",
        "SetRenderTarget(0, tex#3[0])",  // the intermediate target
        "Effect.Begin(0) -> OK",
        "Clear(0, null, 0x3, 0x00000000, 1, 0)",
        "Effect.BeginPass(0) -> OK",
        "DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, stride 20)",
        "Effect.EndPass() -> OK",
        "Effect.End() -> OK",
        "SetRenderTarget(0, tex#1[0])",
        "Effect.SetTexture(\"tex\", texture) -> OK",
        "Effect.Begin(0) -> OK",
        "Effect.BeginPass(1) -> OK",
        "DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, stride 20)",
        "Effect.EndPass() -> OK",
        "Effect.End() -> OK",
        "EndScene()",
        "SetRenderTarget(0, backbuffer)"};
    EXPECT_EQ(passCalls(), expected);
    EXPECT_TRUE(reports.records().empty());
    // The intermediate target is back in the pool, free for the next user.
    EXPECT_EQ(kelvo::GraphicsContext::instance().freeRenderTargets.size(), 1u);
    float value = 0.0f;
    bloom.shader.effect()->GetFloat("power", &value);
    EXPECT_EQ(value, 20.0f);
}

TEST_F(BloomEffectTest, SceneBracketFailuresAreReportedAtTheirLines) {
    kelvo::BloomEffect bloom(&source, 0.01f, 1.0f, 2.0f, 666);
    device->failCall("BeginScene", D3DERR_INVALIDCALL);
    device->failCall("EndScene", D3DERR_INVALIDCALL);
    os::AssertionCapture reports;
    bloom.render(0.0f, true);
    std::vector<int> lines;
    for (const auto& record : reports.records()) {
        if (record.file == "gfx/BloomEffect") {
            lines.push_back(record.line);
        }
    }
    EXPECT_EQ(lines, (std::vector<int>{38, 57}));
}

TEST_F(BloomEffectTest, MotionBlurLoadsItsEffectWithoutRendering) {
    kelvo::MotionblurEffect blur(source.getBuffer(), nullptr, nullptr, 1.0f);
    EXPECT_NE(kelvo::findDataFile("MappedBlur.fxo"), nullptr);
    EXPECT_NE(blur.shader.effect(), nullptr);
    EXPECT_EQ(device->countCalls("Effect.Begin"), 0u);
}

}  // namespace
