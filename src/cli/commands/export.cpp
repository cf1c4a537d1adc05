#include "arguments/shown_text.h"
#include "cli/commands/command.h"
#include "cli/help_text.h"
#include "cli/pedal_choice.h"
#include "cli/record_keeping.h"
#include "editor/profile_file.h"
#include "record/record_profile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace treadkey {
namespace {

class ExportCommand final : public Command {
public:
    ExportCommand()
        : Command(
              {.name = "export",
               .operands = "FILE",
               .minOperands = 1,
               .maxOperands = 1,
               .summary = "write the record of a pedal as a profile that 'apply' reads",
               .details =
                   R"(Writes what the record of the pedal (--pedal, or the one plugged in) knows as a profile to FILE, or to
standard output when FILE is '-'. Slots and settings the record does not know are left out, each with
a warning: 'apply' leaves them as they are. So is a word that no profile value writes as it stands (a
raw frame's, say, with bytes set that a key's frame leaves 0), named in hex. To clone a pedal:
'treadkeyctl export left.json --pedal left', then 'treadkeyctl apply left.json --pedal right'.
--pedal takes a pedal plugged in or one with a record; any other ID is a usage error that lists those
known.
)",
               .need = PedalNeed::Recorded}) {}

    int Run(const CommandRun& run) override {
        CliServices& services = run.services;
        const std::string& profilePath =
            Given().operands[0]; // a file, or kStandardInputPath for standard output
        const std::optional<PedalRecord> record = ReadRecord(run.pedal, services);
        if (!record) {
            return kExitDeviceError;
        }
        const ExportedProfile exported = ProfileOfRecord(*record);
        for (const std::string& warning : exported.warnings) {
            services.err << kProgramName << ": warning: " << warning << '\n';
        }
        if (!exported.text) {
            return Fail(services,
                        "the record of " + PedalWithName(run.pedal, run.names) +
                            " knows nothing this computer wrote or saw: no profile written",
                        kExitDeviceError);
        }
        if (profilePath == kStandardInputPath) {
            services.out << *exported.text;
            return kExitDone;
        }
        // Windows refuses a folder as it refuses a file it may not touch: say which it is.
        std::error_code notADirectory;
        if (std::filesystem::is_directory(profilePath, notADirectory)) {
            return Fail(services, "cannot write " + ShownFileName(profilePath) + ": " + std::strerror(EISDIR),
                        kExitDeviceError);
        }
        std::ofstream file(profilePath, std::ios::binary | std::ios::trunc);
        file << *exported.text;
        file.close();
        if (!file) {
            // errno is the open's, or the last write's or close's: the stream gives no reason of its own.
            const int reason = errno;
            return Fail(services, "cannot write " + ShownFileName(profilePath) + ": " + std::strerror(reason),
                        kExitDeviceError);
        }
        return kExitDone;
    }
};

} // namespace

extern const CommandMaker MakeExportCommand = MakeCommandOf<ExportCommand>;

} // namespace treadkey
