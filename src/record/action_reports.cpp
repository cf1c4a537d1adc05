#include "record/action_reports.h"

namespace treadkey {

void ActionReports::Add(const std::string& pedal, std::vector<std::uint8_t> report, bool wentThrough) {
    if (reports_.empty()) {
        pedal_ = pedal;
    }
    reports_.push_back(std::move(report));
    failed_ = failed_ || !wentThrough;
    if (!failed_) {
        ++wentThrough_;
    }
}

LoadedRecord ActionReports::RecordAndForget(const std::filesystem::path& stateDirectory,
                                            const WriteStamp& stamp) {
    LoadedRecord loaded;
    // A pedal never found, or an action none of whose reports went, leaves the record as it is.
    if (!pedal_.empty() && wentThrough_ > 0) {
        loaded = UpdatePedalRecord(
            PedalRecordFile(stateDirectory, pedal_), pedal_,
            [&](PedalRecord& record) { RecordWrite(record, reports_, wentThrough_, stamp); }, stamp.when);
    }
    *this = ActionReports();
    return loaded;
}

} // namespace treadkey
