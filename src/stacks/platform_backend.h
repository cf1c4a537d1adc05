#pragma once

#include "stacks/hid_backend.h"

#include <memory>

namespace treadkey {

// The HID stack of the platform the program was built for. The build links exactly one definition: the
// hidapi one on Linux, the Windows one on Windows (TREADKEY_HID_BACKEND).
std::unique_ptr<HidBackend> MakePlatformBackend();

} // namespace treadkey
