#pragma once

#include "stacks/hid_backend.h"
#include "stacks/virtual/virtual_pedal.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace treadkey {

// Which HID backend to use, as the command line of every executable chooses it.
struct BackendOptions {
    bool useVirtualPedal = false;
    VirtualPedalOptions virtualPedal;
    std::string pedal; // --pedal: which pedal, when several are present; empty for none asked
};

struct ParsedBackendOptions {
    BackendOptions options;
    std::vector<std::string> rest; // every argument not ours, in order, for the caller to parse
    std::string error;             // one line naming the option at fault; empty when all went well
};

// Picks --pedal ID, --virtual-pedal, --report-length N, --virtual-pedal-log FILE, --virtual-pedal-present
// FILE, --virtual-pedal-press FILE (or --option=value), --virtual-pedal-composite and --virtual-pedal-twin
// out of the arguments (argv[0] left out). Everything from a lone "--" on goes to rest unread. All after
// --virtual-pedal belong to the virtual pedal and are an error without it; --virtual-pedal-press is one
// without --virtual-pedal-composite.
ParsedBackendOptions ParseBackendOptions(const std::vector<std::string>& arguments);

std::unique_ptr<HidBackend> MakeBackend(const BackendOptions& options);

// The options above, described for --help: one line each, two-space indent, no trailing newline.
std::string_view BackendOptionsHelp();

} // namespace treadkey
