#pragma once

#include "stacks/hid_backend.h"

#include <hidapi.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What hidapi leaves to each platform. The files of one platform define these: hidapi_backend_<platform>.cpp,
// and input_hold_<platform>.cpp the hold.
namespace treadkey::hidapi_platform {

// The raw report descriptor of the interface at `path`, which `device` has open; nothing when it cannot be
// read.
std::optional<std::vector<std::uint8_t>> ReadReportDescriptor(hid_device* device, const std::string& path);

// The top-level collections of the interface at `path`, found without opening it; `listedByHidapi` (what
// hidapi's enumeration gave) where the platform knows no better.
std::vector<HidCollection> TopLevelCollections(const std::string& path,
                                               std::vector<HidCollection> listedByHidapi);

// The identity of the pedal the interface at `path` belongs to (see pedal_identity.h); empty when the
// platform cannot tell.
std::string PedalIdentity(const std::string& path);

// Opens `path` for reading input reports only. hidapi opens every device for writing too and keeps its file
// descriptor to itself, so a platform opens readers its own way, offering a descriptor to wait on where it
// has one. A failure is reported as below.
OpenResult OpenReadOnly(const std::string& path);

// Holds the input of the interface at `path` (see InputHold): every input node the system made for it.
HoldResult HoldInput(const std::string& path);

// A failed open of `path` as the stack reports it, from errno as it was right after the failure (0 when
// unknown).
OpenResult RefusedWithErrno(const std::string& path, int error);

} // namespace treadkey::hidapi_platform
