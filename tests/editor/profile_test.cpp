#include "editor/input_names.h"
#include "editor/profile.h"
#include "protocol/frame_layout.h"
#include "protocol/output_report.h"
#include "protocol/pedal_memory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace treadkey {
namespace {

TEST(CliProfile, ReadsEveryMember) {
    const ParsedProfile parsed = ParseProfile(R"({
        "slots": {
            "1": {"key": "ctrl+shift+a"},
            "12": {"mouse": "middle"},
            "3": null
        },
        "delay": 300,
        "single_output": true,
        "playback": "loop",
        "auto_run": true
    })");
    ASSERT_TRUE(parsed.profile) << parsed.error.message;
    const Profile& profile = *parsed.profile;

    ASSERT_TRUE(profile.slots[0]);
    EXPECT_EQ(profile.slots[0]->kind, SlotContent::Kind::Key);
    EXPECT_EQ(profile.slots[0]->key, (KeyCombo{0x03, *KeyIndexByName("a")}));
    ASSERT_TRUE(profile.slots[11]);
    EXPECT_EQ(profile.slots[11]->kind, SlotContent::Kind::Mouse);
    EXPECT_EQ(profile.slots[11]->mouseButton, *MouseButtonByName("middle"));
    ASSERT_TRUE(profile.slots[2]);
    EXPECT_EQ(profile.slots[2]->kind, SlotContent::Kind::Cleared);
    for (const std::size_t untouched : {1u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u}) {
        EXPECT_FALSE(profile.slots[untouched]) << "slot " << untouched + 1;
    }
    EXPECT_EQ(profile.playbackWord, (PlaybackWord{true, true, 300}));
    EXPECT_EQ(profile.singleOutput, true);
}

TEST(CliProfile, LeavesOutWhatItDoesNotName) {
    const ParsedProfile parsed = ParseProfile(R"({"single_output": false})");
    ASSERT_TRUE(parsed.profile) << parsed.error.message;
    EXPECT_EQ(parsed.profile->singleOutput, false);
    EXPECT_FALSE(parsed.profile->playbackWord);
    for (const auto& slot : parsed.profile->slots) {
        EXPECT_FALSE(slot);
    }
}

TEST(CliProfile, FaultsSayWhereAndWhy) {
    const struct {
        const char* json;
        int line;
        int column;
        const char* message;
    } cases[] = {
        // Syntax.
        {"{\"slots\": {\"1\": {\"key\": \"a\"}}", 1, 30, "expected ',' or '}'"},
        {"{\n  \"delay\": 3,\n  \"delay\": 4\n}", 3, 3, "\"delay\" is given twice"},
        // Shape and types.
        {"[]", 1, 1, "a profile is a JSON object, not an array"},
        {"{}", 1, 1, "the profile sets nothing"},
        {"{\"slots\": {}}", 1, 1, "the profile sets nothing"},
        {"{\"slots\": []}", 1, 11, "\"slots\" must be an object, not an array"},
        {"{\"slots\": {\"2\": \"a\"}}", 1, 17, "slot 2 must be an object with \"key\" or \"mouse\""},
        {"{\"slots\": {\"2\": {}}}", 1, 17, "slot 2 is empty"},
        {"{\"slots\": {\"2\": {\"key\": 4}}}", 1, 25, "the key of slot 2 must be a string, not a number"},
        {"{\"slots\": {\"2\": {\"mouse\": true}}}", 1, 27, "must be a string, not a boolean"},
        {"{\"delay\": \"300\"}", 1, 11, "\"delay\" must be a number, not a string"},
        {"{\"single_output\": 1}", 1, 19, "\"single_output\" must be a boolean, not a number"},
        {"{\"playback\": \"loop\", \"auto_run\": \"yes\"}", 1, 34, "\"auto_run\" must be a boolean"},
        // Values.
        {"{\"slots\": {\"13\": null}}", 1, 12, "\"13\" is not a slot"},
        {"{\"slots\": {\"0\": null}}", 1, 12, "\"0\" is not a slot"},
        {"{\"slots\": {\"01\": null}}", 1, 12, "\"01\" is not a slot"},
        {"{\"slots\": {\"one\": null}}", 1, 12, "\"one\" is not a slot"},
        {"{\"slots\": {\"4\": {\"key\": \"a\", \"mouse\": \"left\"}}}", 1, 30, "not both"},
        {"{\"slots\": {\"4\": {\"mouse\": \"left\", \"key\": \"a\"}}}", 1, 35, "not both"},
        {"{\"slots\": {\"4\": {\"key\": \"ctlr+a\"}}}", 1, 25,
         "slot 4: unknown key name \"ctlr\"; closest: ctrl"},
        {"{\"slots\": {\"4\": {\"key\": \"ctrl\"}}}", 1, 25, "names no key"},
        {"{\"slots\": {\"4\": {\"mouse\": \"centre\"}}}", 1, 27, "unknown mouse button \"centre\""},
        {"{\"delay\": 65536}", 1, 11, "from 0 to 65535"},
        {"{\"delay\": -1}", 1, 11, "from 0 to 65535"},
        {"{\"delay\": 1.5}", 1, 11, "whole number"},
        {"{\"playback\": \"twice\", \"auto_run\": true}", 1, 14, "\"loop\" or \"single\", not \"twice\""},
        {"{\"playback\": \"single\", \"delay\": 0,\n \"auto_run\": 1}", 2, 14,
         "\"auto_run\" must be a boolean"},
        {"{\"playback\": \"loop\", \"delay\": 3}", 1, 22, "\"auto_run\" is missing"},
        {"{\"auto_run\": false,\n \"playback\": \"loop\",\n \"delay\": 3}", 3, 11,
         "cannot hold a delay of 3 ms"},
        // Unknown fields.
        {"{\"delay\": 0,\n \"dealy\": 0}", 2, 2, "unknown field \"dealy\""},
        {"{\"slots\": {\"1\": {\"key\": \"a\", \"delay\": 5}}}", 1, 30, "unknown field \"delay\" in slot 1"},
    };
    for (const auto& c : cases) {
        const ParsedProfile parsed = ParseProfile(c.json);
        EXPECT_FALSE(parsed.profile) << c.json;
        EXPECT_EQ(parsed.error.position.line, c.line) << c.json << ": " << parsed.error.message;
        EXPECT_EQ(parsed.error.position.column, c.column) << c.json << ": " << parsed.error.message;
        EXPECT_NE(parsed.error.message.find(c.message), std::string::npos)
            << c.json << ": " << parsed.error.message;
    }
}

TEST(CliProfile, AcceptsTheLimitsOfEachRange) {
    const ParsedProfile parsed = ParseProfile(R"({"slots": {"1": null, "12": null}})");
    ASSERT_TRUE(parsed.profile) << parsed.error.message;
    EXPECT_TRUE(parsed.profile->slots[0]);
    EXPECT_TRUE(parsed.profile->slots[11]);
    const ParsedProfile zero = ParseProfile(R"({"delay": 0.0, "playback": "single", "auto_run": false})");
    ASSERT_TRUE(zero.profile) << zero.error.message;
    EXPECT_EQ(zero.profile->playbackWord, (PlaybackWord{false, false, 0}));
}

// Profiles over delay, playback and auto_run, each given or not, in combinations word 0x7C can and cannot
// hold, each also setting slot 1: one that is taken writes word 0x7C at most once and leaves the pedal's
// memory as asked; what leaves the three out writes neither settings word unless it sets single output. One
// that is refused says why.
TEST(ProfileFrames, WriteThePlaybackWordOnceAsAskedOrTheProfileIsRefused) {
    const std::string together = "come together, as the pedal keeps them in one word: ";
    const std::string combinations =
        ": it keeps delay, playback and auto-run in one word, which holds either any delay with "
        "\"auto_run\": true and \"playback\": \"loop\", or any playback and auto-run with \"delay\": 0";
    const struct {
        std::string members;              // besides slot 1, JSON
        std::optional<PlaybackWord> word; // what word 0x7C holds afterwards; nothing: no frame writes it
        std::string refusal;              // part of the refusal
        bool writesSingleOutput = false;  // whether word 0x78 is written
    } cases[] = {
        {"", std::nullopt, ""},
        {R"("single_output": true)", std::nullopt, "", true},
        {R"("delay": 300)", std::nullopt, together + "\"playback\" and \"auto_run\" are missing"},
        {R"("playback": "loop")", std::nullopt, together + "\"delay\" and \"auto_run\" are missing"},
        {R"("auto_run": true)", std::nullopt, together + "\"delay\" and \"playback\" are missing"},
        {R"("delay": 0, "playback": "single")", std::nullopt, together + "\"auto_run\" is missing"},
        {R"("auto_run": false, "delay": 0)", std::nullopt, together + "\"playback\" is missing"},
        {R"("playback": "loop", "auto_run": true)", std::nullopt, together + "\"delay\" is missing"},
        {R"("delay": 0, "playback": "loop", "auto_run": true)", PlaybackWord{true, true, 0}, ""},
        {R"("delay": 0, "playback": "single", "auto_run": true)", PlaybackWord{true, false, 0}, ""},
        {R"("delay": 0, "playback": "loop", "auto_run": false)", PlaybackWord{false, true, 0}, ""},
        {R"("auto_run": false, "playback": "single", "delay": 0)", PlaybackWord{false, false, 0}, ""},
        {R"("delay": 300, "playback": "loop", "auto_run": true)", PlaybackWord{true, true, 300}, ""},
        {R"("delay": 65535, "single_output": false, "playback": "loop", "auto_run": true)",
         PlaybackWord{true, true, 65535}, "", true},
        {R"("delay": 300, "playback": "loop", "auto_run": false)", std::nullopt,
         "300 ms with \"auto_run\": false" + combinations},
        {R"("delay": 300, "playback": "single", "auto_run": true)", std::nullopt,
         "300 ms with \"playback\": \"single\"" + combinations},
        {R"("delay": 1, "playback": "single", "auto_run": false)", std::nullopt,
         "a delay of 1 ms with \"auto_run\": false and \"playback\": \"single\"" + combinations},
    };
    for (const auto& c : cases) {
        const std::string text =
            R"({"slots": {"1": {"key": "a"}})" + (c.members.empty() ? "" : ", " + c.members) + "}";
        SCOPED_TRACE(text);
        const ParsedProfile parsed = ParseProfile(text);
        if (!c.refusal.empty()) {
            EXPECT_FALSE(parsed.profile);
            EXPECT_NE(parsed.error.message.find(c.refusal), std::string::npos) << parsed.error.message;
            continue;
        }
        ASSERT_TRUE(parsed.profile) << parsed.error.message;
        PedalMemory memory;
        int playbackFrames = 0;
        for (const PacedFrame& frame : ProfileFrames(*parsed.profile)) {
            const std::vector<std::uint8_t> report = BuildOutputReport(frame.text, kFrameReportLength);
            EXPECT_TRUE(memory.decode(report)) << frame.text;
            // Report id, lead, command, then the address.
            playbackFrames += report[3] == kLastAddress ? 1 : 0;
        }
        EXPECT_EQ(playbackFrames, c.word ? 1 : 0);
        EXPECT_EQ(memory.playbackWord(), c.word);
        EXPECT_EQ(memory.wordAt(kSingleOutputAddress)->writer != WordWriter::None, c.writesSingleOutput);
        EXPECT_EQ(memory.slot(1)->writer, WordWriter::KeyCommand);
    }
}

} // namespace
} // namespace treadkey
