#include "cli/record_commands.h"

#include "arguments/shown_text.h"
#include "cli/exit_codes.h"
#include "cli/help_text.h"
#include "cli/interface_wording.h"
#include "cli/monitor.h"
#include "cli/pedal_choice.h"
#include "cli/record_export.h"
#include "cli/record_keeping.h"
#include "cli/record_show.h"
#include "cli/slot_verification.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace treadkey {
namespace {

// The pedal whose record is read: the one --pedal names by identity or nickname, plugged in or recorded,
// else the one plugged in.
std::optional<std::string> RecordedPedal(const Invocation& invocation,
                                         const std::vector<std::string>& present, const PedalNames& names,
                                         CliServices& services) {
    const std::string& asked = invocation.backend.pedal;
    if (!asked.empty()) {
        const PedalChoice choice = ChooseRecordedPedal(
            present,
            services.stateDirectory ? RecordedPedals(*services.stateDirectory) : std::vector<std::string>{},
            asked, names);
        if (!choice.error.empty()) {
            services.err << kProgramName << ": " << choice.error << '\n';
            return std::nullopt;
        }
        return choice.pedal;
    }
    if (present.size() == 1) {
        return present[0];
    }
    services.err << kProgramName << ": "
                 << (present.empty() ? std::string("no pedal is plugged in")
                                     : std::to_string(present.size()) + " pedals are plugged in")
                 << ": say whose record with --pedal ID or --pedal NAME\n";
    return std::nullopt;
}

struct ReadPedalRecord {
    std::string pedal;
    std::optional<PedalRecord> record;
    int exitCode = kExitDone; // why there is no record
};

ReadPedalRecord RecordOfPedal(const Invocation& invocation, const std::vector<std::string>& present,
                              const PedalNames& names, CliServices& services) {
    const std::optional<std::string> pedal = RecordedPedal(invocation, present, names, services);
    if (!pedal) {
        return {"", std::nullopt, kExitUsageError};
    }
    ReadPedalRecord read{*pedal, ReadRecord(*pedal, services)};
    read.exitCode = read.record ? kExitDone : kExitDeviceError;
    return read;
}

} // namespace

int ShowPedalRecord(const Invocation& invocation, const std::vector<std::string>& present,
                    const PedalNames& names, CliServices& services) {
    const ReadPedalRecord read = RecordOfPedal(invocation, present, names, services);
    if (!read.record) {
        return read.exitCode;
    }
    if (invocation.json) {
        ShowRecordJson(*read.record, read.pedal, services.out);
    } else {
        ShowRecord(*read.record, PedalWithName(read.pedal, names), services.out);
    }
    return kExitDone;
}

int ExportPedalRecord(const Invocation& invocation, const std::vector<std::string>& present,
                      const PedalNames& names, CliServices& services) {
    const ReadPedalRecord read = RecordOfPedal(invocation, present, names, services);
    if (!read.record) {
        return read.exitCode;
    }
    const ExportedProfile exported = ProfileOfRecord(*read.record);
    for (const std::string& warning : exported.warnings) {
        services.err << kProgramName << ": warning: " << warning << '\n';
    }
    if (!exported.text) {
        services.err << kProgramName << ": the record of " << PedalWithName(read.pedal, names)
                     << " knows nothing this computer wrote or saw: no profile written\n";
        return kExitDeviceError;
    }
    if (invocation.profilePath == kStandardInputPath) {
        services.out << *exported.text;
        return kExitDone;
    }
    // Windows refuses a folder as it refuses a file it may not touch: say which it is.
    std::error_code notADirectory;
    if (std::filesystem::is_directory(invocation.profilePath, notADirectory)) {
        services.err << kProgramName << ": cannot write " << ShownFileName(invocation.profilePath) << ": "
                     << std::strerror(EISDIR) << '\n';
        return kExitDeviceError;
    }
    std::ofstream file(invocation.profilePath, std::ios::binary | std::ios::trunc);
    file << *exported.text;
    file.close();
    if (!file) {
        // errno is the open's, or the last write's or close's: the stream gives no reason of its own.
        services.err << kProgramName << ": cannot write " << ShownFileName(invocation.profilePath) << ": "
                     << std::strerror(errno) << '\n';
        return kExitDeviceError;
    }
    return kExitDone;
}

int VerifyPedal(const Invocation& invocation, HidBackend& backend, const std::string& pedal,
                const std::vector<std::string>& present, CliServices& services) {
    if (pedal.empty() && present.size() != 1) {
        services.err << kProgramName << ": "
                     << (present.empty()
                             ? std::string(kNoPedalFound) + ": is it plugged in?"
                             : std::to_string(present.size()) +
                                   " pedals are plugged in: choose one with --pedal ID or --pedal NAME")
                     << '\n';
        return present.empty() ? kExitDeviceError : kExitUsageError;
    }
    const std::string verified = pedal.empty() ? present[0] : pedal;
    const std::optional<PedalRecord> record = ReadRecord(verified, services);
    if (!record) {
        return kExitDeviceError;
    }
    SlotVerification verification(invocation.verifySlots, *record);
    if (!verification.Current()) {
        services.err << kProgramName << ": the record knows no slot of " << verified
                     << ": name the slots to learn, as in 'treadkeyctl verify 1 2 3'\n";
        return kExitUsageError;
    }
    MonitorOptions options = invocation.monitor;
    options.pedal = verified;
    options.verify = &verification;
    const int exitCode = MonitorPedal(backend, options, services);
    ChangeRecord(
        verified, [&verification](PedalRecord& changed) { verification.Record(changed); }, services);
    if (invocation.monitor.json) {
        services.out << verification.Json() << '\n';
    }
    return exitCode;
}

} // namespace treadkey
