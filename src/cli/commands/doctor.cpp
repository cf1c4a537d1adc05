#include "cli/commands/command.h"
#include "cli/doctor_checks.h"
#include "cli/help_text.h"

namespace treadkey {
namespace {

class DoctorCommand final : public Command {
public:
    DoctorCommand()
        : Command(
              {.name = "doctor",
               .options = {{"--json", "", "print the same as one JSON document, for scripts and bug reports",
                            true}},
               .summary = "why the pedal cannot be opened, and the one step that mends it",
               .details =
                   R"(Looks at the system, without opening the pedal, in this order: whether the pedal is present and which
of its interfaces takes the frames; each of its hidraw nodes, with owner, group, mode and the ACL
entries, and whether you may open it; the udev rule files that name the pedal, in /etc, /run,
/usr/local/lib, /usr/lib and /lib, whether one sorts before 73-seat-late.rules and whether one masks
another; whether udev applied the rule (the node's uaccess tag); and your session: local and active,
remote, none, no logind, or a Flatpak sandbox. Each check says what it found, and a problem the one
step that mends it. Exit code 0 when the pedal can be opened for writing, 1 otherwise; the last line
names the first cause found. On Windows it opens each interface instead and says which open; access
denied there means another program holds the interface. With --virtual-pedal it still checks the
system's real pedal, and says so: the virtual pedal needs no access. The exit code is the real pedal's.
)"}) {}

    int Run(const CommandRun& run) override {
        // The virtual pedal opens for anyone, and doctor's lines would pass for its.
        if (run.backend.useVirtualPedal) {
            run.services.err
                << kProgramName
                << ": note: doctor checks the system's real pedal; the virtual pedal needs no access\n";
        }
        return RunDoctorChecks(Given().Has("--json"), run.services);
    }
};

} // namespace

extern const CommandMaker MakeDoctorCommand = MakeCommandOf<DoctorCommand>;

} // namespace treadkey
