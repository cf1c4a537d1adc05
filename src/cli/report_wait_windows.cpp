#include "cli/report_wait.h"

#include <algorithm>

namespace treadkey {

// The Windows stack gives no descriptors to wait on, and a stop only sets the flag the caller looks at.
void WaitForReports(const std::vector<int>&, const StopRequests&, std::chrono::milliseconds longest,
                    const std::function<void(std::chrono::milliseconds)>& sleep) {
    sleep(std::min(longest, kLookEvery));
}

} // namespace treadkey
