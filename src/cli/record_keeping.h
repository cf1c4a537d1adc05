#pragma once

#include "cli/cli_services.h"
#include "record/state_file.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace treadkey {

// Changes the pedal's record, telling on `services.err` why it could not and what was set aside. Does
// nothing without a state directory or a pedal identity.
void ChangeRecord(const std::string& pedal, const std::function<void(PedalRecord&)>& change,
                  CliServices& services);

// The pedal's record under its lock, taken before a write's first report and held until the write is
// recorded: no other program changes the record between, so that it ends saying what the pedal holds.
struct RecordLock {
    std::unique_ptr<LockedStateFile> locked; // none when no record is kept
    std::string refusal;                     // why the lock cannot be had: then nothing may be written
};
// Takes the lock, waiting as long as any writer waits. Without a state directory or a pedal identity no
// record is kept, which is said on `services.err` when there is no state directory.
RecordLock LockRecordForWrite(const std::string& pedal, CliServices& services);

// Records one action's reports under the lock, the first `wentThrough` of which went through. An action that
// wrote nothing leaves the record as it is.
void RecordReports(const RecordLock& lock, const std::string& pedal,
                   std::span<const std::vector<std::uint8_t>> reports, std::size_t wentThrough,
                   CliServices& services);

// The pedal's record as stored, telling on `services.err` what was set aside; nothing when it cannot be
// used, which has been told.
std::optional<PedalRecord> ReadRecord(const std::string& pedal, CliServices& services);

} // namespace treadkey
