#include "cli/commands/command.h"
#include "cli/frame_writer.h"
#include "cli/help_text.h"
#include "editor/frame_sequences.h"
#include "editor/input_names.h"
#include "editor/key_combo.h"
#include "editor/mouse_buttons.h"
#include "editor/profile.h"
#include "protocol/frames.h"
#include "protocol/hex_filter.h"
#include "protocol/number_text.h"

namespace treadkey {
namespace {

// The commands that write frames the command line spells out; they differ in how they read it.
class FrameWriteCommand : public Command {
public:
    explicit FrameWriteCommand(CommandDescription description) : Command(Writing(std::move(description))) {}

    int Run(const CommandRun& run) override {
        const int exitCode = WriteFrames(plan_, *run.hid, run.backend, run.pedal, run.dryRun, run.services);
        if (exitCode == kExitDone && !notice_.empty()) {
            run.services.err << kProgramName << ": " << notice_ << '\n';
        }
        return exitCode;
    }

protected:
    FrameSequence plan_;
    std::string notice_; // what else the frames change, for stderr
};

class KeyCommand final : public FrameWriteCommand {
public:
    KeyCommand()
        : FrameWriteCommand(
              {.name = "key",
               .operands = "SLOT COMBO",
               .minOperands = 2,
               .maxOperands = 2,
               .options = {{"--delay", "MS", "key delay in milliseconds, 0 to 65535 (default 0)", true},
                           {"--once", "",
                            "switch single output on (the window's \"Output Once\"); off without it", true},
                           {"--key-only", "",
                            "write the key frame alone: no key delay, no single output, and auto-run and\n"
                            "playback stay as they are"}},
               .summary = "store a key combination in a slot",
               .details =
                   R"(Stores a key combination in SLOT (1 to 12) and writes what a click on the window's key writes: the key
frame, the key delay and the single-output setting, 50 ms apart. The pedal keeps the key delay in
one word with auto-run and playback, and the delay frame stores auto-run on and loop playback with
it: after 'key' the pedal runs its slots by itself at power-up, in a loop. To keep single playback
or auto-run off (set with 'playback'), store keys with --key-only, which writes neither settings
word.

COMBO is one key name and any modifiers joined by '+', in any order and any case: ctrl+shift+a,
alt_r+f12, win+kp_enter, backslash. Modifiers: ctrl, shift, alt, win (also ctrl_l, shift_l, alt_l,
win_l) and ctrl_r, shift_r, alt_r, win_r; win is also super, meta and cmd, ctrl control, alt option.
'treadkeyctl keys' lists the key names and their other names (del, escape, return, pgup, ...).
)"}) {}

    void Read(const CommandArguments& arguments) override {
        const int slot = ReadSlot(arguments.operands[0]);
        const ParsedKeyCombo combo = ParseKeyCombo(arguments.operands[1]);
        if (!combo.combo) {
            throw UsageError{combo.error};
        }
        const std::string* delayText = arguments.Value("--delay");
        const bool once = arguments.Has("--once");
        if (arguments.Has("--key-only")) {
            if (delayText != nullptr || once) {
                throw UsageError{std::string(delayText != nullptr ? "--delay" : "--once") +
                                 " goes with the settings frames, which --key-only leaves out"};
            }
            plan_ = {{KeyFrame(std::to_string(slot), combo.combo->modifiers, KeyCode(*combo.combo))}};
            return;
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
        // The delay frame stores auto-run and playback along with the delay: the user hears what it leaves.
        notice_ = "note: the key delay frame leaves the pedal with auto-run on and loop playback, as the "
                  "window's keys do; --key-only writes the key alone";
        plan_ = KeyAssignmentSequence(std::to_string(slot), combo.combo->modifiers, KeyCode(*combo.combo),
                                      delay, once);
    }
};

class MouseCommand final : public FrameWriteCommand {
public:
    MouseCommand()
        : FrameWriteCommand(
              {.name = "mouse",
               .operands = "SLOT left|middle|right",
               .minOperands = 2,
               .maxOperands = 2,
               .summary = "store a mouse click in a slot",
               .details = "Stores a click of the left, middle or right mouse button in SLOT (1 to 12).\n"}) {}

    void Read(const CommandArguments& arguments) override {
        const int slot = ReadSlot(arguments.operands[0]);
        const std::optional<std::size_t> button = MouseButtonByName(arguments.operands[1]);
        if (!button) {
            throw UsageError{"unknown mouse button " + Quoted(arguments.operands[1]) +
                             ": left, middle or right"};
        }
        plan_ = {{MouseFrame(std::to_string(slot), kMouseButtons[*button].code)}};
    }
};

class PlaybackCommand final : public FrameWriteCommand {
public:
    PlaybackCommand()
        : FrameWriteCommand(
              {.name = "playback",
               .operands = "loop|single --auto-run on|off",
               .minOperands = 1,
               .maxOperands = 1,
               .options = {{"--auto-run", "on|off",
                            "whether the pedal runs its slots by itself at power-up (required)", true}},
               .summary = "set loop or single playback and auto-run; the key delay to 0",
               .details =
                   R"(Sets whether the pedal plays its slots in a loop or once, and whether it starts by itself at power-up.
The pedal keeps both in one word with the key delay, so both are given, and the key delay is set
to 0. A key delay goes only with auto-run on and loop playback, as 'key --delay MS' stores it.
)"}) {}

    void Read(const CommandArguments& arguments) override {
        const std::string mode = ToLowerAscii(arguments.operands[0]);
        if (mode != "loop" && mode != "single") {
            throw UsageError{"playback is 'loop' or 'single', not " + Quoted(arguments.operands[0])};
        }
        const std::string* autoRun = arguments.Value("--auto-run");
        if (autoRun == nullptr) {
            throw UsageError{"playback needs --auto-run on|off: the pedal keeps both in one word"};
        }
        const std::string autoRunValue = ToLowerAscii(*autoRun);
        if (autoRunValue != "on" && autoRunValue != "off") {
            throw UsageError{"--auto-run is 'on' or 'off', not " + Quoted(*autoRun)};
        }
        plan_ = {{PlaybackFrame(autoRunValue == "on", mode == "loop")}};
        notice_ = "note: the playback frame sets the key delay to 0, which the pedal keeps in the same word";
    }
};

class ClearAllCommand final : public FrameWriteCommand {
public:
    ClearAllCommand()
        : FrameWriteCommand({.name = "clear-all",
                             .operands = "--yes",
                             .options = {{"--yes", "", "confirm; without it nothing is written", true}},
                             .summary = "clear every slot and setting",
                             .details = "Clears the pedal's whole memory: 32 frames, one for each of its "
                                        "words, slots and settings alike.\n"}) {}

    void Read(const CommandArguments& arguments) override {
        if (!arguments.Has("--yes")) {
            throw UsageError{"clear-all erases every slot and setting: add --yes to go ahead"};
        }
        plan_ = ClearAllSequence();
    }
};

class RawCommand final : public FrameWriteCommand {
public:
    RawCommand()
        : FrameWriteCommand(
              {.name = "raw",
               .operands = "HEX...",
               .minOperands = 1,
               .maxOperands = kAnyNumber,
               .summary = "write one command text as typed",
               .details =
                   R"(Writes a command text such as "AA 01 7C 79 01 00 00": hex digits and spaces only, several arguments
joined by spaces. After the report id the digits are paired into bytes, and the report is zero-filled
or cut to the pedal's output report length, as the window's command box does.
)"}) {}

    void Read(const CommandArguments& arguments) override {
        std::string text;
        for (const std::string& operand : arguments.operands) {
            text += (text.empty() ? "" : " ") + operand;
        }
        bool hasDigit = false;
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            if (!IsCommandTextCharacter(byte)) {
                const std::string shown = byte < 0x80 ? Quoted(std::string(1, c)) : "a non-ASCII character";
                throw UsageError{"raw takes hex digits and spaces only, not " + shown + " in " +
                                 Quoted(text)};
            }
            hasDigit = hasDigit || c != ' ';
        }
        if (!hasDigit) {
            throw UsageError{"raw needs hex digits, e.g. \"AA 01 7C 79 01 00 00\""};
        }
        plan_ = {{text}};
    }
};

} // namespace

extern const CommandMaker MakeKeyCommand = MakeCommandOf<KeyCommand>;
extern const CommandMaker MakeMouseCommand = MakeCommandOf<MouseCommand>;
extern const CommandMaker MakePlaybackCommand = MakeCommandOf<PlaybackCommand>;
extern const CommandMaker MakeClearAllCommand = MakeCommandOf<ClearAllCommand>;
extern const CommandMaker MakeRawCommand = MakeCommandOf<RawCommand>;

} // namespace treadkey
