#include "cli/frame_plan.h"

#include "editor/key_assignment.h"
#include "editor/mouse_command.h"
#include "protocol/settings_frames.h"

#include <string_view>

namespace treadkey {
namespace {

std::string SlotText(int slot) {
    return std::to_string(slot);
}

// Frames sent one after another with the pause between them.
template <typename Frames> FramePlan Paced(const Frames& frames) {
    FramePlan plan;
    for (const std::string& frame : frames) {
        plan.push_back({frame, plan.empty() ? std::chrono::milliseconds{0} : kPauseBetweenFrames});
    }
    return plan;
}

std::string MouseFrame(int slot, std::size_t mouseButton) {
    return ComposeMouseCommand(SlotText(slot), kMouseButtons[mouseButton].code);
}

std::string SlotFrame(int slot, const SlotContent& content) {
    switch (content.kind) {
    case SlotContent::Kind::Key:
        return ComposeKeyCommand(SlotText(slot), content.key.modifiers, KeyCode(content.key));
    case SlotContent::Kind::Mouse:
        return MouseFrame(slot, content.mouseButton);
    case SlotContent::Kind::Cleared:
        break;
    }
    return SlotClearFrame(slot - kFirstSlot);
}

} // namespace

FramePlan KeyPlan(int slot, const KeyCombo& combo, int delay, bool singleOutput) {
    return Paced(KeyAssignmentFrames(SlotText(slot), combo.modifiers, KeyCode(combo), delay, singleOutput));
}

FramePlan MousePlan(int slot, std::size_t mouseButton) {
    return {{MouseFrame(slot, mouseButton)}};
}

FramePlan PlaybackPlan(const PlaybackSetting& playback) {
    return {{PlaybackWordFrame(playback.autoRun, playback.loop)}};
}

FramePlan ClearAllPlan() {
    FramePlan plan;
    for (int counter = 0; counter < kSlotAddressCount; ++counter) {
        plan.push_back({SlotClearFrame(counter)});
    }
    return plan;
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
    if (profile.delay) {
        frames.push_back(KeyDelayFrame(*profile.delay));
    }
    if (profile.singleOutput.has_value()) {
        frames.push_back(SingleOutputFrame(*profile.singleOutput ? 1 : 0));
    }
    if (profile.playback) {
        frames.push_back(PlaybackWordFrame(profile.playback->autoRun, profile.playback->loop));
    }
    return Paced(frames);
}

} // namespace treadkey
