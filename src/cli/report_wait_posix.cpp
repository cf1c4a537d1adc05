#include "cli/report_wait.h"

#include <poll.h>

namespace treadkey {

void WaitForReports(const std::vector<int>& descriptors, const StopRequests& stop,
                    std::chrono::milliseconds longest,
                    const std::function<void(std::chrono::milliseconds)>&) {
    std::vector<pollfd> waiting;
    for (const int fd : descriptors) {
        waiting.push_back({fd, POLLIN, 0});
    }
    if (stop.descriptor() >= 0) {
        waiting.push_back({stop.descriptor(), POLLIN, 0});
    }
    ::poll(waiting.data(), waiting.size(), static_cast<int>(longest.count()));
}

} // namespace treadkey
