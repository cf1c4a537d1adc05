#pragma once

#include "stacks/hid_backend.h"

#include <memory>

namespace treadkey {

// The real HID stack, through hidapi. The library is started with the first such backend and stopped once the
// last backend and the last device opened through one are gone.
std::unique_ptr<HidBackend> MakeHidapiBackend();

} // namespace treadkey
