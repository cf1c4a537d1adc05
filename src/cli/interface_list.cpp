#include "cli/interface_list.h"

#include "cli/exit_codes.h"
#include "cli/help_text.h"
#include "device/pedal_ids.h"

#include <optional>

namespace treadkey {

int ListPedalInterfaces(HidBackend& backend, std::ostream& out, std::ostream& err) {
    int listed = 0;
    for (const HidInterface& candidate : backend.enumerate(kPedalVendorId, kPedalProductId)) {
        if (candidate.vendorId != kPedalVendorId || candidate.productId != kPedalProductId) {
            continue;
        }
        ++listed;
        out << candidate.path << ": ";
        const OpenResult opened = backend.open(candidate.path);
        if (!opened.device) {
            out << "cannot be opened: " << opened.problem << '\n';
            continue;
        }
        const std::optional<int> length = opened.device->outputReportLength();
        out << "opens, output report length "
            << (length ? std::to_string(*length) + " bytes" : std::string("unknown")) << '\n';
    }
    if (listed == 0) {
        err << kProgramName << ": " << kNoPedalFound << ": is it plugged in?\n";
        return kExitDeviceError;
    }
    return kExitDone;
}

} // namespace treadkey
