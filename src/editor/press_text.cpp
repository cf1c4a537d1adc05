#include "editor/press_text.h"

#include "editor/key_command.h"
#include "editor/usage_names.h"

namespace treadkey {

std::string PressedKeysText(const HeldInputs& inputs) {
    constexpr std::string_view kJoint = " + ";
    std::string text = ModifierLogText(inputs.modifiers); // each modifier ends in the joint
    for (const std::uint16_t key : inputs.keys) {
        text += KeyUsageCaption(key) + std::string(kJoint);
    }
    for (const HidUsage usage : inputs.other) {
        text += OtherUsageCaption(usage) + std::string(kJoint);
    }
    if (text.ends_with(kJoint)) {
        text.resize(text.size() - kJoint.size());
    }
    return text;
}

} // namespace treadkey
