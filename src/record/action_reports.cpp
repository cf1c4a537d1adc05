#include "record/action_reports.h"

#include <algorithm>

namespace treadkey {

void ActionReports::Add(const std::string& pedal, std::vector<std::uint8_t> report, bool wentThrough) {
    if (current_.reports.empty()) {
        current_.pedal = pedal;
    }
    current_.reports.push_back(std::move(report));
    current_.failed = current_.failed || !wentThrough;
    if (!current_.failed) {
        ++current_.wentThrough;
    }
}

void ActionReports::EndAction(const WriteStamp& stamp) {
    // A pedal never found, or an action none of whose reports went, leaves the record as it is.
    if (!current_.pedal.empty() && current_.wentThrough > 0) {
        current_.stamp = stamp;
        waiting_.push_back(std::move(current_));
    }
    current_ = Action();
}

std::vector<LoadedRecord> ActionReports::RecordWaiting(const std::filesystem::path& stateDirectory) {
    std::vector<LoadedRecord> told;
    auto action = waiting_.begin();
    for (; action != waiting_.end(); ++action) {
        LoadedRecord loaded = UpdatePedalRecord(
            PedalRecordFile(stateDirectory, action->pedal), action->pedal,
            [&action](PedalRecord& record) {
                RecordWrite(record, action->reports, action->wentThrough, action->stamp);
            },
            action->stamp.when, std::chrono::milliseconds(0));
        if (loaded.behind) {
            break;
        }
        told.push_back(std::move(loaded));
    }
    waiting_.erase(waiting_.begin(), action);
    return told;
}

bool ActionReports::Behind(const std::string& pedal) const {
    return std::any_of(waiting_.begin(), waiting_.end(),
                       [&pedal](const Action& action) { return action.pedal == pedal; });
}

} // namespace treadkey
