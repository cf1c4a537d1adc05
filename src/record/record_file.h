#pragma once

#include "record/pedal_record.h"
#include "record/state_file.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace treadkey {

// The version of the record files this program writes and reads.
inline constexpr int kRecordVersion = 1;

// Where a pedal's record lives in the state directory: records/<identity>.json, the identity's characters
// that a file name may not hold written as %XX.
std::filesystem::path PedalRecordFile(const std::filesystem::path& stateDirectory, const std::string& pedal);
// The identities of the pedals that have a record in the state directory, in order; none when it cannot be
// read.
std::vector<std::string> RecordedPedals(const std::filesystem::path& stateDirectory);

// The record as JSON, and back. Reading fails with why for anything that is not a whole record of this
// version; `otherVersion` tells a record of another version from a broken one.
std::string PedalRecordJson(const PedalRecord& record, const std::string& pedal);
struct ParsedRecord {
    std::optional<PedalRecord> record;
    std::string error;
    bool otherVersion = false;
};
ParsedRecord ParsePedalRecord(const std::string& text);

struct LoadedRecord {
    PedalRecord record;  // a fresh record of unknowns when there was none, or none that could be read
    std::string warning; // one line, when an unreadable record was set aside
    std::string error;   // why the record cannot be used or was not stored; then nothing was changed
    bool behind = false; // not stored because another program held the record's lock: try again later
};

// Reads a pedal's record. One that cannot be read is renamed beside itself (.unreadable-TIME, with -2, -3 and
// so on after it when that name is taken) and a fresh record begins; one of another version is refused and
// left as it is.
LoadedRecord LoadPedalRecord(const std::filesystem::path& file, const std::string& now);
// Reads, changes and stores the record under its lock, so that two programs at once lose neither's change;
// waits up to `patience` for the lock.
LoadedRecord UpdatePedalRecord(const std::filesystem::path& file, const std::string& pedal,
                               const std::function<void(PedalRecord&)>& change, const std::string& now,
                               std::chrono::milliseconds patience = kLockPatience);
// The same for a record whose lock is held already: by a program that took it before writing the pedal, so
// that no other can change the record between the write and its recording.
LoadedRecord UpdateLockedPedalRecord(const LockedStateFile& locked, const std::string& pedal,
                                     const std::function<void(PedalRecord&)>& change, const std::string& now);

// The time now in UTC, as the record writes it.
std::string UtcNowText();

} // namespace treadkey
