// The real driver when a device is missing: no audio device, an OpenGL below what the renderer
// needs, no OpenGL library at all. Each case sets its environment in a fresh process (SDL reads
// the drivers once), runs the program and prints a summary line that the parent judges.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "demo/DemoDriver.h"
#include "demo/MusicClockGlobals.h"
#include "gfx/GraphicsContext.h"
#include "platform/os/AssertionCapture.h"
#include "platform/os/MessageBoxCapture.h"
#include "platform/os/QuitRequest.h"

namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

DemoDriver::Options smallShow() {
    DemoDriver::Options options;
    options.askUser = false;
    options.config.width = 160;
    options.config.height = 90;
    return options;
}

std::string reportsText(const os::AssertionCapture& reports, const os::MessageBoxCapture& boxes) {
    std::string text = "boxes=[";
    for (const auto& box : boxes.records()) {
        text += box.caption + ":" + box.text + ";";
    }
    text += "] reports=[";
    for (const auto& report : reports.records()) {
        text += report.file + ":" + std::to_string(report.line) + ";";
    }
    return text + "]";
}

[[noreturn]] void finish(const std::string& summary) {
    std::fprintf(stderr, "%s\n", summary.c_str());
    std::fflush(stderr);
    std::_Exit(0);
}

// Plays the real music stream for a moment of wall-clock time.
void runWithoutAudioDevice() {
    setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
    os::AssertionCapture reports;
    os::MessageBoxCapture boxes;
    DemoDriver driver(smallShow());
    const bool started = driver.startUp();
    bool advanced = false;
    if (started) {
        driver.frameLoop()->step();
        const float first = g_demoSeconds;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        driver.frameLoop()->step();
        advanced = g_demoSeconds > first + 0.1f;
    }
    const bool silent = driver.music().silent();
    driver.shutDown();
    finish("started=" + std::to_string(started) + " silent=" + std::to_string(silent) +
           " advanced=" + std::to_string(advanced) + " " + reportsText(reports, boxes));
}

// Start-up and shutdown in an environment that denies the program a usable OpenGL. (A start-up
// that fails ends the program with exit code 0: see the driver's own test.)
void runWithEnvironment(const char* name, const char* value) {
    setenv(name, value, 1);
    os::clearQuitRequest();
    os::AssertionCapture reports;
    os::MessageBoxCapture boxes;
    DemoDriver driver(smallShow());
    const bool started = driver.startUp();
    const bool device = kelvo::GraphicsContext::instance().device != nullptr;
    driver.shutDown();
    finish("started=" + std::to_string(started) + " device=" + std::to_string(device) +
           " quit=" + std::to_string(os::quitRequested()) + " " + reportsText(reports, boxes));
}

TEST(MissingDeviceTest, WithoutAnAudioDeviceTheShowRunsOnTheSilentClock) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(runWithoutAudioDevice(), testing::ExitedWithCode(0),
                AllOf(HasSubstr("no audio device: playing silently"),
                      HasSubstr("started=1 silent=1 advanced=1 boxes=[] reports=[]")));
}

TEST(MissingDeviceTest, AnOpenGLBelowWhatTheRendererNeedsIsReportedAndEndsInOrder) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const char* version : {"3.3", "3.3COMPAT", "4.1"}) {
        EXPECT_EXIT(runWithEnvironment("MESA_GL_VERSION_OVERRIDE", version),
                    testing::ExitedWithCode(0),
                    AllOf(HasSubstr("started=0 device=0"), HasSubstr("demo/D3DWindow:")))
            << version;
    }
}

TEST(MissingDeviceTest, WithoutAnOpenGLLibraryTheProgramReportsAndEndsInOrder) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(runWithEnvironment("SDL_VIDEO_EGL_DRIVER", "/nonexistent/libEGL.so.1"),
                testing::ExitedWithCode(0),
                HasSubstr("started=0 device=0 quit=1 boxes=[error:Creating window failed.;]"));
}

}  // namespace
