#include "editor/press_text.h"

#include "editor/modifier_keys.h"
#include "editor/usage_names.h"

#include <array>
#include <string_view>

namespace treadkey {
namespace {

// What each modifier adds to the key log line, in the order of kModifiers.
constexpr std::array<std::string_view, kModifiers.size()> kModifierLogTexts = {
    "Ctrl + ", "Shift + ", "Alt + ", "Win + ", "Ctrl_R + ", "Shift_R + ", "Alt_R + ", "Win_R + ",
};
// Positions in kModifiers, in the order the log names them.
constexpr std::array<std::size_t, kModifiers.size()> kModifierLogOrder = {0, 2, 1, 3, 4, 6, 5, 7};

// Button n is bit n-1; the first three are the mouse buttons a slot can click.
constexpr std::array<std::string_view, 3> kButtonNames = {"left", "right", "middle"};

std::string ButtonName(std::size_t bit) {
    return "mouse " +
           (bit < kButtonNames.size() ? std::string(kButtonNames[bit]) : "button" + std::to_string(bit + 1));
}

} // namespace

std::string ModifierLogText(std::uint8_t modifierByte) {
    std::string text;
    for (const std::size_t position : kModifierLogOrder) {
        if ((modifierByte & kModifiers[position].bit) != 0) {
            text += kModifierLogTexts[position];
        }
    }
    return text;
}

std::string PressedKeysText(const HeldInputs& inputs) {
    constexpr std::string_view kJoint = " + ";
    std::string text = ModifierLogText(inputs.modifiers); // each modifier ends in the joint
    for (const std::uint16_t key : inputs.keys) {
        text += KeyUsageWords(key).caption + std::string(kJoint);
    }
    for (const HidUsage usage : inputs.other) {
        text += OtherUsageCaption(usage) + std::string(kJoint);
    }
    if (text.ends_with(kJoint)) {
        text.resize(text.size() - kJoint.size());
    }
    return text;
}

std::string PressName(const HeldInputs& inputs) {
    std::string name;
    const auto add = [&name](const std::string& part) { name += (name.empty() ? "" : "+") + part; };
    for (const ModifierKey& modifier : kModifiers) {
        if ((inputs.modifiers & modifier.bit) != 0) {
            add(std::string(modifier.name));
        }
    }
    for (const std::uint16_t key : inputs.keys) {
        add(KeyUsageWords(key).name);
    }
    for (const HidUsage usage : inputs.other) {
        add(UsageHex(usage));
    }
    for (std::size_t bit = 0; bit < 32; ++bit) {
        if ((inputs.buttons >> bit) & 1U) {
            add(ButtonName(bit));
        }
    }
    return name;
}

} // namespace treadkey
