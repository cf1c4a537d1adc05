#include "cli/cli_run_fixture.h"

namespace treadkey {
namespace {

TEST_F(CliRun, ListShowsEachPedalInterfaceAndWhyOneDoesNotOpen) {
    fake_.Plug({.path = "/dev/hidraw1", .reportLength = 9});
    fake_.Plug({.path = "/dev/hidraw2", .openable = false});
    fake_.Plug({.path = "/dev/hidraw3", .vendorId = 0x1234});
    fake_.Plug({.path = "/dev/hidraw5", .reportLength = std::nullopt});
    const Outcome outcome = RunOnFake({"list"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out,
              "pedal usb-1-1\n"
              "  /dev/hidraw1: collections unknown; opens, output report length 9 bytes; the pedal's "
              "frames go here\n"
              "  /dev/hidraw2: collections unknown; cannot be opened: permission denied: /dev/hidraw2; "
              "not used: it cannot be opened\n"
              "  /dev/hidraw5: collections unknown; opens, output report length unknown; not used: an "
              "earlier interface takes the frames\n");

    EXPECT_EQ(RunOnPedal({"list"}).out,
              "pedal virtual-1\n  virtual-pedal: vendor-defined (FF00:0001); opens, output report length 9 "
              "bytes; the pedal's frames go here\n");
    std::filesystem::remove(presenceFile_);
    const Outcome none = RunOnPedal({"list"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_NE(none.err.find("no pedal found"), std::string::npos);
}

TEST_F(CliRun, ACompositePedalIsWrittenThroughItsConfigurationInterfaceAndListedWhole) {
    const Outcome key = RunOnPedal({"--virtual-pedal-composite", "key", "3", "ctrl+shift+a"});
    EXPECT_EQ(key.exitCode, 0) << key.err;
    EXPECT_EQ(key.out, "wrote 3 reports to virtual-pedal\n");
    // Reports at the keyboard or mouse would show up in the log under their paths.
    EXPECT_EQ(LoggedReports(),
              ExpectedReports({"AA 01 08 03 04 00 00", "AA 01 7C 79 01 00 00", "AA 01 78 79 01 00 00"}));

    const Outcome list = RunOnPedal({"--virtual-pedal-composite", "list"});
    EXPECT_EQ(
        testing::SplitLines(list.out),
        (Lines{
            "pedal virtual-1",
            "  virtual-pedal-keyboard: keyboard (0001:0006); opens, output report length 2 bytes; passed "
            "over: the system keeps keyboard, mouse, pen and touch interfaces to itself",
            "  virtual-pedal-mouse: mouse (0001:0002); opens, output report length 0 bytes; passed over: the "
            "system keeps keyboard, mouse, pen and touch interfaces to itself",
            "  virtual-pedal: vendor-defined (FF00:0001); opens, output report length 9 bytes; the pedal's "
            "frames go here"}));

    const Outcome json = RunOnPedal({"--virtual-pedal-composite", "list", "--json"});
    EXPECT_EQ(json.exitCode, 0);
    const JsonParseResult parsed = ParseJson(json.out);
    ASSERT_TRUE(parsed.value) << parsed.error.message << "\n" << json.out;
    const auto member = [](const JsonValue& object, const std::string& name) {
        for (const JsonMember& m : object.members) {
            if (m.name == name) {
                return m.value;
            }
        }
        ADD_FAILURE() << "no member " << name;
        return JsonValue{};
    };
    const std::vector<JsonValue> pedals = member(*parsed.value, "pedals").items;
    ASSERT_EQ(pedals.size(), 1u);
    EXPECT_EQ(member(pedals[0], "id").text, "virtual-1");
    EXPECT_EQ(member(pedals[0], "name").kind, JsonValue::Kind::Null);
    EXPECT_EQ(member(pedals[0], "frames_go_to").text, "virtual-pedal");
    const std::vector<JsonValue> interfaces = member(pedals[0], "interfaces").items;
    ASSERT_EQ(interfaces.size(), 3u);
    EXPECT_EQ(member(interfaces[0], "verdict").text, "held by the system");
    EXPECT_EQ(member(interfaces[0], "output_report_length").number, 2);
    EXPECT_EQ(member(member(interfaces[0], "collections").items[0], "usage").number, 6);
    EXPECT_EQ(member(interfaces[0], "open_problem").kind, JsonValue::Kind::Null);
    EXPECT_EQ(member(interfaces[1], "verdict").text, "held by the system");
    EXPECT_EQ(member(interfaces[2], "verdict").text, "chosen");
    EXPECT_EQ(member(member(interfaces[2], "collections").items[0], "name").text, "vendor-defined");
}

TEST_F(CliRun, TwinPedalsAreListedApartAndAWriteGoesOnlyToThePedalNamed) {
    const Outcome list = RunOnPedal({"--virtual-pedal-twin", "list"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(
        testing::SplitLines(list.out),
        (Lines{"pedal virtual-1",
               "  virtual-pedal: vendor-defined (FF00:0001); opens, output report length 9 bytes; the "
               "pedal's frames go here",
               "pedal virtual-2",
               "  virtual-pedal-2: vendor-defined (FF00:0001); opens, output report length 9 bytes; the "
               "pedal's frames go here"}));

    const struct {
        Lines arguments;
        std::string error;
    } refused[] = {
        {{"key", "1", "a"},
         "treadkeyctl: 2 pedals are plugged in (virtual-1, virtual-2): choose one with --pedal ID or --pedal "
         "NAME ('treadkeyctl identify' tells which one you press)\n"},
        {{"--dry-run", "clear-all", "--yes"}, ""},
        {{"--pedal", "virtual-3", "mouse", "1", "left"},
         "treadkeyctl: no pedal 'virtual-3' is plugged in; pedals present: virtual-1, virtual-2\n"},
        {{"--pedal", "virtual-3", "list"}, ""},
    };
    for (const auto& r : refused) {
        Lines arguments = r.arguments;
        arguments.insert(arguments.begin(), "--virtual-pedal-twin");
        const Outcome outcome = RunOnPedal(arguments);
        EXPECT_EQ(outcome.exitCode, 2) << r.arguments[0];
        EXPECT_EQ(outcome.out, "");
        if (!r.error.empty()) {
            EXPECT_EQ(outcome.err, r.error);
        }
    }
    EXPECT_TRUE(LoggedReports().empty());

    const Outcome key =
        RunOnPedal({"--virtual-pedal-twin", "--pedal", "virtual-2", "key", "--key-only", "1", "a"});
    EXPECT_EQ(key.exitCode, 0) << key.err;
    EXPECT_EQ(key.out, "wrote 1 report to virtual-pedal-2\n");
    EXPECT_EQ(LoggedReports(), (Lines{"virtual-pedal-2: " + ExpectedReports({"AA 01 00 00 04 00 00"})[0]}));
}

} // namespace
} // namespace treadkey
