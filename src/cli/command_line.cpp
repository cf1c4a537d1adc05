#include "cli/command_line.h"

#include "arguments/shown_text.h"
#include "editor/closest_names.h"
#include "editor/input_names.h"
#include "editor/key_combo.h"
#include "editor/value_ranges.h"
#include "protocol/hex_filter.h"

#include <map>
#include <set>

namespace treadkey {
namespace {

// The arguments of one command, sorted but not yet understood.
struct CommandArguments {
    const CommandSpec* command = nullptr;
    std::vector<std::string> operands;
    std::map<std::string, std::string, std::less<>> values; // options with a value
    std::set<std::string, std::less<>> flags;               // options without one, --help among them
};

struct UsageError {
    std::string message;
};

// User text in a message, in quotes.
std::string Quoted(std::string_view text) {
    return "'" + ShownText(text) + "'";
}

std::string UnknownCommand(std::string_view name) {
    std::vector<NameSpelling> names;
    for (const CommandSpec& command : Commands()) {
        names.push_back({command.name, std::string(command.name)});
    }
    std::string message = "unknown command " + Quoted(name);
    const std::vector<std::string_view> closest = ClosestNames(name, names, 1);
    if (!closest.empty()) {
        message += "; did you mean " + Quoted(closest.front()) + "?";
    }
    return message + " ('treadkeyctl --help' lists the commands)";
}

// Looks at the options every command takes first, then at the options of the command once it is named.
CommandArguments Sort(const std::vector<std::string>& arguments) {
    CommandArguments sorted;
    ArgumentRules rules;
    rules.tables = {kDryRunOptions, kHelpOptions};
    rules.endOfOptions = ArgumentRules::EndOfOptions::RestArePositional;
    rules.option = [&sorted](const OptionUse& use) {
        const OptionSpec& option = *use.option;
        const std::string name(option.name);
        if (option.valueName.empty()) {
            sorted.flags.insert(name);
        } else if (use.value) {
            sorted.values[name] = *use.value;
        } else {
            return name + " needs a value: " + std::string(option.valueName);
        }
        return std::string();
    };
    rules.unknownOption = [&sorted](const std::string& argument) {
        return "unknown option " + Quoted(OptionName(argument)) +
               (sorted.command != nullptr ? " for '" + std::string(sorted.command->name) + "'"
                                          : std::string(" before the command"));
    };
    rules.positional = [&sorted, &rules](const std::string& argument) {
        if (sorted.command != nullptr) {
            sorted.operands.push_back(argument);
            return std::string();
        }
        sorted.command = FindCommand(argument);
        if (sorted.command == nullptr) {
            // Short options other than -h and -V are not this program's, but they are still options.
            return argument.starts_with('-') && argument.size() > 1
                       ? "unknown option " + Quoted(argument) + " before the command"
                       : UnknownCommand(argument);
        }
        rules.tables.push_back(sorted.command->options);
        return std::string();
    };
    if (std::string error = WalkArguments(arguments, rules); !error.empty()) {
        throw UsageError{std::move(error)};
    }
    return sorted;
}

int ReadSlot(const std::string& text) {
    const std::optional<int> slot = ParseWholeNumber(text, kFirstSlot, kLastSlot);
    if (!slot) {
        throw UsageError{"slot must be a whole number from 1 to 12, not " + Quoted(text)};
    }
    return *slot;
}

const std::string* Value(const CommandArguments& sorted, std::string_view option) {
    const auto found = sorted.values.find(option);
    return found != sorted.values.end() ? &found->second : nullptr;
}

// The delay frame stores auto-run and playback along with the delay: the user hears what it leaves.
constexpr std::string_view kKeyNotice =
    "note: the key delay frame leaves the pedal with auto-run on and "
    "loop playback, as the window's keys do; --key-only writes the key alone";
constexpr std::string_view kPlaybackNotice =
    "note: the playback frame sets the key delay to 0, which the pedal keeps in the same word";

FramePlan KeyFrames(const CommandArguments& sorted, std::string& notice) {
    const int slot = ReadSlot(sorted.operands[0]);
    const ParsedKeyCombo combo = ParseKeyCombo(sorted.operands[1]);
    if (!combo.combo) {
        throw UsageError{combo.error};
    }
    const std::string* delayText = Value(sorted, "--delay");
    const bool once = sorted.flags.contains("--once");
    if (sorted.flags.contains("--key-only")) {
        if (delayText != nullptr || once) {
            throw UsageError{std::string(delayText != nullptr ? "--delay" : "--once") +
                             " goes with the settings frames, which --key-only leaves out"};
        }
        return KeyOnlyPlan(slot, *combo.combo);
    }
    int delay = 0;
    if (delayText != nullptr) {
        const std::optional<int> parsed = ParseWholeNumber(*delayText, 0, kMaxKeyDelay);
        if (!parsed) {
            throw UsageError{"--delay must be a whole number of milliseconds from 0 to 65535, not " +
                             Quoted(*delayText)};
        }
        delay = *parsed;
    }
    notice = kKeyNotice;
    return KeyPlan(slot, *combo.combo, delay, once);
}

MonitorOptions MonitorSettings(const CommandArguments& sorted) {
    // Large enough for a day of presses or a day of waiting, small enough to stay in an int.
    constexpr int kMostEvents = 1'000'000'000;
    constexpr int kLongestTimeout = 86'400;
    MonitorOptions options;
    options.json = sorted.flags.contains("--json");
    if (const std::string* text = Value(sorted, "--count")) {
        options.count = ParseWholeNumber(*text, 1, kMostEvents);
        if (!options.count) {
            throw UsageError{"--count must be a whole number of events from 1 on, not " + Quoted(*text)};
        }
    }
    if (const std::string* text = Value(sorted, "--timeout")) {
        const std::optional<int> seconds = ParseWholeNumber(*text, 1, kLongestTimeout);
        if (!seconds) {
            throw UsageError{"--timeout must be a whole number of seconds from 1 to 86400, not " +
                             Quoted(*text)};
        }
        options.timeout = std::chrono::seconds(*seconds);
    }
    return options;
}

FramePlan MouseFrames(const CommandArguments& sorted) {
    const int slot = ReadSlot(sorted.operands[0]);
    const std::optional<std::size_t> button = MouseButtonByName(sorted.operands[1]);
    if (!button) {
        throw UsageError{"unknown mouse button " + Quoted(sorted.operands[1]) + ": left, middle or right"};
    }
    return MousePlan(slot, *button);
}

FramePlan PlaybackFrames(const CommandArguments& sorted) {
    const std::string mode = ToLowerAscii(sorted.operands[0]);
    if (mode != "loop" && mode != "single") {
        throw UsageError{"playback is 'loop' or 'single', not " + Quoted(sorted.operands[0])};
    }
    const std::string* autoRun = Value(sorted, "--auto-run");
    if (autoRun == nullptr) {
        throw UsageError{"playback needs --auto-run on|off: the pedal keeps both in one word"};
    }
    const std::string autoRunValue = ToLowerAscii(*autoRun);
    if (autoRunValue != "on" && autoRunValue != "off") {
        throw UsageError{"--auto-run is 'on' or 'off', not " + Quoted(*autoRun)};
    }
    return PlaybackPlan(autoRunValue == "on", mode == "loop");
}

FramePlan ClearAllFrames(const CommandArguments& sorted) {
    if (!sorted.flags.contains("--yes")) {
        throw UsageError{"clear-all erases every slot and setting: add --yes to go ahead"};
    }
    return ClearAllPlan();
}

FramePlan RawFrames(const CommandArguments& sorted) {
    std::string text;
    for (const std::string& operand : sorted.operands) {
        text += (text.empty() ? "" : " ") + operand;
    }
    bool hasDigit = false;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (!IsCommandTextCharacter(byte)) {
            const std::string shown = byte < 0x80 ? Quoted(std::string(1, c)) : "a non-ASCII character";
            throw UsageError{"raw takes hex digits and spaces only, not " + shown + " in " + Quoted(text)};
        }
        hasDigit = hasDigit || c != ' ';
    }
    if (!hasDigit) {
        throw UsageError{"raw needs hex digits, e.g. \"AA 01 7C 79 01 00 00\""};
    }
    return RawPlan(text);
}

Invocation Understand(const CommandArguments& sorted) {
    Invocation invocation;
    const bool help = sorted.flags.contains(kHelpOption);
    invocation.dryRun = sorted.flags.contains(kDryRunOption);
    if (sorted.flags.contains(kVersionOption)) {
        invocation.action = Invocation::Action::Version;
        return invocation;
    }
    if (sorted.command == nullptr) {
        if (!help) {
            throw UsageError{"no command given ('treadkeyctl --help' lists the commands)"};
        }
        return invocation;
    }
    const CommandSpec& command = *sorted.command;
    if (help) {
        invocation.action = Invocation::Action::CommandHelp;
        invocation.helpCommand = &command;
        return invocation;
    }
    if (sorted.operands.size() < command.minOperands || sorted.operands.size() > command.maxOperands) {
        throw UsageError{"usage: treadkeyctl " + CommandSynopsis(command) + " ('treadkeyctl help " +
                         std::string(command.name) + "' tells more)"};
    }
    // Left unsaid, a dry run of a command that writes nothing would pass for one that was checked.
    if (invocation.dryRun && !CommandWrites(command)) {
        throw UsageError{std::string(kDryRunOption) + " goes with the commands that write; " +
                         Quoted(command.name) + " writes nothing to the pedal"};
    }
    switch (command.id) {
    case CommandId::Help:
        if (sorted.operands.empty()) {
            return invocation;
        }
        invocation.action = Invocation::Action::CommandHelp;
        invocation.helpCommand = FindCommand(sorted.operands[0]);
        if (invocation.helpCommand == nullptr) {
            throw UsageError{UnknownCommand(sorted.operands[0])};
        }
        return invocation;
    case CommandId::List:
        invocation.action = Invocation::Action::List;
        invocation.json = sorted.flags.contains("--json");
        return invocation;
    case CommandId::Doctor:
        invocation.action = Invocation::Action::Doctor;
        invocation.json = sorted.flags.contains("--json");
        return invocation;
    case CommandId::Keys:
        invocation.action = Invocation::Action::Keys;
        return invocation;
    case CommandId::Monitor:
        invocation.action = Invocation::Action::Monitor;
        invocation.monitor = MonitorSettings(sorted);
        return invocation;
    case CommandId::Identify:
        invocation.action = Invocation::Action::Identify;
        invocation.monitor = MonitorSettings(sorted);
        invocation.monitor.identify = true;
        return invocation;
    case CommandId::Name:
        invocation.action = Invocation::Action::Name;
        invocation.namedPedal = sorted.operands[0];
        invocation.nickname = sorted.operands[1];
        return invocation;
    case CommandId::Apply:
        invocation.action = Invocation::Action::Apply;
        invocation.profilePath = sorted.operands[0];
        return invocation;
    case CommandId::Verify:
        invocation.action = Invocation::Action::Verify;
        invocation.monitor = MonitorSettings(sorted);
        for (const std::string& slot : sorted.operands) {
            invocation.verifySlots.push_back(ReadSlot(slot));
        }
        return invocation;
    case CommandId::Show:
        invocation.action = Invocation::Action::Show;
        invocation.json = sorted.flags.contains("--json");
        return invocation;
    case CommandId::Export:
        invocation.action = Invocation::Action::Export;
        invocation.profilePath = sorted.operands[0];
        return invocation;
    case CommandId::Key:
        invocation.frames = KeyFrames(sorted, invocation.notice);
        break;
    case CommandId::Mouse:
        invocation.frames = MouseFrames(sorted);
        break;
    case CommandId::Playback:
        invocation.frames = PlaybackFrames(sorted);
        invocation.notice = kPlaybackNotice;
        break;
    case CommandId::ClearAll:
        invocation.frames = ClearAllFrames(sorted);
        break;
    case CommandId::Raw:
        invocation.frames = RawFrames(sorted);
        break;
    }
    invocation.action = Invocation::Action::Write;
    return invocation;
}

} // namespace

ParsedInvocation ParseCommandLine(const std::vector<std::string>& arguments) {
    ParsedBackendOptions backend = ParseBackendOptions(arguments);
    if (!backend.error.empty()) {
        return {std::nullopt, backend.error};
    }
    try {
        Invocation invocation = Understand(Sort(backend.rest));
        invocation.backend = std::move(backend.options);
        return {std::move(invocation), ""};
    } catch (const UsageError& error) {
        return {std::nullopt, error.message};
    }
}

} // namespace treadkey
