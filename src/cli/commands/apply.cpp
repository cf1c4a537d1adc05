#include "arguments/shown_text.h"
#include "cli/commands/command.h"
#include "cli/frame_writer.h"
#include "editor/profile.h"
#include "editor/profile_file.h"

namespace treadkey {
namespace {

class ApplyCommand final : public Command {
public:
    ApplyCommand()
        : Command(Writing(
              {.name = "apply",
               .operands = "FILE",
               .minOperands = 1,
               .maxOperands = 1,
               .summary = "write a JSON profile in one go",
               .details =
                   R"(Writes a profile read from FILE, or from standard input when FILE is '-': the slots it names in slot
order (a key, a mouse click, or null to clear the slot), then the playback word and single output it
sets, 50 ms apart. The whole file is checked before the first report; a fault is reported with its
line and column. The file is UTF-8 text, with or without a byte-order mark; UTF-16 and UTF-32 are
refused. Every member is optional; what the profile leaves out stays as it is on the pedal:

  {
    "slots": {
      "1": {"key": "ctrl+shift+a"},
      "2": {"mouse": "left"},
      "3": null
    },
    "delay": 300,
    "single_output": false,
    "playback": "loop",
    "auto_run": true
  }

Slots are "1" to "12"; single_output is true or false. delay (0 to 65535 ms), playback ("loop" or
"single") and auto_run (true or false) share one word on the pedal, written as one frame: a profile
gives all three or none, in a combination the word can hold: any delay with auto_run true and
playback "loop", or any playback and auto_run with delay 0.
)"})) {}

    // The profile is read once the pedal is chosen, so that a run on several pedals says that first.
    int Run(const CommandRun& run) override {
        CliServices& services = run.services;
        const std::string& profilePath = Given().operands[0]; // a file, or kStandardInputPath
        const std::string name =
            profilePath == kStandardInputPath ? "standard input" : ShownFileName(profilePath);
        const ProfileBytes read = ReadProfileBytes(profilePath, *services.in);
        if (!read.fault.empty()) {
            return Fail(services, read.fault, kExitUsageError);
        }
        const ProfileText text = ProfileTextOf(read.bytes);
        if (!text.fault.empty()) {
            return Fail(services, name + ": " + text.fault, kExitUsageError);
        }
        const ParsedProfile parsed = ParseProfile(text.json);
        if (!parsed.profile) {
            return Fail(services,
                        name + ":" + std::to_string(parsed.error.position.line) + ":" +
                            std::to_string(parsed.error.position.column) + ": " + parsed.error.message,
                        kExitUsageError);
        }
        return WriteFrames(ProfileFrames(*parsed.profile), *run.hid, run.backend, run.pedal, run.dryRun,
                           services);
    }
};

} // namespace

extern const CommandMaker MakeApplyCommand = MakeCommandOf<ApplyCommand>;

} // namespace treadkey
