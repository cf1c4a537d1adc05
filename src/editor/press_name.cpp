#include "editor/press_name.h"

#include "editor/key_table.h"
#include "editor/modifier_keys.h"
#include "editor/usage_names.h"

#include <array>
#include <string_view>

namespace treadkey {
namespace {

// Button n is bit n-1; the first three are the mouse buttons a slot can click.
constexpr std::array<std::string_view, 3> kButtonNames = {"left", "right", "middle"};

std::string ButtonName(std::size_t bit) {
    return "mouse " +
           (bit < kButtonNames.size() ? std::string(kButtonNames[bit]) : "button" + std::to_string(bit + 1));
}

} // namespace

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
