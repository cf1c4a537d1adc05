#include "device/option_table.h"

#include <algorithm>

namespace treadkey {

namespace {

constexpr std::size_t kDescriptionColumn = 32;

std::string Padded(std::string text) {
    text.resize(std::max(text.size() + 1, kDescriptionColumn), ' ');
    return text;
}

} // namespace

std::string_view OptionName(std::string_view argument) {
    return argument.starts_with("--") ? argument.substr(0, argument.find('=')) : argument;
}

const OptionSpec* FindOption(std::span<const OptionSpec> table, std::string_view name) {
    const auto found = std::find_if(table.begin(), table.end(),
                                    [name](const OptionSpec& option) { return option.name == name; });
    return found == table.end() ? nullptr : &*found;
}

OptionReading ReadOption(std::span<const OptionSpec> table, const std::vector<std::string>& arguments,
                         std::size_t& i) {
    const std::string_view argument = arguments[i];
    const std::string_view name = OptionName(argument);
    const OptionSpec* option = FindOption(table, name);
    if (option == nullptr) {
        return {};
    }
    const bool joined = name.size() < argument.size();
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

std::string OptionHelp(std::span<const OptionSpec> table) {
    std::string help;
    for (const OptionSpec& option : table) {
        std::string line = "  " + std::string(option.name);
        if (!option.valueName.empty()) {
            line += " " + std::string(option.valueName);
        }
        std::string_view description = option.help;
        std::size_t lineEnd = description.find('\n');
        help += (help.empty() ? "" : "\n") + Padded(line) + std::string(description.substr(0, lineEnd));
        while (lineEnd != std::string_view::npos) {
            description.remove_prefix(lineEnd + 1);
            lineEnd = description.find('\n');
            help += "\n" + std::string(kDescriptionColumn, ' ') + std::string(description.substr(0, lineEnd));
        }
    }
    return help;
}

} // namespace treadkey
