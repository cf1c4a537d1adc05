#pragma once

namespace treadkey {

// While it lives, SIGINT and SIGTERM stop a long-running command instead of killing it: each makes a
// descriptor readable, so a command waiting in poll() wakes at once, and requested() turns true. The
// previous handlers come back when it goes. One at a time.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    bool requested() const;
    // Readable once a signal came; -1 when the pipe could not be made (then only requested() tells).
    int descriptor() const { return readEnd_; }

private:
    int readEnd_ = -1;
};

} // namespace treadkey
