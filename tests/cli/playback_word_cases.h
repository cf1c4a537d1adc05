#pragma once

#include "protocol/playback_word.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace treadkey::testing {

// Profiles over delay, playback and auto_run: each given or not, in combinations word 0x7C can and cannot
// hold. Each profile also sets slot 1, so that one without the three is still a profile.
struct PlaybackWordCase {
    std::string members;              // the profile's other members, JSON
    std::optional<PlaybackWord> word; // what word 0x7C holds afterwards; nothing: no frame writes it
    std::string refusal;              // part of the one-line refusal, for a profile that is refused
    bool writesSingleOutput = false;  // whether word 0x78 is written

    std::string profile() const {
        return R"({"slots": {"1": {"key": "a"}})" + (members.empty() ? "" : ", " + members) + "}";
    }
    friend void PrintTo(const PlaybackWordCase& tested, std::ostream* out) { *out << tested.profile(); }
};

inline const std::string kTogether = "come together, as the pedal keeps them in one word: ";
inline const std::string kCombinations =
    ": it keeps delay, playback and auto-run in one word, which holds either any delay with "
    "\"auto_run\": true and \"playback\": \"loop\", or any playback and auto-run with \"delay\": 0";

inline std::vector<PlaybackWordCase> PlaybackWordCases() {
    return {
        {"", std::nullopt, ""},
        {R"("single_output": true)", std::nullopt, "", true},
        {R"("delay": 300)", std::nullopt, kTogether + "\"playback\" and \"auto_run\" are missing"},
        {R"("playback": "loop")", std::nullopt, kTogether + "\"delay\" and \"auto_run\" are missing"},
        {R"("auto_run": true)", std::nullopt, kTogether + "\"delay\" and \"playback\" are missing"},
        {R"("delay": 0, "playback": "single")", std::nullopt, kTogether + "\"auto_run\" is missing"},
        {R"("auto_run": false, "delay": 0)", std::nullopt, kTogether + "\"playback\" is missing"},
        {R"("playback": "loop", "auto_run": true)", std::nullopt, kTogether + "\"delay\" is missing"},
        {R"("delay": 0, "playback": "loop", "auto_run": true)", PlaybackWord{true, true, 0}, ""},
        {R"("delay": 0, "playback": "single", "auto_run": true)", PlaybackWord{true, false, 0}, ""},
        {R"("delay": 0, "playback": "loop", "auto_run": false)", PlaybackWord{false, true, 0}, ""},
        {R"("auto_run": false, "playback": "single", "delay": 0)", PlaybackWord{false, false, 0}, ""},
        {R"("delay": 300, "playback": "loop", "auto_run": true)", PlaybackWord{true, true, 300}, ""},
        {R"("delay": 65535, "single_output": false, "playback": "loop", "auto_run": true)",
         PlaybackWord{true, true, 65535}, "", true},
        {R"("delay": 300, "playback": "loop", "auto_run": false)", std::nullopt,
         "300 ms with \"auto_run\": false" + kCombinations},
        {R"("delay": 300, "playback": "single", "auto_run": true)", std::nullopt,
         "300 ms with \"playback\": \"single\"" + kCombinations},
        {R"("delay": 1, "playback": "single", "auto_run": false)", std::nullopt,
         "a delay of 1 ms with \"auto_run\": false and \"playback\": \"single\"" + kCombinations},
    };
}

} // namespace treadkey::testing
