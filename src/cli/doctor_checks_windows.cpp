#include "cli/doctor_checks.h"

#include "cli/commands/command.h"
#include "cli/interface_wording.h"
#include "pedal/interface_choice.h"
#include "protocol/pedal_ids.h"
#include "json/json.h"

namespace treadkey {

// Windows keeps no files to read: doctor opens each interface and says which open, and why the others do not
// (access denied there means another program holds the interface).
int RunDoctorChecks(bool json, CliServices& services) {
    // The system's real pedal, whatever the pedal options say: the virtual one needs no access.
    const std::unique_ptr<HidBackend> backend = services.makeBackend(BackendOptions{});
    DiscoveryReport report;
    DiscoverInterfaces(*backend, kPedalVendorId, kPedalProductId, Opening::Every, report);
    const std::string chosen = ChosenPath(report);
    const std::string verdict = report.seen.empty() ? "the pedal is not plugged in"
                                : chosen.empty()    ? DescribeNoInterfaceTaken(report)
                                                    : "the pedal can be opened for writing: " + chosen;
    if (json) {
        services.out << "{\n  \"interfaces\": [";
        for (std::size_t i = 0; i < report.seen.size(); ++i) {
            const SeenInterface& seen = report.seen[i];
            services.out << (i == 0 ? "\n" : ",\n") << "    {\"path\": " << JsonQuoted(seen.interface.path)
                         << ", \"opens\": " << (seen.opens ? "true" : "false") << ", \"found\": "
                         << JsonQuoted(seen.opens ? DescribeVerdict(seen, chosen) : seen.openProblem) << "}";
        }
        services.out << "\n  ],\n  \"can_open\": " << (chosen.empty() ? "false" : "true")
                     << ",\n  \"cause\": " << (chosen.empty() ? JsonQuoted(verdict) : "null") << "\n}\n";
    } else {
        for (const SeenInterface& seen : report.seen) {
            services.out << seen.interface.path << ": "
                         << (seen.opens ? DescribeVerdict(seen, chosen) : seen.openProblem) << '\n';
        }
        services.out << verdict << '\n';
    }
    return chosen.empty() ? kExitDeviceError : kExitDone;
}

} // namespace treadkey
