#pragma once

#include "cli/cli_services.h"
#include "editor/frame_sequences.h"
#include "stack_choice/backend_options.h"

#include <string>

namespace treadkey {

// Finds the pedal and writes each planned frame as one output report of the pedal's length, pausing as
// planned; stops at the first report that fails. A dry run prints the reports instead, at the pedal's length
// when one opens and at the virtual pedal's --report-length (default 9) otherwise. `pedal` is the identity of
// the pedal to write to, empty for the first present. The pedal's record is locked before the first report
// and changed after the last; a record whose lock cannot be had writes nothing. Returns the exit code.
int WriteFrames(const FrameSequence& plan, HidBackend& hid, const BackendOptions& backend,
                const std::string& pedal, bool dryRun, CliServices& services);

} // namespace treadkey
