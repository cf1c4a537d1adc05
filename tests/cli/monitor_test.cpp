#include "cli/watch_fixture.h"

#include <gtest/gtest.h>

namespace treadkey {
namespace {

using namespace std::chrono_literals;

TEST_F(Monitor, PrintsEachPressAndReleaseOfKeyboardAndMouseAndWritesNothing) {
    PlugPedal();
    script_ = {{0ms,
                [&] {
                    fake_.Send(kKeyboard, kCtrlShiftA);
                    fake_.Send(kKeyboard, kNoKeys);
                }},
               {10ms,
                [&] {
                    fake_.Send(kMouse, kRightButton);
                    fake_.Send(kMouse, kNoButtons);
                }},
               {20ms, [&] { fake_.Send(kKeyboard, kCtrlShiftA); }}}; // a fifth event, past the count
    const Outcome outcome = Run({"--count", "4"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(testing::SplitLines(outcome.out), (Lines{"press   ctrl+shift+a   < Ctrl + Shift + A >",
                                                       "release ctrl+shift+a   < Ctrl + Shift + A >",
                                                       "press   mouse right", "release mouse right"}));
    EXPECT_TRUE(fake_.Writes().empty());
    EXPECT_TRUE(fake_.OpenedPaths().empty()); // nothing opened for writing
    EXPECT_EQ(fake_.ReadOpenedPaths(), (std::vector<std::string>{kKeyboard, kMouse}));
    EXPECT_EQ(fake_.LiveHandles(), 0);
}

TEST_F(Monitor, TimesOutWithExitCodeOneOnlyWhenNothingCame) {
    const Outcome nothing = Run({"--timeout", "1"});
    EXPECT_EQ(nothing.exitCode, 1);
    EXPECT_EQ(nothing.out, "");
    EXPECT_EQ(nothing.err, "treadkeyctl: no pedal found (vendor 2704, product 2018): waiting for it\n"
                           "treadkeyctl: nothing was pressed within 1 second\n");
    // The clock went forward by the waits alone: the timeout, no more.
    EXPECT_EQ(now_.time_since_epoch(), 1s);

    PlugPedal();
    script_ = {{200ms, [&] { fake_.Send(kMouse, kRightButton); }}};
    const Outcome one = Run({"--timeout", "1"});
    EXPECT_EQ(one.exitCode, 0);
    EXPECT_EQ(one.out, "press   mouse right\n");
}

TEST_F(Monitor, FollowsThePedalThroughUnplugAndReplug) {
    PlugPedal();
    script_ = {
        {0ms, [&] { fake_.Send(kKeyboard, kCtrlShiftA); }},
        {400ms,
         [&] {
             fake_.Unplug(kKeyboard);
             fake_.Unplug(kMouse);
         }},
        {800ms, [&] { PlugKeyboard(); }},
        // By now a look at the list has opened it again; a new handle knows of nothing held before.
        {1600ms, [&] { fake_.Send(kKeyboard, kCtrlShiftA); }},
    };
    const Outcome outcome = Run({"--count", "2", "--timeout", "60"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(testing::SplitLines(outcome.out), (Lines{"press   ctrl+shift+a   < Ctrl + Shift + A >",
                                                       "press   ctrl+shift+a   < Ctrl + Shift + A >"}));
    EXPECT_EQ(Occurrences(outcome.err, "watching pedal-keyboard: keyboard (0001:0006)"), 2u) << outcome.err;
    EXPECT_EQ(Occurrences(outcome.err, "pedal-keyboard is gone"), 1u) << outcome.err;
    EXPECT_EQ(Occurrences(outcome.err, "the pedal is gone: waiting for it to come back"), 1u) << outcome.err;
}

TEST_F(Monitor, ExplainsANodeItMayNotReadOnce) {
    PlugPedal();
    fake_.Unplug(kKeyboard);
    fake_.Plug({kKeyboard, 0x2704, 0x2018, 2, true, {{0x01, 0x06}}, std::nullopt, false});
    const Outcome outcome = Run({"--timeout", "2"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(Occurrences(outcome.err, "permission denied: pedal-keyboard"), 1u) << outcome.err;
    EXPECT_GT(fake_.ReadOpenedPaths().size(), 4u); // tried again at each look at the list
}

TEST_F(Monitor, JsonGivesOneObjectAnEvent) {
    PlugPedal();
    script_ = {{250ms, [&] { fake_.Send(kKeyboard, kCtrlShiftA); }}};
    const Outcome outcome = Run({"--json", "--count", "1"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    const Lines lines = testing::SplitLines(outcome.out);
    ASSERT_EQ(lines.size(), 1u);
    const JsonParseResult parsed = ParseJson(lines[0]);
    ASSERT_TRUE(parsed.value) << parsed.error.message;
    std::map<std::string, const JsonValue*> members;
    for (const JsonMember& member : parsed.value->members) {
        members[member.name] = &member.value;
    }
    EXPECT_EQ(members.at("interface")->text, kKeyboard);
    EXPECT_EQ(members.at("report")->text, "03 00 04 00 00 00 00 00");
    EXPECT_EQ(members.at("event")->text, "press");
    EXPECT_EQ(members.at("name")->text, "ctrl+shift+a");
    EXPECT_EQ(members.at("caption")->text, "Ctrl + Shift + A");
    EXPECT_EQ(members.at("modifiers")->number, 3);
    EXPECT_EQ(members.at("time")->text, "2026-03-01T12:00:00.250Z"); // read on the run's clock
}

TEST_F(Monitor, IdentifyNamesThePedalPressedFirstAmongTwins) {
    command_ = "identify";
    PlugPedal(); // pedal usb-1-1
    const std::span<const std::uint8_t> descriptor = BootKeyboardDescriptor();
    fake_.Plug({.path = "twin-keyboard",
                .reportLength = 2,
                .collections = {{0x01, 0x06}},
                .descriptor = Bytes(descriptor.begin(), descriptor.end()),
                .pedal = "serial:T1"});
    script_ = {{0ms, [&] { fake_.Send(kKeyboard, kNoKeys); }}, // no press: a release alone names nothing
               {10ms, [&] { fake_.Send("twin-keyboard", kCtrlShiftA); }},
               {20ms, [&] { fake_.Send(kKeyboard, kCtrlShiftA); }}};
    const Outcome outcome = Run({});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "serial:T1\n");
    EXPECT_TRUE(fake_.Writes().empty());

    script_ = {{10ms, [&] { fake_.Send(kMouse, kRightButton); }}};
    const Outcome json = Run({"--json"});
    EXPECT_EQ(json.out, "{\"pedal\": \"usb-1-1\", \"name\": null, \"interface\": \"pedal-mouse\"}\n");

    script_.clear();
    const Outcome none = Run({"--timeout", "2"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out, "");
}

// Without --timeout a wait has no end: the prompt says so, and with one, how long it is.
TEST_F(Monitor, PromptsSayHowLongTheyWait) {
    PlugPedal();
    const struct {
        std::string command;
        Lines arguments;
        std::string prompt;
    } cases[] = {
        {"identify",
         {},
         "treadkeyctl: press the pedal you mean, waiting until one is pressed (--timeout S stops "
         "waiting)\n"},
        {"identify", {"--timeout", "2"}, "treadkeyctl: press the pedal you mean within 2 seconds\n"},
        {"verify",
         {"3"},
         "treadkeyctl: press slot 3 (unknown to the record: it is learned), waiting until it is "
         "pressed (--timeout S stops waiting)\n"},
        // The press above was learned.
        {"verify",
         {"3", "--timeout", "1"},
         "treadkeyctl: press slot 3 (ctrl+shift+a by the record) within 1 second\n"},
    };
    for (const auto& c : cases) {
        command_ = c.command;
        script_ = {{10ms, [&] { fake_.Send(kKeyboard, kCtrlShiftA); }}};
        const Outcome outcome = Run(c.arguments);
        EXPECT_EQ(outcome.exitCode, 0) << c.command << ": " << outcome.err;
        EXPECT_NE(outcome.err.find(c.prompt), std::string::npos) << c.command << ": " << outcome.err;
    }
}

} // namespace
} // namespace treadkey
