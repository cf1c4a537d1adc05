#include "cli/event_words.h"

#include "editor/press_name.h"
#include "editor/press_text.h"
#include "editor/usage_names.h"
#include "protocol/report_hex.h"
#include "json/json.h"

namespace treadkey {
namespace {

constexpr std::size_t kKindWidth = 8; // "release" and a space
constexpr std::string_view kCaptionGap = "   ";

bool HasKeys(const HeldInputs& inputs) {
    return inputs.modifiers != 0 || !inputs.keys.empty() || !inputs.other.empty();
}

} // namespace

std::string EventLine(const PedalEvent& event) {
    std::string line(event.kind == PedalEvent::Kind::Press ? "press" : "release");
    line.resize(kKindWidth, ' ');
    line += PressName(event.inputs);
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
           "\", \"name\": " + JsonQuoted(PressName(inputs)) +
           ", \"caption\": " + (HasKeys(inputs) ? JsonQuoted(PressedKeysText(inputs)) : std::string("null")) +
           ", \"modifiers\": " + std::to_string(inputs.modifiers) + ", \"keys\": [" + keys +
           "], \"buttons\": " + std::to_string(inputs.buttons) + ", \"other\": [" + other + "]}";
}

} // namespace treadkey
