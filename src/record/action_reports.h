#pragma once

#include "record/record_file.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace treadkey {

// The reports of one action as they are sent, kept until the action has sent its last one, so that the
// record is written once an action and never between its frames and their pauses.
class ActionReports {
public:
    // `pedal` is the identity of the pedal the report went to; `wentThrough` whether the pedal took it.
    void Add(const std::string& pedal, std::vector<std::uint8_t> report, bool wentThrough);
    bool empty() const { return reports_.empty(); }

    // Records the action in its pedal's record in `stateDirectory` and begins the next action.
    LoadedRecord RecordAndForget(const std::filesystem::path& stateDirectory, const WriteStamp& stamp);

private:
    std::string pedal_;
    std::vector<std::vector<std::uint8_t>> reports_;
    std::size_t wentThrough_ = 0; // the reports before the first that failed
    bool failed_ = false;
};

} // namespace treadkey
