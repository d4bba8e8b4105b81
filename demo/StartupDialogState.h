// What the start-up dialog knows and decides, apart from drawing it: the list of display modes,
// the selection, the full-screen check box, which control has the keyboard, and the result.
//
// Commands carry the controls' identifiers: start 1001 and quit 1002 end the dialog; any other
// identifier (such as the cancel command 2 of a dialog's Escape handling) changes nothing.
// Escape and a close request cancel. Return presses the focused button, or start, the default
// button, from any other control; Space presses the focused button or toggles the check box.
//
// The result is start until the user cancels. On start the chosen mode is asked of the Direct3D
// object again by its index; with an empty list, no selection or a mode the adapter no longer
// reports, the configuration takes the preset's size, else keeps its own, and only the
// full-screen flag is taken over.
//
// A preset (the command line) sets the check box and selects the first line of its size; a size
// the list lacks leaves no line selected. As a full-screen mode such a size is refused, since the
// list holds exactly the modes the full-screen switch accepts; an empty list refuses nothing, as
// nothing is known about the display then.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "demo/StartupPreset.h"
#include "demo/WindowConfig.h"
#include "platform/d3d9/d3d9.h"
#include "platform/os/DialogKey.h"
#include "platform/os/IDialogEventListener.h"

class StartupDialogState final : public os::IDialogEventListener {
public:
    static constexpr int kStartId = 1001;
    static constexpr int kQuitId = 1002;
    static constexpr int kModeListId = 1003;
    static constexpr int kFullscreenId = 1004;
    static constexpr int kNoSelection = -1;

    // The controls in their keyboard (Tab) order.
    enum class Control { start, quit, fullscreen, modeList };

    // Lists the X8R8G8B8 modes of adapter 0 in the adapter's order, asking the mode count again
    // after every item; item 0 selected, full screen checked, start focused, unless the preset
    // says otherwise. A null d3d gives an empty list.
    explicit StartupDialogState(IDirect3D9* d3d, const StartupPreset& preset = {});

    const std::vector<std::string>& items() const { return items_; }
    // The listed modes, one per item.
    const std::vector<D3DDISPLAYMODE>& modes() const { return modes_; }
    // The preset asks for full screen in a mode the list lacks.
    bool refusesPreset() const { return refusesPreset_; }
    int selection() const { return selection_; }
    bool fullscreen() const { return fullscreen_; }
    Control focus() const { return focus_; }
    bool finished() const { return finished_; }
    // True while nobody cancelled.
    bool started() const { return started_; }

    // A control's command (a click on a button); unknown identifiers are ignored.
    void command(int id);
    void key(os::DialogKey key);
    void closeRequested();
    void onKey(os::DialogKey pressed) override { key(pressed); }
    void onCloseRequested() override { closeRequested(); }
    // Clicks on the list and the check box; they also give that control the keyboard.
    void select(int index);
    void setFullscreen(bool checked);
    void focusOn(Control control) { focus_ = control; }

    // On start: width, height (from the selected mode) and fullscreen into config. Nothing
    // changes after a cancel.
    void writeChoice(WindowConfig& config) const;

private:
    void finish(bool started);
    void moveFocus(int step);
    void moveSelection(int step);
    void press();

    void applyPreset(const StartupPreset& preset);

    IDirect3D9* d3d_;
    std::vector<D3DDISPLAYMODE> modes_;
    std::vector<std::string> items_;
    std::optional<StartupPreset::Size> presetSize_;
    bool refusesPreset_ = false;
    int selection_ = kNoSelection;
    bool fullscreen_ = true;
    Control focus_ = Control::start;
    bool finished_ = false;
    bool started_ = true;
};
