#include "device/backend_options.h"

#include "device/platform_backend.h"

#include <charconv>
#include <optional>

namespace treadkey {
namespace {

constexpr std::string_view kVirtualPedalOption = "--virtual-pedal";
constexpr std::string_view kReportLengthOption = "--report-length";
constexpr std::string_view kLogOption = "--virtual-pedal-log";
constexpr std::string_view kPresenceOption = "--virtual-pedal-present";
constexpr std::string_view kCompositeOption = "--virtual-pedal-composite";
constexpr std::string_view kEndOfOptions = "--";

// Plain decimal digits only: no sign, no spaces, no suffix.
std::optional<int> ParseReportLength(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < 1 ||
        value > VirtualPedal::kMaxReportLength) {
        return std::nullopt;
    }
    return value;
}

struct SplitArgument {
    std::string_view name;
    std::optional<std::string_view> value; // the part after '=' in --name=value
};

SplitArgument Split(std::string_view argument) {
    const std::size_t equals = argument.find('=');
    if (!argument.starts_with("--") || equals == std::string_view::npos) {
        return {argument, std::nullopt};
    }
    return {argument.substr(0, equals), argument.substr(equals + 1)};
}

} // namespace

ParsedBackendOptions ParseBackendOptions(const std::vector<std::string>& arguments) {
    ParsedBackendOptions parsed;
    BackendOptions& options = parsed.options;
    std::string_view firstPedalOnlyOption;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == kEndOfOptions) {
            parsed.rest.insert(parsed.rest.end(), arguments.begin() + static_cast<std::ptrdiff_t>(i),
                               arguments.end());
            break;
        }
        const auto [name, inlineValue] = Split(arguments[i]);
        if (name == kVirtualPedalOption) {
            if (inlineValue) {
                parsed.error = std::string(kVirtualPedalOption) + " takes no value";
                return parsed;
            }
            options.useVirtualPedal = true;
            continue;
        }
        if (name == kCompositeOption) {
            if (inlineValue) {
                parsed.error = std::string(kCompositeOption) + " takes no value";
                return parsed;
            }
            options.virtualPedal.composite = true;
            if (firstPedalOnlyOption.empty()) {
                firstPedalOnlyOption = name;
            }
            continue;
        }
        if (name != kReportLengthOption && name != kLogOption && name != kPresenceOption) {
            parsed.rest.push_back(arguments[i]);
            continue;
        }

        std::string_view value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < arguments.size() && !arguments[i + 1].starts_with("--")) {
            value = arguments[++i];
        }
        if (firstPedalOnlyOption.empty()) {
            firstPedalOnlyOption = name;
        }

        if (name == kReportLengthOption) {
            const std::optional<int> length = ParseReportLength(value);
            if (!length) {
                parsed.error = value.empty()
                                   ? std::string(name) + " needs a whole number from 1 to 65535"
                                   : std::string(name) + " must be a whole number from 1 to 65535, not \"" +
                                         std::string(value) + "\"";
                return parsed;
            }
            options.virtualPedal.reportLength = *length;
        } else if (value.empty()) {
            parsed.error = std::string(name) + " needs a file name";
            return parsed;
        } else if (name == kLogOption) {
            options.virtualPedal.logFile = std::string(value);
        } else {
            options.virtualPedal.presenceFile = std::string(value);
        }
    }

    if (!firstPedalOnlyOption.empty() && !options.useVirtualPedal) {
        parsed.error = std::string(firstPedalOnlyOption) + " only applies to the virtual pedal: add " +
                       std::string(kVirtualPedalOption);
    }
    return parsed;
}

std::unique_ptr<HidBackend> MakeBackend(const BackendOptions& options) {
    if (options.useVirtualPedal) {
        return std::make_unique<VirtualPedal>(options.virtualPedal);
    }
    return MakePlatformBackend();
}

std::string_view BackendOptionsHelp() {
    return "  --virtual-pedal               use a virtual pedal instead of the USB device\n"
           "  --report-length N             the virtual pedal's output report length in bytes, report id\n"
           "                                included: 1 to 65535 (default 9)\n"
           "  --virtual-pedal-log FILE      append every report the virtual pedal receives to FILE as a\n"
           "                                line of hex bytes\n"
           "  --virtual-pedal-present FILE  plug the virtual pedal in only while FILE exists\n"
           "  --virtual-pedal-composite     give the virtual pedal a keyboard and a mouse interface before\n"
           "                                its configuration interface, as a real pedal has";
}

} // namespace treadkey
