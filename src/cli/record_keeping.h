#pragma once

#include "cli/cli_services.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace treadkey {

// The program name the record gives for what treadkeyctl wrote.
inline constexpr std::string_view kRecordProgram = "treadkeyctl";

// Changes the pedal's record, telling on `services.err` why it could not and what was set aside. Does
// nothing without a state directory or a pedal identity. Returns whether the record was stored.
bool ChangeRecord(const std::string& pedal, const std::function<void(PedalRecord&)>& change,
                  CliServices& services);

// Records one action's reports, the first `wentThrough` of which went through. An action that wrote nothing
// leaves the record as it is.
void RecordReports(const std::string& pedal, std::span<const std::vector<std::uint8_t>> reports,
                   std::size_t wentThrough, CliServices& services);

// The pedal's record as stored, telling on `services.err` what was set aside; nothing when it cannot be
// used, which has been told.
std::optional<PedalRecord> ReadRecord(const std::string& pedal, CliServices& services);

} // namespace treadkey
