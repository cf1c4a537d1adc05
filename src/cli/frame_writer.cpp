#include "cli/frame_writer.h"

#include "cli/commands/command.h"
#include "cli/help_text.h"
#include "cli/interface_wording.h"
#include "cli/record_keeping.h"
#include "diagnosis/refusal_cause.h"
#include "pedal/device_link.h"
#include "pedal/discovery_words.h"
#include "protocol/output_report.h"
#include "protocol/pedal_ids.h"
#include "protocol/report_hex.h"

#include <cstdint>
#include <string>
#include <vector>

namespace treadkey {
namespace {

// Why the pedal was not found, naming what was seen where interfaces with its ids are present.
std::string NotFoundReason(const DeviceLink& link, const SystemRoot& system) {
    DiscoveryReport report = link.LastDiscovery;
    if (report.note == DiscoveryNote::NoConfigurationInterface || report.note == DiscoveryNote::NoneOpens) {
        ExplainRefusals(report, system);
        return DescribeNoInterfaceTaken(report);
    }
    return std::string(kNoPedalFound);
}

int PrintReports(const FrameSequence& plan, const DeviceLink& link, bool found, const BackendOptions& backend,
                 CliServices& services) {
    int length = link.OutputReportByteLength;
    if (!found || length < 1) {
        length = backend.virtualPedal.reportLength;
        const std::string why = found ? "the pedal does not tell its report length"
                                      : NotFoundReason(link, services.lookAtSystem());
        services.err << kProgramName << ": " << why << "; showing reports of " << ByteCount(length) << '\n';
    }
    for (const PacedFrame& frame : plan) {
        services.out << ReportHexLine(BuildOutputReport(frame.text, length)) << '\n';
    }
    return kExitDone;
}

std::string Reports(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " report" : " reports");
}

// Frames are still cut to a short report, as the window does, but the user hears that they are.
void WarnOfShortReport(const DeviceLink& link, std::ostream& err) {
    for (const SeenInterface& seen : link.LastDiscovery.seen) {
        if (const std::string warning = ShortReportWarning(seen); !warning.empty()) {
            err << kProgramName << ": warning: " << seen.interface.path << ": " << warning << '\n';
        }
    }
}

} // namespace

int WriteFrames(const FrameSequence& plan, HidBackend& hid, const BackendOptions& backend,
                const std::string& pedal, bool dryRun, CliServices& services) {
    DeviceLink link(hid);
    link.WantedPedal = pedal;
    const bool found = link.FindTheHid(kPedalVendorId, kPedalProductId);
    if (dryRun) {
        WarnOfShortReport(link, services.err);
        return PrintReports(plan, link, found, backend, services);
    }
    if (!found) {
        const std::string reason = NotFoundReason(link, services.lookAtSystem());
        return Fail(services, reason + (reason == kNoPedalFound ? ": is it plugged in?" : ""),
                    kExitDeviceError);
    }
    WarnOfShortReport(link, services.err);
    if (link.OutputReportByteLength < 1) {
        return Fail(services,
                    "the pedal at " + link.DevicePathName +
                        " does not tell its output report length; nothing written",
                    kExitDeviceError);
    }
    std::vector<std::vector<std::uint8_t>> reports;
    for (const PacedFrame& frame : plan) {
        reports.push_back(BuildOutputReport(frame.text, link.OutputReportByteLength));
    }
    const std::string written = link.ChosenPedal();
    // Held from before the first report until the write is recorded, or nothing is written.
    const RecordLock record = LockRecordForWrite(written, services);
    if (!record.refusal.empty()) {
        return Fail(services, record.refusal + "; nothing written", kExitDeviceError);
    }
    for (std::size_t i = 0; i < plan.size(); ++i) {
        if (plan[i].pauseBefore.count() > 0) {
            services.sleep(plan[i].pauseBefore);
        }
        const std::vector<std::uint8_t>& report = reports[i];
        if (!link.WriteReport(report)) {
            RecordReports(record, written, reports, i, services);
            services.err << kProgramName << ": writing report " << i + 1 << " of " << plan.size() << " ("
                         << ReportHexLine(report) << ") to " << link.DevicePathName << " failed; "
                         << (i == 0 ? std::string("nothing was written")
                                    : "the " + Reports(i) + " before it went through")
                         << '\n';
            return kExitDeviceError;
        }
    }
    RecordReports(record, written, reports, reports.size(), services);
    services.out << "wrote " << Reports(plan.size()) << " to " << link.DevicePathName << '\n';
    return kExitDone;
}

} // namespace treadkey
