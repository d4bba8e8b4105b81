#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineTestBase.h"
#include "TinyEffect.h"
#include "gfx/DataFileCache.h"
#include "gfx/EffectHandler.h"
#include "platform/os/AssertionCapture.h"

using kelvo::EffectHandler;
using os::AssertionRecord;

namespace {

class EffectHandlerTest : public EngineTestBase {
protected:
    void SetUp() override {
        EngineTestBase::SetUp();
        file = writeDataFile("tiny.fxo", kTinyEffect);
        kelvo::preloadDataFile(file);
    }

    std::string file;
};

}  // namespace

TEST_F(EffectHandlerTest, OneEffectPerExactName) {
    EffectHandler& handler = EffectHandler::instance();
    ID3DXEffect* effect = handler.getEffect(file);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(handler.getEffect(file), effect);
    EXPECT_EQ(handler.entries().size(), 1u);

    // Another spelling of the same file is another effect.
    const std::string upper = writeDataFile("TINY.fxo", kTinyEffect);
    kelvo::preloadDataFile(upper);
    ID3DXEffect* other = handler.getEffect(upper);
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, effect);
    EXPECT_EQ(handler.entries().size(), 2u);
    EXPECT_EQ(handler.entries()[0].name, file);
    EXPECT_EQ(handler.entries()[1].name, upper);
}

TEST_F(EffectHandlerTest, FailedCreationIsReportedAndTriedAgainOnTheNextRequest) {
    EffectHandler& handler = EffectHandler::instance();
    os::AssertionCapture reports;
    device->failCall("CreateProgram", E_FAIL, 1);
    EXPECT_EQ(handler.getEffect(file), nullptr);
    EXPECT_EQ(reports.records(), (std::vector<AssertionRecord>{{"0", "gfx/EffectHandler", 49}}));

    ID3DXEffect* effect = handler.getEffect(file);
    EXPECT_NE(effect, nullptr);
    EXPECT_EQ(handler.entries().size(), 1u);
    EXPECT_EQ(handler.entries()[0].effect, effect);
    EXPECT_EQ(reports.count(), 1u);
}

TEST_F(EffectHandlerTest, MissingFileIsReported) {
    os::AssertionCapture reports;
    EXPECT_EQ(EffectHandler::instance().getEffect("absent.fxo"), nullptr);
    EXPECT_EQ(reports.records(), (std::vector<AssertionRecord>{{"0", "gfx/EffectHandler", 49}}));
}

TEST_F(EffectHandlerTest, DestroyInstanceReleasesEveryEffectAndLeavesAFreshRegistry) {
    device->AddRef();
    EffectHandler::instance().getEffect(file);
    EffectHandler::destroyInstance();
    EXPECT_EQ(device->liveObjectCount(), 0u) << testing::PrintToString(device->liveObjectNames());
    EXPECT_TRUE(EffectHandler::instance().entries().empty());
    device->Release();
}

TEST_F(EffectHandlerTest, ReleasedEffectsAreCreatedAgainWhenAskedFor) {
    EffectHandler& handler = EffectHandler::instance();
    handler.getEffect(file);
    handler.releaseAll();
    EXPECT_EQ(handler.entries().size(), 1u);
    EXPECT_EQ(handler.entries()[0].effect, nullptr);

    ID3DXEffect* again = handler.getEffect(file);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->SetFloat("power", 2.0f), D3D_OK);
    EXPECT_EQ(handler.entries().size(), 1u);
}
