#include "cli/frame_plan.h"

#include "editor/mouse_buttons.h"
#include "protocol/frames.h"

#include <string_view>

namespace treadkey {
namespace {

std::string SlotText(int slot) {
    return std::to_string(slot);
}

std::string MouseButtonFrame(int slot, std::size_t mouseButton) {
    return MouseFrame(SlotText(slot), kMouseButtons[mouseButton].code);
}

} // namespace

FramePlan KeyPlan(int slot, const KeyCombo& combo, int delay, bool singleOutput) {
    return KeyAssignmentSequence(SlotText(slot), combo.modifiers, KeyCode(combo), delay, singleOutput);
}

FramePlan KeyOnlyPlan(int slot, const KeyCombo& combo) {
    return {{KeyFrame(SlotText(slot), combo.modifiers, KeyCode(combo))}};
}

FramePlan MousePlan(int slot, std::size_t mouseButton) {
    return {{MouseButtonFrame(slot, mouseButton)}};
}

FramePlan PlaybackPlan(bool autoRun, bool loop) {
    return {{PlaybackFrame(autoRun, loop)}};
}

FramePlan ClearAllPlan() {
    return ClearAllSequence();
}

FramePlan RawPlan(const std::string& text) {
    return {{text}};
}

} // namespace treadkey
