#pragma once

#include "diagnosis/system_root.h"

#include <filesystem>
#include <string>
#include <vector>

namespace treadkey {

// The rule file after which a uaccess tag comes too late: its rules hand tagged nodes to the session.
inline constexpr std::string_view kSeatLateRules = "73-seat-late.rules";

// One *.rules file in udev's rule folders.
struct RuleFile {
    std::filesystem::path path; // on the running system: "/etc/udev/rules.d/70-treadkey.rules"
    bool namesPedal = false;    // a rule line gives the pedal's vendor and product ids
    bool grantsHidraw = false;  // such a line matches hidraw nodes and hands them out
    bool usesUaccess = false;   // ... by the uaccess tag (else by GROUP or MODE)
    std::string group;          // the GROUP such a line gives, if any
    std::filesystem::path
        maskedBy; // the file of the same name in an earlier folder, which udev reads instead

    bool sortsBeforeSeatLate() const { return path.filename().string() < kSeatLateRules; }
    // Hands the pedal's hidraw nodes to the user when udev reads it.
    bool works() const { return grantsHidraw && (!usesUaccess || sortsBeforeSeatLate()); }
};

// Every rule file of the folders udev reads, earliest folder first: etc, run, usr/local/lib, usr/lib, lib.
// A folder that is a link to one listed before it (lib to usr/lib) is read once.
std::vector<RuleFile> FindRuleFiles(const SystemRoot& system);

} // namespace treadkey
