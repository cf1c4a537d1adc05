#include "arguments/option_table.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace treadkey {
namespace {

constexpr std::array<OptionSpec, 3> kTable = {{
    {"--flag", "", "a flag"},
    {"--file", "FILE", "first line\nsecond line\nthird line"},
    {"--any", "V", "takes what follows", true},
}};

TEST(OptionName, CutsAtTheFirstEqualsOfADoubleDashArgumentOnly) {
    EXPECT_EQ(OptionName("--file=a=b"), "--file");
    EXPECT_EQ(OptionName("--file="), "--file");
    EXPECT_EQ(OptionName("--file"), "--file");
    EXPECT_EQ(OptionName("-x=1"), "-x=1");
    EXPECT_EQ(OptionName("a=b"), "a=b");
    EXPECT_EQ(OptionName("--"), "--");
}

TEST(ReadOption, TakesValuesJoinedOrFollowingAndRefusesFlagValues) {
    const struct {
        std::vector<std::string> arguments;
        const char* option; // nullptr: not an option of the table
        std::optional<std::string> value;
        std::size_t next; // where reading goes on
        const char* error;
    } cases[] = {
        {{"--flag"}, "--flag", std::nullopt, 0, ""},
        {{"--flag=yes"}, nullptr, std::nullopt, 0, "--flag takes no value"},
        {{"--flag="}, nullptr, std::nullopt, 0, "--flag takes no value"},
        {{"--file=a=b"}, "--file", "a=b", 0, ""},
        {{"--file="}, "--file", "", 0, ""},
        {{"--file", "-"}, "--file", "-", 1, ""},
        {{"--file", "--flag"}, "--file", std::nullopt, 0, ""},
        {{"--file"}, "--file", std::nullopt, 0, ""},
        {{"--any", "--flag"}, "--any", "--flag", 1, ""},
        {{"--any"}, "--any", std::nullopt, 0, ""},
        {{"--files"}, nullptr, std::nullopt, 0, ""},
        {{"-flag"}, nullptr, std::nullopt, 0, ""},
    };
    for (const auto& c : cases) {
        std::size_t i = 0;
        const OptionReading reading = ReadOption(kTable, c.arguments, i);
        EXPECT_EQ(reading.error, c.error) << c.arguments[0];
        EXPECT_EQ(i, c.next) << c.arguments[0];
        ASSERT_EQ(reading.use.has_value(), c.option != nullptr) << c.arguments[0];
        if (reading.use) {
            EXPECT_EQ(reading.use->option->name, c.option);
            EXPECT_EQ(reading.use->value, c.value) << c.arguments[0];
        }
    }
}

constexpr std::array<OptionSpec, 1> kAsIs = {{{.name = "--help", .alias = "-h"}}};
constexpr std::array<OptionSpec, 1> kAdded = {{{.name = "--extra"}}};

// What the handlers saw, one entry each, so that order and what reached which handler are both checked.
struct Walked {
    std::vector<std::string> seen;
    std::string error;
};

Walked Walk(const std::vector<std::string>& arguments, ArgumentRules::EndOfOptions endOfOptions) {
    Walked walked;
    ArgumentRules rules;
    rules.tables = {kTable, kAsIs};
    rules.endOfOptions = endOfOptions;
    rules.option = [&walked](const OptionUse& use) {
        walked.seen.push_back(std::string(use.option->name) + (use.value ? "=" + *use.value : ""));
        return std::string();
    };
    rules.unknownOption = [&walked](const std::string& argument) {
        walked.seen.push_back("unknown " + argument);
        return std::string();
    };
    rules.positional = [&walked, &rules](const std::string& argument) {
        walked.seen.push_back(argument);
        if (argument == "add") {
            rules.tables.push_back(kAdded);
        }
        return argument == "stop" ? "stopped" : std::string();
    };
    walked.error = WalkArguments(arguments, rules);
    return walked;
}

TEST(WalkArguments, SendsEachArgumentToOneHandlerInOrderAndStopsAtTheFirstError) {
    using End = ArgumentRules::EndOfOptions;
    using Seen = std::vector<std::string>;
    const struct {
        std::vector<std::string> arguments;
        End end;
        Seen seen;
        const char* error;
    } cases[] = {
        {{"--", "--flag", "p"}, End::NotSpecial, {"unknown --", "--flag", "p"}, ""},
        {{"--flag", "--", "--flag", "--file", "x"},
         End::LeaveTheRest,
         {"--flag", "--", "--flag", "--file", "x"},
         ""},
        {{"--", "--flag", "--", "-h"}, End::RestArePositional, {"--flag", "--", "-h"}, ""},
        {{"--any", "--", "p"}, End::RestArePositional, {"--any=--", "p"}, ""},
        {{"--file", "--", "p"}, End::RestArePositional, {"--file", "p"}, ""},
        {{"-h", "-h=x", "--help=x", "--help"}, End::NotSpecial, {"--help", "-h=x"}, "--help takes no value"},
        {{"--extra", "add", "--extra", "--extra=v", "p"},
         End::NotSpecial,
         {"unknown --extra", "add", "--extra"},
         "--extra takes no value"},
        {{"p", "stop", "q", "--flag"}, End::NotSpecial, {"p", "stop"}, "stopped"},
        {{"--", "stop", "q"}, End::LeaveTheRest, {"--", "stop"}, "stopped"},
        {{"--flag=1", "p"}, End::NotSpecial, {}, "--flag takes no value"},
        {{"-flag", "--files", "--file=a=b"}, End::NotSpecial, {"-flag", "unknown --files", "--file=a=b"}, ""},
        {{}, End::RestArePositional, {}, ""},
    };
    for (const auto& c : cases) {
        const Walked walked = Walk(c.arguments, c.end);
        const std::string shown = c.arguments.empty() ? "(none)" : c.arguments.front();
        EXPECT_EQ(walked.seen, c.seen) << shown;
        EXPECT_EQ(walked.error, c.error) << shown;
    }
}

TEST(OptionHelp, DescriptionsStartAtColumn32AndContinueBelowThemselves) {
    const std::string help = OptionHelp(kTable);
    EXPECT_EQ(help, "  --flag                        a flag\n"
                    "  --file FILE                   first line\n"
                    "                                second line\n"
                    "                                third line\n"
                    "  --any V                       takes what follows");
    constexpr std::array<OptionSpec, 1> kLong = {{{"--a-very-long-option-name", "VALUE", "x"}}};
    EXPECT_EQ(OptionHelp(kLong), "  --a-very-long-option-name VALUE x");
    EXPECT_EQ(OptionHelp(std::span<const OptionSpec>{}), "");
}

} // namespace
} // namespace treadkey
