#include "device/platform_backend.h"

#include "device/hidapi_backend.h"

namespace treadkey {

std::unique_ptr<HidBackend> MakePlatformBackend() {
    return MakeHidapiBackend();
}

} // namespace treadkey
