#include "stacks/platform_backend.h"

#include "stacks/hidapi/hidapi_backend.h"

namespace treadkey {

std::unique_ptr<HidBackend> MakePlatformBackend() {
    return MakeHidapiBackend();
}

} // namespace treadkey
