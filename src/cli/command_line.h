#pragma once

#include "cli/commands.h"
#include "cli/frame_plan.h"
#include "cli/monitor.h"
#include "editor/profile_file.h"
#include "stack_choice/backend_options.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace treadkey {

// What one run of treadkeyctl is to do, every argument checked.
struct Invocation {
    enum class Action {
        Overview,
        CommandHelp,
        Version,
        List,
        Doctor,
        Keys,
        Monitor,
        Identify,
        Name,
        Write,
        Apply,
        Show,
        Export,
        Verify
    };
    Action action = Action::Overview;
    BackendOptions backend;
    bool dryRun = false;
    bool json = false;                        // List, Doctor, Show
    MonitorOptions monitor;                   // Monitor, Identify, Verify (its timeout and json)
    std::vector<int> verifySlots;             // Verify: empty for every slot the record knows
    std::string namedPedal;                   // Name: the pedal, as given
    std::string nickname;                     // Name: empty to take the name away
    const CommandSpec* helpCommand = nullptr; // CommandHelp
    FramePlan frames;                         // Write
    std::string notice;                       // Write: what else the frames change, for stderr
    std::string profilePath;                  // Apply, Export: a file, or kStandardInputPath
};

struct ParsedInvocation {
    std::optional<Invocation> invocation;
    std::string error; // one line, when the arguments are not usable
};

// Reads the arguments (argv[0] left out). Options may stand anywhere; a command's own options after its name.
ParsedInvocation ParseCommandLine(const std::vector<std::string>& arguments);

} // namespace treadkey
