#include "cli/record_keeping.h"

#include "arguments/utf8_path.h"
#include "cli/help_text.h"

namespace treadkey {
namespace {

// Warnings and errors both: what the record says never stops what was asked.
void Tell(const LoadedRecord& loaded, std::ostream& err) {
    if (!loaded.warning.empty()) {
        err << kProgramName << ": warning: " << loaded.warning << '\n';
    }
    if (!loaded.error.empty()) {
        err << kProgramName << ": warning: the pedal's record: " << loaded.error << '\n';
    }
}

// Why the state directory cannot hold the records; empty when it can.
std::string StateDirectoryRefusal(const std::filesystem::path& directory) {
    const std::string problem = StateDirectoryProblem(directory);
    return problem.empty() ? ""
                           : "the state directory " + Utf8OfPath(directory) + " cannot be used: " + problem;
}

} // namespace

void ChangeRecord(const std::string& pedal, const std::function<void(PedalRecord&)>& change,
                  CliServices& services) {
    if (services.stateDirectory && !pedal.empty()) {
        Tell(UpdatePedalRecord(PedalRecordFile(*services.stateDirectory, pedal), pedal, change,
                               services.UtcNowText()),
             services.err);
    }
}

RecordLock LockRecordForWrite(const std::string& pedal, CliServices& services) {
    RecordLock lock;
    if (!services.stateDirectory) {
        services.err << kProgramName
                     << ": warning: no record of what the pedal holds is kept: " << kNoStateDirectoryReason
                     << '\n';
        return lock;
    }
    if (pedal.empty()) {
        return lock;
    }
    lock.refusal = StateDirectoryRefusal(*services.stateDirectory);
    if (!lock.refusal.empty()) {
        return lock;
    }
    auto locked =
        std::make_unique<LockedStateFile>(PedalRecordFile(*services.stateDirectory, pedal), kLockPatience);
    if (!locked->held()) {
        lock.refusal = "the pedal's record: " + locked->failure();
        return lock;
    }
    lock.locked = std::move(locked);
    return lock;
}

void RecordReports(const RecordLock& lock, const std::string& pedal,
                   std::span<const std::vector<std::uint8_t>> reports, std::size_t wentThrough,
                   CliServices& services) {
    if (!lock.locked || wentThrough == 0) {
        return;
    }
    const WriteStamp stamp{services.UtcNowText(), std::string(kProgramName)};
    Tell(UpdateLockedPedalRecord(
             *lock.locked, pedal,
             [&](PedalRecord& record) { RecordWrite(record, reports, wentThrough, stamp); }, stamp.when),
         services.err);
}

std::optional<PedalRecord> ReadRecord(const std::string& pedal, CliServices& services) {
    if (!services.stateDirectory) {
        services.err << kProgramName << ": no record of what the pedal holds: " << kNoStateDirectoryReason
                     << '\n';
        return std::nullopt;
    }
    if (const std::string refusal = StateDirectoryRefusal(*services.stateDirectory); !refusal.empty()) {
        services.err << kProgramName << ": " << refusal << '\n';
        return std::nullopt;
    }
    LoadedRecord loaded =
        LoadPedalRecord(PedalRecordFile(*services.stateDirectory, pedal), services.UtcNowText());
    if (!loaded.error.empty()) {
        services.err << kProgramName << ": " << loaded.error << '\n';
        return std::nullopt;
    }
    Tell(loaded, services.err);
    return loaded.record;
}

} // namespace treadkey
