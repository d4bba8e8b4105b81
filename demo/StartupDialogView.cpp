#include "demo/StartupDialogView.h"

#include <imgui.h>

namespace {

constexpr ImGuiWindowFlags kPanelFlags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                                         ImGuiWindowFlags_NoSavedSettings |
                                         ImGuiWindowFlags_NoBringToFrontOnFocus;
const ImVec2 kButtonSize(50, 20);
const ImU32 kFocusColour = IM_COL32(255, 255, 255, 200);

}  // namespace

void StartupDialogView::draw() {
    // One borderless panel over the whole client area, so positions are client pixels.
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(ImGui::GetIO().DisplaySize);
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0, 0));
    ImGui::PushStyleVar(ImGuiStyleVar_WindowRounding, 0.0f);
    ImGui::Begin("##startup", nullptr, kPanelFlags);
    drawButtons();
    drawFullscreenBox();
    drawModeList();
    ImGui::End();
    ImGui::PopStyleVar(2);
}

void StartupDialogView::drawButtons() {
    ImGui::SetCursorPos(ImVec2(0, 0));
    if (ImGui::Button("start", kButtonSize)) {
        state_.command(StartupDialogState::kStartId);
    }
    markFocus(StartupDialogState::Control::start);
    ImGui::SetCursorPos(ImVec2(0, 20));
    if (ImGui::Button("quit", kButtonSize)) {
        state_.command(StartupDialogState::kQuitId);
    }
    markFocus(StartupDialogState::Control::quit);
}

void StartupDialogView::drawFullscreenBox() {
    ImGui::SetCursorPos(ImVec2(52, 20));
    // A tight frame keeps the box about as tall as the buttons beside it.
    ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(2, 2));
    bool checked = state_.fullscreen();
    if (ImGui::Checkbox("fullscreen", &checked)) {
        state_.setFullscreen(checked);
    }
    ImGui::PopStyleVar();
    markFocus(StartupDialogState::Control::fullscreen);
}

void StartupDialogView::drawModeList() {
    ImGui::SetCursorPos(ImVec2(0, 40));
    if (ImGui::BeginListBox("##modes", ImVec2(194, 200))) {
        const auto& items = state_.items();
        for (int i = 0; i < static_cast<int>(items.size()); ++i) {
            const bool selected = i == state_.selection();
            // The same mode may be listed twice; the index keeps the items apart.
            ImGui::PushID(i);
            if (ImGui::Selectable(items[static_cast<std::size_t>(i)].c_str(), selected)) {
                state_.select(i);
            }
            if (selected && shownSelection_ != i) {
                ImGui::SetScrollHereY();
                shownSelection_ = i;
            }
            ImGui::PopID();
        }
        ImGui::EndListBox();
    }
    markFocus(StartupDialogState::Control::modeList);
}

void StartupDialogView::markFocus(StartupDialogState::Control control) const {
    if (state_.focus() != control) {
        return;
    }
    const ImVec2 min = ImGui::GetItemRectMin();
    const ImVec2 max = ImGui::GetItemRectMax();
    ImGui::GetWindowDrawList()->AddRect(ImVec2(min.x + 1, min.y + 1), ImVec2(max.x - 1, max.y - 1),
                                        kFocusColour);
}
