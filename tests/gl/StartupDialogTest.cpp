// The start-up dialog drawn for real with Dear ImGui on SDL's offscreen video driver, while a
// stand-in for the user types into SDL's queue: its keys decide the start, a close request
// cancels, and nothing of the dialog is left queued for the render window. On that driver the
// program itself refuses to show the dialog, since nobody could answer it.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <chrono>
#include <thread>
#include <vector>

#include "demo/StartupDialog.h"
#include "platform/d3d9/recording/RecordingDirect3D.h"
#include "platform/os/MessageBoxCapture.h"
#include "platform/os/QuitRequest.h"
#include "platform/os/VideoSystem.h"

namespace {

SDL_Event keyDown(SDL_Keycode key) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    return event;
}

SDL_Event quitRequest() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    return event;
}

class StartupDialogTest : public ::testing::Test {
protected:
    StartupDialogTest() {
        std::string error;
        EXPECT_TRUE(os::VideoSystem::start(&error)) << error;
    }
    ~StartupDialogTest() override {
        d3d->Release();
        os::clearQuitRequest();
    }

    // Runs the dialog while a second thread, once the dialog has drawn a few frames, pushes
    // `events` as the user would type them.
    StartupChoice runWithUser(std::vector<SDL_Event> events) {
        std::thread user([events]() mutable {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            for (SDL_Event& event : events) {
                SDL_PushEvent(&event);
            }
        });
        const StartupChoice choice = showStartupDialog(d3d, config);
        user.join();
        return choice;
    }

    RecordingDirect3D* d3d = new RecordingDirect3D();
    WindowConfig config = defaultWindowConfig();
    os::MessageBoxCapture boxes;
};

TEST_F(StartupDialogTest, KeysChooseWindowedModeZeroAndLeaveNothingQueued) {
    // Tab, Tab: the check box; Space clears it; Return presses start, the default button.
    const StartupChoice choice = runWithUser(
        {keyDown(SDLK_TAB), keyDown(SDLK_TAB), keyDown(SDLK_SPACE), keyDown(SDLK_RETURN)});
    EXPECT_EQ(choice, StartupChoice::start);
    EXPECT_EQ(config.width, 640);
    EXPECT_EQ(config.height, 480);
    EXPECT_FALSE(config.fullscreen);
    EXPECT_EQ(boxes.count(), 0u);
    SDL_Event left{};
    EXPECT_EQ(SDL_PollEvent(&left), 0) << "event " << left.type << " outlived the dialog";
}

TEST_F(StartupDialogTest, WithoutAskingItsDefaultsAreTakenAndAnUnlistedModeIsRefused) {
    StartupPreset preset;
    preset.ask = false;
    EXPECT_EQ(showStartupDialog(d3d, config, preset), StartupChoice::start);
    EXPECT_EQ(config.width, 640);
    EXPECT_EQ(config.height, 480);
    EXPECT_TRUE(config.fullscreen);

    preset.mode = StartupPreset::Size{1234, 567};
    testing::internal::CaptureStderr();
    EXPECT_EQ(showStartupDialog(d3d, config, preset), StartupChoice::refused);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(said.starts_with("vornasto: --mode 1234x567 is not a full-screen mode")) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(StartupDialogTest, ProgramReportsThatNobodyCanSeeTheDialogOnTheOffscreenDriver) {
    ASSERT_EQ(os::VideoSystem::driver(), "offscreen");
    EXPECT_EQ(runStartupDialog(d3d, config), StartupChoice::failed);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.records()[0].caption, "error");
    EXPECT_NE(boxes.records()[0].text.find("no display available"), std::string::npos);
    EXPECT_TRUE(os::quitRequested());
    EXPECT_EQ(config.width, 640);
    EXPECT_EQ(config.height, 360);
}

TEST_F(StartupDialogTest, CloseRequestCancelsWithTheConfigurationUntouched) {
    const StartupChoice choice = runWithUser({quitRequest()});
    EXPECT_EQ(choice, StartupChoice::cancel);
    EXPECT_EQ(config.width, 640);
    EXPECT_EQ(config.height, 360);
    EXPECT_FALSE(config.fullscreen);
    EXPECT_EQ(boxes.count(), 0u);
}

}  // namespace
