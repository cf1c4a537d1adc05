#include "cli/event_words.h"

#include "editor/key_table.h"
#include "editor/modifier_keys.h"
#include "editor/press_text.h"
#include "editor/usage_names.h"
#include "protocol/report_hex.h"
#include "json/json.h"

#include <array>

namespace treadkey {
namespace {

// Button n is bit n-1; the first three are the mouse buttons a slot can click.
constexpr std::array<std::string_view, 3> kButtonNames = {"left", "right", "middle"};
constexpr std::size_t kKindWidth = 8; // "release" and a space
constexpr std::string_view kCaptionGap = "   ";

std::string ButtonName(std::size_t bit) {
    return "mouse " +
           (bit < kButtonNames.size() ? std::string(kButtonNames[bit]) : "button" + std::to_string(bit + 1));
}

bool HasKeys(const HeldInputs& inputs) {
    return inputs.modifiers != 0 || !inputs.keys.empty() || !inputs.other.empty();
}

} // namespace

std::string EventName(const HeldInputs& inputs) {
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

std::string EventLine(const PedalEvent& event) {
    std::string line(event.kind == PedalEvent::Kind::Press ? "press" : "release");
    line.resize(kKindWidth, ' ');
    line += EventName(event.inputs);
    if (HasKeys(event.inputs)) {
        line += std::string(kCaptionGap) + "< " + PressedKeysText(event.inputs) + " >";
    }
    return line;
}

std::string EventJson(const PedalEvent& event, std::string_view time, std::string_view interfacePath,
                      std::span<const std::uint8_t> report) {
    const HeldInputs& inputs = event.inputs;
    std::string keys;
    for (const std::uint16_t key : inputs.keys) {
        keys += (keys.empty() ? "" : ", ") + std::to_string(key);
    }
    std::string other;
    for (const HidUsage usage : inputs.other) {
        other += (other.empty() ? "" : ", ") + JsonQuoted(UsageHex(usage));
    }
    return "{\"time\": " + JsonQuoted(time) + ", \"interface\": " + JsonQuoted(interfacePath) +
           ", \"report\": " + JsonQuoted(ReportHexLine(report)) + ", \"event\": \"" +
           (event.kind == PedalEvent::Kind::Press ? "press" : "release") +
           "\", \"name\": " + JsonQuoted(EventName(inputs)) +
           ", \"caption\": " + (HasKeys(inputs) ? JsonQuoted(PressedKeysText(inputs)) : std::string("null")) +
           ", \"modifiers\": " + std::to_string(inputs.modifiers) + ", \"keys\": [" + keys +
           "], \"buttons\": " + std::to_string(inputs.buttons) + ", \"other\": [" + other + "]}";
}

} // namespace treadkey
