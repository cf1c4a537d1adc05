#pragma once

#include "device/discovery_report.h"
#include "device/hid_backend.h"

#include <cstdint>

namespace treadkey {

// Every present interface with the given ids, each opened (passed-over ones too, to show what they are) and
// closed again, with the verdict DeviceLink::FindTheHid would give it. Writes nothing.
DiscoveryReport SurveyInterfaces(HidBackend& backend, std::uint16_t vendorId, std::uint16_t productId);

} // namespace treadkey
