#pragma once

#include "device/discovery_report.h"
#include "device/hid_backend.h"

#include <cstdint>
#include <memory>

namespace treadkey {

// Which interfaces a discovery walk opens to judge them.
enum class Opening {
    None,       // judges from the enumeration alone
    Candidates, // those not passed over, until the choice is settled: what sending frames needs
    Every,      // each one, to tell the user what it is
};

// The one walk over the present interfaces with the given ids: every one is recorded in `report`, in
// enumeration order, opened as `opening` says and closed again, and judged by JudgeInterfaces. Returns the
// chosen interface still open; nothing when none was chosen. `report` keeps its room from run to run.
std::unique_ptr<HidDevice> DiscoverInterfaces(HidBackend& backend, std::uint16_t vendorId,
                                              std::uint16_t productId, Opening opening,
                                              DiscoveryReport& report);

} // namespace treadkey
