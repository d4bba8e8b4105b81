#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineTestBase.h"
#include "TinyEffect.h"
#include "gfx/DataFileCache.h"
#include "gfx/TShader.h"
#include "platform/os/AssertionCapture.h"

using kelvo::TShader;

namespace {

class TShaderTest : public EngineTestBase {
protected:
    void SetUp() override {
        EngineTestBase::SetUp();
        file = writeDataFile("tiny.fxo", kTinyEffect);
        kelvo::preloadDataFile(file);
        device->setRecordQueries(false);
    }

    // The effect calls recorded since the last clearCalls.
    std::vector<std::string> effectCalls() const { return device->callsStartingWith("Effect."); }

    std::vector<int> reportedLines(const os::AssertionCapture& capture) const {
        std::vector<int> lines;
        for (const auto& record : capture.records()) {
            EXPECT_EQ(record.file, "gfx/TShader");
            lines.push_back(record.line);
        }
        return lines;
    }

    std::string file;
};

}  // namespace

TEST_F(TShaderTest, ShadersOfOneFileShareTheEffectAndItsValues) {
    TShader glow("Glow", file);
    TShader flat("Flat", file);
    ASSERT_NE(glow.effect(), nullptr);
    EXPECT_EQ(glow.effect(), flat.effect());
    glow.setFloat("power", 0.75f);
    float power = 0.0f;
    flat.effect()->GetFloat("power", &power);
    EXPECT_EQ(power, 0.75f);
}

TEST_F(TShaderTest, BeginRunsTheTechniqueOnceUntilEnd) {
    TShader shader("Glow", file);
    device->clearCalls();
    EXPECT_EQ(shader.begin(), 2u);
    EXPECT_EQ(shader.begin(), 0u);
    EXPECT_EQ(effectCalls(), (std::vector<std::string>{"Effect.SetTechnique(\"Glow\") -> OK",
                                                       "Effect.Begin(0) -> OK"}));
    shader.end();
    EXPECT_FALSE(shader.isBegun());
    EXPECT_EQ(shader.begin(), 2u);  // again after end, as a second run of the technique does
    shader.end();
    EXPECT_EQ(device->countCalls("Effect.Begin"), 2u);
    EXPECT_EQ(device->countCalls("Effect.End"), 2u);
}

TEST_F(TShaderTest, EndAndDestructionMakeNoEffectCallUnlessBegun) {
    {
        TShader shader("Glow", file);
        device->clearCalls();
        shader.end();
    }
    EXPECT_TRUE(effectCalls().empty());
    {
        TShader shader("Glow", file);
        shader.begin();
        device->clearCalls();
    }
    EXPECT_EQ(effectCalls(), std::vector<std::string>{"Effect.End() -> OK"});
}

TEST_F(TShaderTest, FailingEffectCallsAreReportedWithTheirLines) {
    TShader shader("Glow", file);
    os::AssertionCapture capture;
    shader.beginPass(0);  // outside begin
    shader.endPass();     // no pass active
    shader.setInt("undeclared", 1);
    shader.setBool("undeclared", true);
    shader.setFloat3("undeclared", {});
    shader.setVector("undeclared", {});
    shader.setFloat("undeclared", 1.0f);
    shader.setMatrix("undeclared", kelvo::Matrix::identity());
    shader.setTexture("undeclared", nullptr);
    EXPECT_EQ(reportedLines(capture), (std::vector<int>{89, 94, 44, 45, 49, 50}));

    capture.clear();
    TShader unknown("NoSuchTechnique", file);
    unknown.begin();
    unknown.end();
    EXPECT_THAT(reportedLines(capture), testing::Contains(70));

    // The effect is shared: a second shader cannot begin it while the first one has, and its
    // end must not close the first one's run.
    capture.clear();
    TShader holder("Flat", file);
    holder.begin();
    EXPECT_EQ(shader.begin(), 0u);
    EXPECT_THAT(reportedLines(capture), testing::Contains(71));
    EXPECT_FALSE(shader.isBegun());
    capture.clear();
    shader.end();
    holder.beginPass(0);
    holder.endPass();
    holder.end();
    EXPECT_TRUE(reportedLines(capture).empty());

    // A well-formed draw reports nothing.
    capture.clear();
    shader.begin();
    shader.beginPass(1);
    shader.setFloat("power", 0.5f);
    shader.commitChanges();
    shader.endPass();
    shader.end();
    EXPECT_TRUE(reportedLines(capture).empty());
}

TEST_F(TShaderTest, ShaderWithoutAnEffectReportsAndDrawsNothing) {
    device->failCall("CreateProgram", E_FAIL);
    os::AssertionCapture capture;
    {
        TShader shader("Glow", file);
        EXPECT_EQ(shader.effect(), nullptr);
        capture.clear();
        device->clearCalls();

        EXPECT_EQ(shader.begin(), 0u);
        shader.beginPass(0);
        shader.commitChanges();
        shader.setInt("count", 1);
        shader.setBool("flag", true);
        shader.setFloat3("dir", {});
        shader.setVector("tint", {});
        shader.setFloat("power", 1.0f);
        shader.setMatrix("wvp", kelvo::Matrix::identity());
        shader.setTexture("tex", nullptr);
        shader.setTechnique("Flat");
        shader.endPass();
        shader.end();
        EXPECT_EQ(reportedLines(capture), (std::vector<int>{70, 71, 89, 42, 44, 45, 49, 50, 94}));
        capture.clear();
    }
    EXPECT_TRUE(capture.records().empty());
    EXPECT_TRUE(device->calls().empty());
}
