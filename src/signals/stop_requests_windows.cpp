// Windows has no termination signals: a console's Ctrl+C, Ctrl+Break or closing, and a logoff or shutdown
// reach a program through its console control handler, which the system runs on a thread of its own; so
// whenAsked is called from there, and there is no descriptor to wait on.
#include "signals/stop_requests.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include <windows.h>

namespace treadkey {

struct StopRequests::Catching {
    StopOn which;
    std::function<void()> whenAsked;
};

namespace {

std::atomic<bool> stopRequested = false;
std::atomic<const StopRequests::Catching*> catching = nullptr;

BOOL WINAPI OnConsoleControl(DWORD event) {
    const StopRequests::Catching* now = catching;
    if (now == nullptr || (now->which == StopOn::InterruptOrTerminate && event != CTRL_C_EVENT)) {
        return FALSE; // the next handler's, in the end the system's: the process ends
    }
    stopRequested = true;
    if (now->whenAsked) {
        now->whenAsked();
    }
    return TRUE;
}

} // namespace

StopRequests::StopRequests(StopOn which, std::function<void()> whenAsked)
    : catching_(std::make_unique<Catching>(Catching{which, std::move(whenAsked)})) {
    stopRequested = false;
    catching = catching_.get();
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

StopRequests::~StopRequests() {
    SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    catching = nullptr;
}

bool StopRequests::requested() const {
    return stopRequested;
}

int StopRequests::descriptor() const {
    return -1;
}

// A request only sets the flag, which the caller looks at after the nap.
void StopRequests::Wait(const std::vector<int>&, std::chrono::milliseconds longest) const {
    std::this_thread::sleep_for(std::min(longest, std::chrono::milliseconds(5)));
}

} // namespace treadkey
