#include "arguments/option_table.h"

#include <algorithm>

namespace treadkey {

namespace {

constexpr std::size_t kDescriptionColumn = 32;

const OptionSpec* FindOption(std::span<const OptionSpec> table, std::string_view name) {
    const auto found = std::find_if(table.begin(), table.end(), [name](const OptionSpec& option) {
        return option.name == name || (!option.alias.empty() && option.alias == name);
    });
    return found == table.end() ? nullptr : &*found;
}

} // namespace

std::string Padded(std::string text, std::size_t width) {
    text.resize(std::max(text.size() + 1, width), ' ');
    return text;
}

std::string_view OptionName(std::string_view argument) {
    return argument.starts_with("--") ? argument.substr(0, argument.find('=')) : argument;
}

OptionReading ReadOption(std::span<const OptionSpec> table, const std::vector<std::string>& arguments,
                         std::size_t& i) {
    const std::string_view argument = arguments[i];
    const std::string_view name = OptionName(argument);
    const OptionSpec* option = FindOption(table, name);
    const bool joined = name.size() < argument.size();
    if (option == nullptr) {
        return {};
    }
    if (option->valueName.empty()) {
        if (joined) {
            return {std::nullopt, std::string(name) + " takes no value"};
        }
        return {OptionUse{option, std::nullopt}, ""};
    }
    if (joined) {
        return {OptionUse{option, std::string(argument.substr(name.size() + 1))}, ""};
    }
    if (i + 1 < arguments.size() &&
        (option->valueMayLookLikeAnOption || !arguments[i + 1].starts_with("--"))) {
        return {OptionUse{option, arguments[++i]}, ""};
    }
    return {OptionUse{option, std::nullopt}, ""};
}

std::string WalkArguments(const std::vector<std::string>& arguments, ArgumentRules& rules) {
    using EndOfOptions = ArgumentRules::EndOfOptions;
    bool optionsOver = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (!optionsOver && arguments[i] == "--" && rules.endOfOptions != EndOfOptions::NotSpecial) {
            optionsOver = true;
            if (rules.endOfOptions == EndOfOptions::RestArePositional) {
                continue;
            }
        }
        OptionReading reading;
        // A handler may add a table while the walk goes on.
        for (std::size_t t = 0;
             !optionsOver && t < rules.tables.size() && !reading.use && reading.error.empty(); ++t) {
            reading = ReadOption(rules.tables[t], arguments, i);
        }
        std::string error = reading.error;
        if (error.empty()) {
            error = reading.use                                      ? rules.option(*reading.use)
                    : !optionsOver && arguments[i].starts_with("--") ? rules.unknownOption(arguments[i])
                                                                     : rules.positional(arguments[i]);
        }
        if (!error.empty()) {
            return error;
        }
    }
    return "";
}

std::string OptionHelp(std::span<const OptionSpec> table) {
    std::string help;
    for (const OptionSpec& option : table) {
        std::string line = "  " + std::string(option.name);
        if (!option.valueName.empty()) {
            line += " " + std::string(option.valueName);
        }
        std::string_view description = option.help;
        std::size_t lineEnd = description.find('\n');
        help += (help.empty() ? "" : "\n") + Padded(line, kDescriptionColumn) +
                std::string(description.substr(0, lineEnd));
        while (lineEnd != std::string_view::npos) {
            description.remove_prefix(lineEnd + 1);
            lineEnd = description.find('\n');
            help += "\n" + std::string(kDescriptionColumn, ' ') + std::string(description.substr(0, lineEnd));
        }
    }
    return help;
}

} // namespace treadkey
