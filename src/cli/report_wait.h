#pragma once

#include "signals/stop_requests.h"

#include <chrono>
#include <functional>
#include <vector>

namespace treadkey {

// Where some interface offers nothing to wait on, its queue is looked at this often.
constexpr std::chrono::milliseconds kLookEvery{5};

// Until a report is queued on one of the interfaces' descriptors, a stop is asked or `longest` has passed;
// where the system cannot wait on descriptors (Windows), `sleep` naps for kLookEvery at most instead and the
// caller looks again.
void WaitForReports(const std::vector<int>& descriptors, const StopRequests& stop,
                    std::chrono::milliseconds longest,
                    const std::function<void(std::chrono::milliseconds)>& sleep);

} // namespace treadkey
