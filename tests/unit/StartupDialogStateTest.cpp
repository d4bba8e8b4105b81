// The start-up dialog's decisions over the recording Direct3D object: what it lists, what start
// writes into the configuration, what cancels, and its keyboard handling.
#include <gtest/gtest.h>

#include "demo/StartupDialogState.h"
#include "platform/d3d9/recording/RecordingDirect3D.h"

namespace {

using os::DialogKey;
using Control = StartupDialogState::Control;

class StartupDialogStateTest : public ::testing::Test {
protected:
    ~StartupDialogStateTest() override { d3d->Release(); }

    // A configuration the dialog can visibly change.
    static WindowConfig configured() {
        WindowConfig config = defaultWindowConfig();
        config.width = 320;
        config.height = 200;
        return config;
    }

    RecordingDirect3D* d3d = new RecordingDirect3D(std::vector<D3DDISPLAYMODE>{
        {1920, 1080, 60, D3DFMT_X8R8G8B8},
        {1280, 1024, 75, D3DFMT_X8R8G8B8},
        {1024, 768, 60, D3DFMT_A8R8G8B8},  // not the X8R8G8B8 the list asks for
        {1920, 1080, 60, D3DFMT_X8R8G8B8},
        {800, 600, 60, D3DFMT_X8R8G8B8},
    });
};

TEST_F(StartupDialogStateTest, ListsTheThirtyTwoBitModesInOrderWithTheFirstSelected) {
    StartupDialogState state(d3d);
    EXPECT_EQ(state.items(),
              (std::vector<std::string>{"1920x1080  [16:9] 60hz", "1280x1024  [5:4] 75hz",
                                        "1920x1080  [16:9] 60hz", "800x600  [4:3] 60hz"}));
    EXPECT_EQ(state.selection(), 0);
    EXPECT_TRUE(state.fullscreen());
    EXPECT_EQ(state.focus(), Control::start);
    EXPECT_FALSE(state.finished());
}

TEST_F(StartupDialogStateTest, StartWritesTheSelectedModeAndTheCheckBox) {
    StartupDialogState untouched(d3d);
    untouched.command(StartupDialogState::kStartId);
    ASSERT_TRUE(untouched.finished());
    ASSERT_TRUE(untouched.started());
    WindowConfig config = configured();
    untouched.writeChoice(config);
    EXPECT_EQ(config.width, 1920);
    EXPECT_EQ(config.height, 1080);
    EXPECT_TRUE(config.fullscreen);
    // Only size and full screen are taken over.
    EXPECT_EQ(config.bitsPerPixel, 32);
    EXPECT_FLOAT_EQ(config.aspect, defaultWindowConfig().aspect);

    StartupDialogState chosen(d3d);
    chosen.select(3);
    chosen.setFullscreen(false);
    chosen.key(DialogKey::enter);
    config = configured();
    chosen.writeChoice(config);
    EXPECT_EQ(config.width, 800);
    EXPECT_EQ(config.height, 600);
    EXPECT_FALSE(config.fullscreen);
}

TEST_F(StartupDialogStateTest, QuitEscapeAndCloseCancelAndChangeNothing) {
    StartupDialogState quit(d3d), escape(d3d), closed(d3d);
    quit.command(StartupDialogState::kQuitId);
    escape.key(DialogKey::escape);
    closed.closeRequested();
    for (StartupDialogState* state : {&quit, &escape, &closed}) {
        EXPECT_TRUE(state->finished());
        EXPECT_FALSE(state->started());
        // Nothing the user does after the end brings the dialog back.
        state->command(StartupDialogState::kStartId);
        state->key(DialogKey::enter);
        EXPECT_FALSE(state->started());
        WindowConfig config = configured();
        state->writeChoice(config);
        EXPECT_EQ(config.width, 320);
        EXPECT_EQ(config.height, 200);
        EXPECT_FALSE(config.fullscreen);
    }
}

TEST_F(StartupDialogStateTest, UnknownCommandsChangeNothing) {
    StartupDialogState state(d3d);
    state.select(1);
    for (int id : {2, 0, -1, StartupDialogState::kModeListId, StartupDialogState::kFullscreenId,
                   1005, 65535}) {
        state.command(id);
    }
    EXPECT_FALSE(state.finished());
    EXPECT_TRUE(state.started());
    EXPECT_EQ(state.selection(), 1);
    EXPECT_TRUE(state.fullscreen());
}

TEST_F(StartupDialogStateTest, EmptyListOrNoSelectionKeepsTheConfiguredSize) {
    auto* none = new RecordingDirect3D(std::vector<D3DDISPLAYMODE>{});
    StartupDialogState empty(none);
    EXPECT_TRUE(empty.items().empty());
    EXPECT_EQ(empty.selection(), StartupDialogState::kNoSelection);
    empty.select(0);
    empty.focusOn(Control::modeList);
    empty.key(DialogKey::down);
    EXPECT_EQ(empty.selection(), StartupDialogState::kNoSelection);
    empty.setFullscreen(false);
    empty.command(StartupDialogState::kStartId);
    WindowConfig config = configured();
    config.fullscreen = true;
    empty.writeChoice(config);
    EXPECT_EQ(config.width, 320);
    EXPECT_EQ(config.height, 200);
    EXPECT_FALSE(config.fullscreen);
    none->Release();

    StartupDialogState noDirect3D(nullptr);
    noDirect3D.command(StartupDialogState::kStartId);
    config = configured();
    noDirect3D.writeChoice(config);
    EXPECT_EQ(config.width, 320);
    EXPECT_TRUE(config.fullscreen);

    // A click outside the list leaves the selection as it was.
    StartupDialogState outside(d3d);
    outside.select(4);
    outside.select(-1);
    EXPECT_EQ(outside.selection(), 0);
}

TEST_F(StartupDialogStateTest, PresetSetsTheControlsAndRefusesOnlyUnlistedFullscreenModes) {
    const StartupPreset::Size listed{800, 600}, unlisted{1024, 768};
    StartupDialogState windowed(d3d, {false, listed});
    EXPECT_EQ(windowed.selection(), 3);
    EXPECT_FALSE(windowed.fullscreen());
    EXPECT_FALSE(windowed.refusesPreset());

    // Only as a window can a size the display does not list be had.
    StartupDialogState window(d3d, {false, unlisted});
    EXPECT_FALSE(window.refusesPreset());
    EXPECT_EQ(window.selection(), StartupDialogState::kNoSelection);
    window.command(StartupDialogState::kStartId);
    WindowConfig config = configured();
    window.writeChoice(config);
    EXPECT_EQ(config.width, 1024);
    EXPECT_EQ(config.height, 768);
    EXPECT_FALSE(config.fullscreen);

    EXPECT_TRUE(StartupDialogState(d3d, {true, unlisted}).refusesPreset());
    EXPECT_TRUE(StartupDialogState(d3d, {std::nullopt, unlisted}).refusesPreset())
        << "full screen is the dialog's default";
    EXPECT_FALSE(StartupDialogState(d3d, {true, listed}).refusesPreset());
    auto* none = new RecordingDirect3D(std::vector<D3DDISPLAYMODE>{});
    EXPECT_FALSE(StartupDialogState(none, {true, unlisted}).refusesPreset())
        << "an empty list says nothing about the display";
    none->Release();
}

TEST_F(StartupDialogStateTest, TabCyclesTheControlsAndReturnPressesTheFocusedButton) {
    StartupDialogState state(d3d);
    const Control order[] = {Control::quit, Control::fullscreen, Control::modeList, Control::start};
    for (Control expected : order) {
        state.key(DialogKey::tab);
        EXPECT_EQ(state.focus(), expected);
    }
    state.key(DialogKey::backTab);
    EXPECT_EQ(state.focus(), Control::modeList);

    // Space toggles the check box only while it has the keyboard.
    state.key(DialogKey::space);
    EXPECT_TRUE(state.fullscreen());
    state.key(DialogKey::backTab);
    state.key(DialogKey::space);
    EXPECT_FALSE(state.fullscreen());
    // Return from any control but quit presses start, the default button.
    state.key(DialogKey::enter);
    EXPECT_TRUE(state.finished());
    EXPECT_TRUE(state.started());

    StartupDialogState quitting(d3d);
    quitting.key(DialogKey::tab);
    quitting.key(DialogKey::enter);
    EXPECT_TRUE(quitting.finished());
    EXPECT_FALSE(quitting.started());
}

TEST_F(StartupDialogStateTest, ArrowKeysMoveTheSelectionOnlyInTheFocusedList) {
    StartupDialogState state(d3d);
    state.key(DialogKey::down);
    EXPECT_EQ(state.selection(), 0) << "the list does not have the keyboard";
    state.focusOn(Control::modeList);
    state.key(DialogKey::down);
    state.key(DialogKey::down);
    EXPECT_EQ(state.selection(), 2);
    state.key(DialogKey::pageDown);
    EXPECT_EQ(state.selection(), 3);
    state.key(DialogKey::up);
    EXPECT_EQ(state.selection(), 2);
    state.key(DialogKey::home);
    EXPECT_EQ(state.selection(), 0);
    state.key(DialogKey::up);
    EXPECT_EQ(state.selection(), 0);
    state.key(DialogKey::end);
    EXPECT_EQ(state.selection(), 3);
}

}  // namespace
