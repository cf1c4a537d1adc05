#include "diagnosis/system_root.h"

namespace treadkey {

SystemRoot RunningSystem() {
    return {};
}

} // namespace treadkey
