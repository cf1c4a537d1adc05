#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace treadkey {

// One option of either program, as its table lists it: how it is read and how --help describes it.
struct OptionSpec {
    std::string_view name = {};      // "--delay"
    std::string_view valueName = {}; // "MS"; empty for a flag
    std::string_view help = {};      // may run over several lines, each after a '\n'
    // The pedal options leave an argument that starts with "--" to be read as an option of its own; a
    // command's options take the next argument whatever it is, so that "--delay --once" says what is wrong
    // with the delay.
    bool valueMayLookLikeAnOption = false;
    std::string_view alias = {}; // another spelling, such as "-h", that --help leaves out
};

// The name of an option argument: "--delay" for both "--delay" and "--delay=5".
std::string_view OptionName(std::string_view argument);

struct OptionUse {
    const OptionSpec* option = nullptr;
    std::optional<std::string> value; // for an option that takes one: nothing when none followed it
};

struct OptionReading {
    std::optional<OptionUse> use; // nothing when the argument names no option of the table
    std::string error;            // one line, for a flag given "=value"
};

// Reads arguments[i] against a table. An option that takes a value takes it after '=' or as the next argument
// (moving i past it); a flag given "=value" is an error.
OptionReading ReadOption(std::span<const OptionSpec> table, const std::vector<std::string>& arguments,
                         std::size_t& i);

// What a program does with the arguments, in the order they come. A handler returns an error line to stop at,
// or "" to go on.
struct ArgumentRules {
    std::vector<std::span<const OptionSpec>> tables; // looked in in order; a handler may add one
    enum class EndOfOptions {
        NotSpecial,        // a lone "--" is an unknown option like any other
        LeaveTheRest,      // "--" and everything after it go to positional unread
        RestArePositional, // "--" is dropped and everything after it goes to positional
    } endOfOptions = EndOfOptions::NotSpecial;
    std::function<std::string(const OptionUse&)> option;
    std::function<std::string(const std::string&)> unknownOption; // starts with "--", no table names it
    std::function<std::string(const std::string&)> positional;
};

// Walks the arguments once against the rules; returns the first error line, or "" when all went well.
std::string WalkArguments(const std::vector<std::string>& arguments, ArgumentRules& rules);

// --help lines for a table: two-space indent, the description at column 32, no trailing newline.
std::string OptionHelp(std::span<const OptionSpec> table);

// The text and at least one blank after it, filled with blanks to `width`: a cell of a column.
std::string Padded(std::string text, std::size_t width);

} // namespace treadkey
