#pragma once

#include "cli/cli_services.h"
#include "cli/frame_plan.h"
#include "stack_choice/backend_options.h"

namespace treadkey {

// Finds the pedal and writes each planned frame as one output report of the pedal's length, pausing as
// planned; stops at the first report that fails. A dry run prints the reports instead, at the pedal's length
// when one opens and at the virtual pedal's --report-length (default 9) otherwise. Returns the exit code.
int WriteFrames(const FramePlan& plan, const BackendOptions& backend, bool dryRun, CliServices& services);

} // namespace treadkey
