#include "cli/record_keeping.h"

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

} // namespace

bool ChangeRecord(const std::string& pedal, const std::function<void(PedalRecord&)>& change,
                  CliServices& services) {
    if (!services.stateDirectory || pedal.empty()) {
        return false;
    }
    const LoadedRecord loaded =
        UpdatePedalRecord(PedalRecordFile(*services.stateDirectory, pedal), pedal, change, services.utcNow());
    Tell(loaded, services.err);
    return loaded.error.empty();
}

void RecordReports(const std::string& pedal, std::span<const std::vector<std::uint8_t>> reports,
                   std::size_t wentThrough, CliServices& services) {
    if (wentThrough == 0) {
        return;
    }
    const WriteStamp stamp{services.utcNow(), std::string(kRecordProgram)};
    ChangeRecord(
        pedal, [&](PedalRecord& record) { RecordWrite(record, reports, wentThrough, stamp); }, services);
}

std::optional<PedalRecord> ReadRecord(const std::string& pedal, CliServices& services) {
    if (!services.stateDirectory) {
        services.err << kProgramName << ": no state directory: set XDG_STATE_HOME or HOME\n";
        return std::nullopt;
    }
    LoadedRecord loaded =
        LoadPedalRecord(PedalRecordFile(*services.stateDirectory, pedal), services.utcNow());
    if (!loaded.error.empty()) {
        services.err << kProgramName << ": " << loaded.error << '\n';
        return std::nullopt;
    }
    Tell(loaded, services.err);
    return loaded.record;
}

} // namespace treadkey
