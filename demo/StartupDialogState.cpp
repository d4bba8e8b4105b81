#include "demo/StartupDialogState.h"

#include <algorithm>

#include "demo/ModeItemText.h"

namespace {

constexpr UINT kAdapter = 0;
constexpr int kControlCount = 4;
// Rows one Page Up or Page Down moves through the list: about what the list shows at once.
constexpr int kPageRows = 10;

}  // namespace

StartupDialogState::StartupDialogState(IDirect3D9* d3d, const StartupPreset& preset) : d3d_(d3d) {
    if (d3d_ != nullptr) {
        // The count is asked again after every item, so a list that shrinks meanwhile ends early.
        for (UINT i = 0; i < d3d_->GetAdapterModeCount(kAdapter, D3DFMT_X8R8G8B8); ++i) {
            D3DDISPLAYMODE mode{};
            d3d_->EnumAdapterModes(kAdapter, D3DFMT_X8R8G8B8, i, &mode);
            modes_.push_back(mode);
            items_.push_back(modeItemText(mode));
        }
    }
    if (!items_.empty()) {
        selection_ = 0;
    }
    applyPreset(preset);
}

void StartupDialogState::applyPreset(const StartupPreset& preset) {
    fullscreen_ = preset.fullscreen.value_or(fullscreen_);
    if (!preset.mode) {
        return;
    }
    presetSize_ = preset.mode;
    const auto listed = std::find_if(modes_.begin(), modes_.end(), [&](const D3DDISPLAYMODE& m) {
        return static_cast<std::int32_t>(m.Width) == preset.mode->width &&
               static_cast<std::int32_t>(m.Height) == preset.mode->height;
    });
    selection_ = listed == modes_.end() ? kNoSelection : static_cast<int>(listed - modes_.begin());
    refusesPreset_ = fullscreen_ && selection_ == kNoSelection && !modes_.empty();
}

void StartupDialogState::command(int id) {
    if (finished_) {
        return;
    }
    if (id == kStartId) {
        finish(true);
    } else if (id == kQuitId) {
        finish(false);
    }
}

void StartupDialogState::key(os::DialogKey key) {
    if (finished_) {
        return;
    }
    using os::DialogKey;
    switch (key) {
        case DialogKey::tab:
            moveFocus(1);
            break;
        case DialogKey::backTab:
            moveFocus(-1);
            break;
        case DialogKey::enter:
            command(focus_ == Control::quit ? kQuitId : kStartId);
            break;
        case DialogKey::space:
            press();
            break;
        case DialogKey::escape:
            finish(false);
            break;
        case DialogKey::up:
            moveSelection(-1);
            break;
        case DialogKey::down:
            moveSelection(1);
            break;
        case DialogKey::pageUp:
            moveSelection(-kPageRows);
            break;
        case DialogKey::pageDown:
            moveSelection(kPageRows);
            break;
        case DialogKey::home:
            moveSelection(-static_cast<int>(items_.size()));
            break;
        case DialogKey::end:
            moveSelection(static_cast<int>(items_.size()));
            break;
    }
}

void StartupDialogState::closeRequested() {
    if (!finished_) {
        finish(false);
    }
}

void StartupDialogState::select(int index) {
    if (finished_ || index < 0 || index >= static_cast<int>(items_.size())) {
        return;
    }
    selection_ = index;
    focus_ = Control::modeList;
}

void StartupDialogState::setFullscreen(bool checked) {
    if (finished_) {
        return;
    }
    fullscreen_ = checked;
    focus_ = Control::fullscreen;
}

void StartupDialogState::writeChoice(WindowConfig& config) const {
    if (!started_) {
        return;
    }
    config.fullscreen = fullscreen_;
    if (presetSize_) {
        config.width = presetSize_->width;
        config.height = presetSize_->height;
    }
    if (d3d_ == nullptr || selection_ < 0) {
        return;
    }
    D3DDISPLAYMODE mode{};
    if (d3d_->EnumAdapterModes(kAdapter, D3DFMT_X8R8G8B8, static_cast<UINT>(selection_), &mode) !=
            D3D_OK ||
        mode.Width == 0 || mode.Height == 0) {
        return;
    }
    config.width = static_cast<std::int32_t>(mode.Width);
    config.height = static_cast<std::int32_t>(mode.Height);
}

void StartupDialogState::finish(bool started) {
    started_ = started;
    finished_ = true;
}

void StartupDialogState::moveFocus(int step) {
    const int next = (static_cast<int>(focus_) + step + kControlCount) % kControlCount;
    focus_ = static_cast<Control>(next);
}

// Only the list moves with the arrow and page keys, and only while it has the keyboard.
void StartupDialogState::moveSelection(int step) {
    if (focus_ != Control::modeList || items_.empty()) {
        return;
    }
    const int last = static_cast<int>(items_.size()) - 1;
    const int from = selection_ < 0 ? (step > 0 ? -1 : last + 1) : selection_;
    selection_ = std::clamp(from + step, 0, last);
}

void StartupDialogState::press() {
    switch (focus_) {
        case Control::start:
            command(kStartId);
            break;
        case Control::quit:
            command(kQuitId);
            break;
        case Control::fullscreen:
            fullscreen_ = !fullscreen_;
            break;
        case Control::modeList:
            break;
    }
}
