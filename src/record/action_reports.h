#pragma once

#include "record/record_file.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace treadkey {

// The reports of each action as they are sent, kept until the action is in its pedal's record: the record
// is written once an action, never between its frames and their pauses, and an action whose record another
// program holds locked waits for a later try, as the pedal was written all the same.
class ActionReports {
public:
    // `pedal` is the identity of the pedal the report went to; `wentThrough` whether the pedal took it.
    void Add(const std::string& pedal, std::vector<std::uint8_t> report, bool wentThrough);
    // Whether an action is being sent: reports came since the last EndAction.
    bool Sending() const { return !current_.reports.empty(); }
    // Ends the action being sent; it waits to be recorded with the actions before it.
    void EndAction(const WriteStamp& stamp);

    // Records the waiting actions, oldest first, in their pedals' records in `stateDirectory`, without
    // waiting for a lock. The first whose record another program holds locked waits, with those after it,
    // for the next call. Returns what each record touched said (set aside, or why nothing was stored).
    std::vector<LoadedRecord> RecordWaiting(const std::filesystem::path& stateDirectory);
    bool Waiting() const { return !waiting_.empty(); }
    // Whether an action sent to this pedal waits: its record is behind the pedal.
    bool Behind(const std::string& pedal) const;

private:
    struct Action {
        std::string pedal;
        std::vector<std::vector<std::uint8_t>> reports;
        std::size_t wentThrough = 0; // the reports before the first that failed
        bool failed = false;
        WriteStamp stamp;
    };
    Action current_;
    std::vector<Action> waiting_;
};

} // namespace treadkey
