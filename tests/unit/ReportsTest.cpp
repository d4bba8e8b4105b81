#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <thread>
#include <vector>

#include "gfx/FatalError.h"
#include "gfx/HrCheck.h"
#include "platform/os/AssertionCapture.h"
#include "platform/os/AssertionReport.h"
#include "platform/os/MessageBoxCapture.h"

using os::AssertionRecord;
using os::MessageBoxRecord;

TEST(AssertionReport, WritesTheReportLineAndContinues) {
    os::AssertionCapture capture;
    testing::internal::CaptureStderr();
    os::assertionReport("0", "gfx/TShader", 120);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Assertion failed: 0, file gfx/TShader, line 120\n");
    EXPECT_EQ(capture.records(), (std::vector<AssertionRecord>{{"0", "gfx/TShader", 120}}));
}

TEST(AssertionReport, NestedCapturesTakeReportsInnermostFirst) {
    os::AssertionCapture outer;
    {
        os::AssertionCapture inner;
        os::assertionReport("a", "demo/Main", 1);
        EXPECT_EQ(inner.count(), 1u);
    }
    os::assertionReport("b", "demo/Main", 2);
    EXPECT_EQ(outer.records(), (std::vector<AssertionRecord>{{"b", "demo/Main", 2}}));
}

TEST(AssertionReport, ReportsFromSeveralThreadsAreAllKept) {
    os::AssertionCapture capture;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 50; ++i) {
                os::assertionReport("0", "gfx/RenderUtils", t * 100 + i);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(capture.count(), 200u);
}

TEST(AssertionReportDeathTest, AbortActionEndsTheProcess) {
    EXPECT_DEATH(
        {
            os::setAssertionAction(os::AssertionAction::Abort);
            os::assertionReport("0", "demo/Main", 7);
        },
        "Assertion failed: 0, file demo/Main, line 7");
}

namespace {

std::vector<std::string> questionsPut;

os::AssertionAction continueAndRecord(const std::string& report) {
    questionsPut.push_back(report);
    return os::AssertionAction::Continue;
}

}  // namespace

// The program asks its user; once continued, a check failing every frame is not asked again.
TEST(AssertionReportDeathTest, AskPutsEachFailingCheckToTheUserOnceAndAbortsWhenTold) {
    os::setAssertionAction(os::AssertionAction::Ask);
    os::setAssertionQuestion(&continueAndRecord);
    testing::internal::CaptureStderr();
    for (int frame = 0; frame < 3; ++frame) {
        os::assertionReport("0", "demo/Main", 217);
    }
    os::assertionReport("0", "gfx/TShader", 71);
    const std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 4) << "every report is written";
    EXPECT_EQ(questionsPut,
              (std::vector<std::string>{"Assertion failed: 0, file demo/Main, line 217",
                                        "Assertion failed: 0, file gfx/TShader, line 71"}));
    {
        os::AssertionCapture capture;  // a test's capture stands for the user
        os::assertionReport("0", "gfx/RenderUtils", 95);
    }
    EXPECT_EQ(questionsPut.size(), 2u);
    EXPECT_DEATH(
        {
            os::setAssertionQuestion([](const std::string&) { return os::AssertionAction::Abort; });
            os::assertionReport("0", "gfx/D3DMesh", 40);
        },
        "Assertion failed: 0, file gfx/D3DMesh, line 40");
    os::setAssertionAction(os::AssertionAction::Continue);
    os::setAssertionQuestion(nullptr);
}

TEST(HrCheck, FailureCodesRaiseTheReportAndPassTheResultThrough) {
    os::AssertionCapture capture;
    int calls = 0;
    const auto failing = [&calls] {
        ++calls;
        return D3DERR_INVALIDCALL;
    };
    EXPECT_EQ(HR_CHECK("gfx/RenderTarget", 131, failing()), D3DERR_INVALIDCALL);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(HR_CHECK("demo/Main", 9, E_FAIL), E_FAIL);
    EXPECT_EQ(capture.records(), (std::vector<AssertionRecord>{{"0", "gfx/RenderTarget", 131},
                                                               {"0", "demo/Main", 9}}));
}

TEST(HrCheck, SuccessCodesIncludingPositiveOnesAreSilent) {
    os::AssertionCapture capture;
    EXPECT_EQ(HR_CHECK("demo/Main", 1, D3D_OK), D3D_OK);
    EXPECT_EQ(HR_CHECK("demo/Main", 2, S_FALSE), S_FALSE);
    EXPECT_EQ(capture.count(), 0u);
}

TEST(FatalError, ShowsTheNumberedMessageAndReturns) {
    os::MessageBoxCapture boxes;
    testing::internal::CaptureStderr();
    kelvo::fatalError(226);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Kelvo error: Unexpected fatal error(#226).\n");
    kelvo::fatalError(INT_MIN);
    EXPECT_EQ(boxes.records(), (std::vector<MessageBoxRecord>{
                                   {"Kelvo error", "Unexpected fatal error(#226)."},
                                   {"Kelvo error", "Unexpected fatal error(#-2147483648)."}}));
}
