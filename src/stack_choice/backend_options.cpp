#include "stack_choice/backend_options.h"

#include "arguments/option_table.h"
#include "arguments/shown_text.h"
#include "arguments/utf8_path.h"
#include "protocol/number_text.h"
#include "stacks/platform_backend.h"

#include <array>

namespace treadkey {
namespace {

constexpr std::string_view kPedalOption = "--pedal";
constexpr std::string_view kVirtualPedalOption = "--virtual-pedal";
constexpr std::string_view kReportLengthOption = "--report-length";
constexpr std::string_view kLogOption = "--virtual-pedal-log";
constexpr std::string_view kPresenceOption = "--virtual-pedal-present";
constexpr std::string_view kCompositeOption = "--virtual-pedal-composite";
constexpr std::string_view kPressOption = "--virtual-pedal-press";
constexpr std::string_view kTwinOption = "--virtual-pedal-twin";

// All after --virtual-pedal belong to the virtual pedal.
constexpr std::array<OptionSpec, 8> kBackendOptions = {{
    {kPedalOption, "ID",
     "the pedal to use when several are plugged in: its identity as\n'treadkeyctl list' shows it"},
    {kVirtualPedalOption, "", "use a virtual pedal instead of the USB device"},
    {kReportLengthOption, "N",
     "the virtual pedal's output report length in bytes, report id\nincluded: 1 to 65535 (default 9)"},
    {kLogOption, "FILE", "append every report the virtual pedal receives to FILE as a\nline of hex bytes"},
    {kPresenceOption, "FILE", "plug the virtual pedal in only while FILE exists"},
    {kCompositeOption, "",
     "give the virtual pedal a keyboard and a mouse interface before\nits configuration interface, as a real "
     "pedal has"},
    {kPressOption, "FILE",
     "press the slot named by each line appended to FILE: the virtual\npedal sends what the slot holds (read "
     "from "
     "the log when given)"},
    {kTwinOption, "",
     "add a second virtual pedal, virtual-2, beside virtual-1: same ids\nand options, its own paths (suffix "
     "-2); it takes no presses"},
}};

// Takes one of our options into the options; the error names the option at fault.
std::string Apply(const OptionUse& use, BackendOptions& options) {
    const std::string_view name = use.option->name;
    const std::string value = use.value.value_or("");
    if (name == kVirtualPedalOption) {
        options.useVirtualPedal = true;
    } else if (name == kPedalOption) {
        if (value.empty()) {
            return std::string(name) + " needs a pedal's identity ('treadkeyctl list' shows them)";
        }
        options.pedal = value;
    } else if (name == kTwinOption) {
        options.virtualPedal.twin = true;
    } else if (name == kCompositeOption) {
        options.virtualPedal.composite = true;
    } else if (name == kReportLengthOption) {
        const std::optional<int> length = ParseWholeNumber(value, 1, VirtualPedal::kMaxReportLength);
        if (!length) {
            return value.empty() ? std::string(name) + " needs a whole number from 1 to 65535"
                                 : std::string(name) + " must be a whole number from 1 to 65535, not \"" +
                                       ShownText(value) + "\"";
        }
        options.virtualPedal.reportLength = *length;
    } else if (value.empty()) {
        return std::string(name) + " needs a file name";
    } else if (name == kLogOption) {
        options.virtualPedal.logFile = PathOfUtf8(value);
    } else if (name == kPressOption) {
        options.virtualPedal.pressFile = PathOfUtf8(value);
    } else {
        options.virtualPedal.presenceFile = PathOfUtf8(value);
    }
    return "";
}

} // namespace

ParsedBackendOptions ParseBackendOptions(const std::vector<std::string>& arguments) {
    ParsedBackendOptions parsed;
    std::string_view firstPedalOnlyOption;
    const auto keep = [&parsed](const std::string& argument) {
        parsed.rest.push_back(argument);
        return std::string();
    };
    ArgumentRules rules{{kBackendOptions},
                        ArgumentRules::EndOfOptions::LeaveTheRest,
                        [&](const OptionUse& use) {
                            if (use.option->name != kVirtualPedalOption && use.option->name != kPedalOption &&
                                firstPedalOnlyOption.empty()) {
                                firstPedalOnlyOption = use.option->name;
                            }
                            return Apply(use, parsed.options);
                        },
                        keep,
                        keep};
    parsed.error = WalkArguments(arguments, rules);
    if (parsed.error.empty() && !firstPedalOnlyOption.empty() && !parsed.options.useVirtualPedal) {
        parsed.error = std::string(firstPedalOnlyOption) + " only applies to the virtual pedal: add " +
                       std::string(kVirtualPedalOption);
    }
    // Only a composite pedal has a keyboard and a mouse to send the presses through.
    if (parsed.error.empty() && parsed.options.virtualPedal.pressFile &&
        !parsed.options.virtualPedal.composite) {
        parsed.error = std::string(kPressOption) + " needs " + std::string(kCompositeOption) +
                       ": only a composite virtual pedal has a keyboard and a mouse to press through";
    }
    return parsed;
}

std::unique_ptr<HidBackend> MakeBackend(const BackendOptions& options) {
    if (options.useVirtualPedal) {
        return MakeVirtualPedals(options.virtualPedal);
    }
    return MakePlatformBackend();
}

std::string_view BackendOptionsHelp() {
    static const std::string help = OptionHelp(kBackendOptions);
    return help;
}

} // namespace treadkey
