#pragma once

#include "diagnosis/node_access.h"
#include "diagnosis/pedal_nodes.h"
#include "diagnosis/rule_files.h"
#include "diagnosis/system_root.h"

#include <optional>
#include <string>
#include <vector>

namespace treadkey {

// Why the pedal cannot be opened for writing; every cause has its own sentence and its own mend.
enum class Cause {
    NotPresent,
    NoConfigurationInterface,
    SandboxHidesNode,
    NodeMissing,
    RuleMissing,
    RuleMasked,
    RuleWrongSubsystem,
    RuleAfterSeatLate,
    NoUdev,
    RuleNotApplied,
    NoLogind,
    NoSession,
    RemoteSession,
    InactiveSession,
    NotInGroup,
    NoAccess,
};

// A cause with the names its sentence needs.
struct Finding {
    Cause cause = Cause::NoAccess;
    std::string node;      // the node of the interface that takes the frames
    std::string file;      // the rule file concerned, or the group
    std::string otherFile; // the rule file that masks `file`
};

enum class CheckId { Pedal, Nodes, Rule, Applied, Session };

struct Check {
    CheckId id = CheckId::Pedal;
    std::string found;              // what the check saw, one or more sentences
    std::optional<Finding> problem; // what keeps the pedal from opening, as far as this check tells
};

struct Diagnosis {
    std::vector<Check> checks; // pedal, nodes, rule, applied, session; the later ones only when the pedal is
                               // present
    bool canOpen = false;      // the interface that takes the frames opens for writing
    std::optional<Finding> cause; // the first cause of the checks, when the pedal cannot be opened
};

// Looks at the system, in the order above, for why the pedal's configuration interface cannot be opened.
Diagnosis DiagnosePedal(const SystemRoot& system);

} // namespace treadkey
