#include "editor/profile_frames.h"

#include "editor/mouse_buttons.h"
#include "protocol/frames.h"

#include <string>
#include <vector>

namespace treadkey {
namespace {

std::string SlotFrame(int slot, const SlotContent& content) {
    switch (content.kind) {
    case SlotContent::Kind::Key:
        return KeyFrame(std::to_string(slot), content.key.modifiers, KeyCode(content.key));
    case SlotContent::Kind::Mouse:
        return MouseFrame(std::to_string(slot), kMouseButtons[content.mouseButton].code);
    case SlotContent::Kind::Cleared:
        break;
    }
    return ClearFrame(slot - kFirstSlot);
}

} // namespace

FrameSequence ProfileFrames(const Profile& profile) {
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
