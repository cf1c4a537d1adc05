#include "stack_choice/backend_options.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace treadkey {
namespace {

using Arguments = std::vector<std::string>;

struct AcceptedCase {
    std::string name;
    Arguments arguments;
    bool useVirtualPedal;
    int reportLength;
    std::optional<std::string> logFile;
    std::optional<std::string> presenceFile;
    Arguments rest;

    // Names the case in test listings instead of dumping its bytes.
    friend void PrintTo(const AcceptedCase& tested, std::ostream* out) { *out << tested.name; }
};

class BackendOptionsAccepts : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(BackendOptionsAccepts, TakesOurOptionsAndPassesTheRestOn) {
    const AcceptedCase& expected = GetParam();
    const ParsedBackendOptions parsed = ParseBackendOptions(expected.arguments);
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.useVirtualPedal, expected.useVirtualPedal);
    EXPECT_EQ(parsed.options.virtualPedal.reportLength, expected.reportLength);
    EXPECT_EQ(parsed.options.virtualPedal.logFile, expected.logFile);
    EXPECT_EQ(parsed.options.virtualPedal.presenceFile, expected.presenceFile);
    EXPECT_EQ(parsed.rest, expected.rest);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, BackendOptionsAccepts,
    ::testing::Values(
        AcceptedCase{"Nothing", {}, false, 9, {}, {}, {}},
        AcceptedCase{"OnlyOthers",
                     {"-platform", "offscreen", "layout.tkp"},
                     false,
                     9,
                     {},
                     {},
                     {"-platform", "offscreen", "layout.tkp"}},
        AcceptedCase{"VirtualPedalAlone", {"--virtual-pedal"}, true, 9, {}, {}, {}},
        AcceptedCase{"LengthSeparate", {"--virtual-pedal", "--report-length", "65"}, true, 65, {}, {}, {}},
        AcceptedCase{"LengthJoinedBeforeFlag", {"--report-length=1", "--virtual-pedal"}, true, 1, {}, {}, {}},
        AcceptedCase{
            "LengthLargest", {"--virtual-pedal", "--report-length", "65535"}, true, 65535, {}, {}, {}},
        AcceptedCase{"LengthLeadingZeros", {"--virtual-pedal", "--report-length=009"}, true, 9, {}, {}, {}},
        AcceptedCase{"LastLengthWins",
                     {"--virtual-pedal", "--report-length=8", "--report-length", "64"},
                     true,
                     64,
                     {},
                     {},
                     {}},
        AcceptedCase{
            "FilesBothForms",
            {"--virtual-pedal", "--virtual-pedal-log", "out.log", "--virtual-pedal-present=plug ged"},
            true,
            9,
            "out.log",
            "plug ged",
            {}},
        AcceptedCase{"FileNamedDash", {"--virtual-pedal", "--virtual-pedal-log", "-"}, true, 9, "-", {}, {}},
        AcceptedCase{
            "MixedWithOthers",
            {"-platform", "offscreen", "--virtual-pedal", "layout.tkp", "--lang=de", "--report-length", "17"},
            true,
            17,
            {},
            {},
            {"-platform", "offscreen", "layout.tkp", "--lang=de"}},
        AcceptedCase{"LookalikesAreNotOurs",
                     {"--virtual-pedals", "--report-length-max=3", "-virtual-pedal"},
                     false,
                     9,
                     {},
                     {},
                     {"--virtual-pedals", "--report-length-max=3", "-virtual-pedal"}},
        AcceptedCase{"NothingReadAfterDoubleDash",
                     {"--virtual-pedal", "--", "--report-length", "0", "--virtual-pedal-log"},
                     true,
                     9,
                     {},
                     {},
                     {"--", "--report-length", "0", "--virtual-pedal-log"}}),
    [](const auto& tested) { return tested.param.name; });

struct RejectedCase {
    std::string name;
    Arguments arguments;
    std::string error;

    friend void PrintTo(const RejectedCase& tested, std::ostream* out) { *out << tested.name; }
};

class BackendOptionsRejects : public ::testing::TestWithParam<RejectedCase> {};

TEST_P(BackendOptionsRejects, WithOneLineNamingTheOption) {
    const ParsedBackendOptions parsed = ParseBackendOptions(GetParam().arguments);
    EXPECT_EQ(parsed.error, GetParam().error);
}

RejectedCase BadLength(const std::string& name, const std::string& value) {
    return {name,
            {"--virtual-pedal", "--report-length", value},
            "--report-length must be a whole number from 1 to 65535, not \"" + value + "\""};
}

const std::string kLengthMissing = "--report-length needs a whole number from 1 to 65535";

INSTANTIATE_TEST_SUITE_P(
    Arguments, BackendOptionsRejects,
    ::testing::Values(
        BadLength("Zero", "0"), BadLength("OnePastMax", "65536"), BadLength("Negative", "-1"),
        BadLength("Letters", "abc"), BadLength("Suffix", "9x"), BadLength("Plus", "+9"),
        BadLength("Space", " 9"), BadLength("Fraction", "9.0"), BadLength("HexPrefix", "0x10"),
        BadLength("Overflowing", "99999999999999999999"),
        RejectedCase{"LengthEmpty", {"--virtual-pedal", "--report-length", ""}, kLengthMissing},
        RejectedCase{"LengthJoinedEmpty", {"--virtual-pedal", "--report-length="}, kLengthMissing},
        RejectedCase{"LengthMissingAtEnd", {"--virtual-pedal", "--report-length"}, kLengthMissing},
        RejectedCase{"LengthFollowedByOption", {"--report-length", "--virtual-pedal"}, kLengthMissing},
        RejectedCase{"LogMissing",
                     {"--virtual-pedal", "--virtual-pedal-log"},
                     "--virtual-pedal-log needs a file name"},
        RejectedCase{"LogJoinedEmpty",
                     {"--virtual-pedal", "--virtual-pedal-log="},
                     "--virtual-pedal-log needs a file name"},
        RejectedCase{"PresenceFollowedByOption",
                     {"--virtual-pedal-present", "--virtual-pedal"},
                     "--virtual-pedal-present needs a file name"},
        RejectedCase{"FlagWithValue", {"--virtual-pedal=yes"}, "--virtual-pedal takes no value"},
        RejectedCase{"LengthWithoutVirtualPedal",
                     {"--report-length", "9"},
                     "--report-length only applies to the virtual pedal: add --virtual-pedal"},
        RejectedCase{"FilesWithoutVirtualPedal",
                     {"--virtual-pedal-present", "p", "--virtual-pedal-log", "l"},
                     "--virtual-pedal-present only applies to the virtual pedal: add --virtual-pedal"},
        RejectedCase{"CompositeWithValue",
                     {"--virtual-pedal", "--virtual-pedal-composite=yes"},
                     "--virtual-pedal-composite takes no value"},
        RejectedCase{"CompositeWithoutVirtualPedal",
                     {"--virtual-pedal-composite"},
                     "--virtual-pedal-composite only applies to the virtual pedal: add --virtual-pedal"}),
    [](const auto& tested) { return tested.param.name; });

TEST(BackendOptions, CompositeShapesTheVirtualPedalLikeARealOne) {
    EXPECT_FALSE(ParseBackendOptions({"--virtual-pedal"}).options.virtualPedal.composite);
    const ParsedBackendOptions parsed =
        ParseBackendOptions({"--virtual-pedal-composite", "--report-length", "17", "--virtual-pedal"});
    ASSERT_EQ(parsed.error, "");
    ASSERT_TRUE(parsed.options.virtualPedal.composite);
    std::vector<std::string> paths;
    for (const HidInterface& found : MakeBackend(parsed.options)->enumerate(0x2704, 0x2018)) {
        paths.push_back(found.path);
    }
    EXPECT_EQ(paths, (std::vector<std::string>{VirtualPedal::kKeyboardPath, VirtualPedal::kMousePath,
                                               VirtualPedal::kPath}));
}

TEST(MakeBackend, VirtualPedalCarriesItsOptions) {
    BackendOptions options;
    options.useVirtualPedal = true;
    options.virtualPedal.reportLength = 33;
    const std::unique_ptr<HidBackend> backend = MakeBackend(options);
    ASSERT_NE(dynamic_cast<VirtualPedal*>(backend.get()), nullptr);
    const OpenResult opened = backend->open(VirtualPedal::kPath);
    ASSERT_TRUE(opened.device) << opened.problem;
    EXPECT_EQ(opened.device->outputReportLength(), 33);
}

TEST(MakeBackend, RealDevicesWithoutTheFlag) {
    const std::unique_ptr<HidBackend> backend = MakeBackend(BackendOptions{});
    ASSERT_NE(backend, nullptr);
    EXPECT_EQ(dynamic_cast<VirtualPedal*>(backend.get()), nullptr);
}

TEST(BackendOptionsHelp, NamesEveryOption) {
    const std::string_view help = BackendOptionsHelp();
    for (const char* option : {"--virtual-pedal ", "--report-length N", "--virtual-pedal-log FILE",
                               "--virtual-pedal-present FILE", "--virtual-pedal-composite"}) {
        EXPECT_NE(help.find(option), std::string_view::npos) << option;
    }
    EXPECT_FALSE(help.ends_with('\n'));
}

} // namespace
} // namespace treadkey
