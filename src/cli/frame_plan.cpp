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

std::string SlotFrame(int slot, const SlotContent& content) {
    switch (content.kind) {
    case SlotContent::Kind::Key:
        return KeyFrame(SlotText(slot), content.key.modifiers, KeyCode(content.key));
    case SlotContent::Kind::Mouse:
        return MouseButtonFrame(slot, content.mouseButton);
    case SlotContent::Kind::Cleared:
        break;
    }
    return ClearFrame(slot - kFirstSlot);
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

FramePlan ProfilePlan(const Profile& profile) {
    std::vector<std::string> frames;
    for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
        if (const std::optional<SlotContent>& content =
                profile.slots[static_cast<std::size_t>(slot - kFirstSlot)]) {
            frames.push_back(SlotFrame(slot, *content));
        }
    }
    if (profile.playbackWord) {
        // A profile's word is one that a frame stores; value() stops a Profile built otherwise.
        frames.push_back(PlaybackWordFrame(*profile.playbackWord).value());
    }
    if (profile.singleOutput.has_value()) {
        frames.push_back(SingleOutputFrame(*profile.singleOutput ? 1 : 0));
    }
    return Paced(frames);
}

} // namespace treadkey
