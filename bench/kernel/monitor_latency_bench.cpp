// From a press to its line: `treadkeyctl monitor` against a bare hidapi read loop on the same node, on the
// test guest's kernel. A press is one input report sent through uhid; the time runs from just before the send
// to the moment the reader has it (bare) or has written its line (monitor). Prints figures; fails only when a
// press never arrives.
#include "fixtures/cli_in_process.h"
#include "kernel/opened_here.h"
#include "kernel/test_descriptors.h"
#include "kernel/uhid_pedal.h"

#include <hidapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <ostream>
#include <streambuf>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using treadkey::kerneltest::Bytes;
using treadkey::kerneltest::OpenedHere;
using treadkey::kerneltest::UhidPedal;

constexpr int kPresses = 40;
constexpr int kRounds = 3;
constexpr auto kGiveUp = std::chrono::seconds(5);
const Bytes kPress = {0x03, 0, 0x04, 0, 0, 0, 0, 0};
const Bytes kRelease(8, 0);

// When each thing arrived, for the sender to wait on.
class Arrivals {
public:
    void arrived() {
        const std::lock_guard lock(mutex_);
        times_.push_back(Clock::now());
        changed_.notify_all();
    }
    // The time of the n-th arrival (from 0); false when it did not come in time.
    bool waitFor(std::size_t n, Clock::time_point& at) {
        std::unique_lock lock(mutex_);
        const bool came = changed_.wait_for(lock, kGiveUp, [&] { return times_.size() > n; });
        if (came) {
            at = times_[n];
        }
        return came;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Clock::time_point> times_;
};

// An output stream that notes the time of each line written to it.
class LineClock : public std::streambuf {
public:
    explicit LineClock(Arrivals& arrivals) : arrivals_(arrivals) {}

protected:
    int overflow(int c) override {
        if (c == '\n') {
            arrivals_.arrived();
        }
        return c;
    }

private:
    Arrivals& arrivals_;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Sends presses (each followed by its release) and returns each press's latency in milliseconds; arrivals
// counts what the reader saw, `perPress` arrivals for each press and release pair.
bool TimePresses(UhidPedal& keyboard, Arrivals& arrivals, std::size_t perPress, std::size_t& seen,
                 std::vector<double>& latencies) {
    for (int press = 0; press < kPresses; ++press) {
        const Clock::time_point sent = Clock::now();
        keyboard.sendInput(kPress);
        Clock::time_point at;
        if (!arrivals.waitFor(seen, at)) {
            return false;
        }
        latencies.push_back(std::chrono::duration<double, std::milli>(at - sent).count());
        keyboard.sendInput(kRelease);
        if (!arrivals.waitFor(seen + perPress - 1, at)) {
            return false;
        }
        seen += perPress;
    }
    return true;
}

bool BareRound(UhidPedal& keyboard, std::vector<double>& latencies) {
    hid_device* const device = hid_open_path(keyboard.hidrawPath().c_str());
    if (device == nullptr) {
        std::fprintf(stderr, "monitor latency: cannot open %s\n", keyboard.hidrawPath().c_str());
        return false;
    }
    Arrivals arrivals;
    std::atomic<bool> stop = false;
    std::thread reader([&] {
        unsigned char buffer[64];
        while (!stop) {
            if (hid_read_timeout(device, buffer, sizeof buffer, 100) > 0) {
                arrivals.arrived();
            }
        }
    });
    std::size_t seen = 0;
    const bool ok = TimePresses(keyboard, arrivals, 2, seen, latencies);
    stop = true;
    reader.join();
    hid_close(device);
    return ok;
}

bool MonitorRound(UhidPedal& keyboard, std::vector<double>& latencies) {
    Arrivals arrivals;
    LineClock lines(arrivals);
    treadkey::testing::CliOutcome outcome;
    std::thread monitor([&] {
        outcome = treadkey::testing::RunCliInProcess(
            {"monitor", "--count", std::to_string(2 * kPresses), "--timeout", "60"},
            [](treadkey::CliServices& services) {
                services.sleep = [](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); };
            },
            {.out = &lines});
    });
    const Clock::time_point deadline = Clock::now() + kGiveUp;
    while (!OpenedHere(keyboard.hidrawPath()) && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::size_t seen = 0;
    const bool ok = TimePresses(keyboard, arrivals, 2, seen, latencies);
    monitor.join();
    if (!ok || outcome.exitCode != 0) {
        std::fprintf(stderr, "monitor latency: the monitor ended with %d: %s\n", outcome.exitCode,
                     outcome.err.c_str());
        return false;
    }
    return true;
}

} // namespace

int main() {
    if (hid_init() != 0) {
        return 1;
    }
    UhidPedal keyboard(treadkey::kerneltest::PedalKeyboardIdentity());
    UhidPedal pedal(treadkey::kerneltest::PedalIdentity(treadkey::kerneltest::VendorOutputDescriptor(8)));
    std::printf("monitor latency, press to line, %d presses a round, milliseconds (median / worst):\n",
                kPresses);
    std::vector<double> ratios;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<double> bare;
        std::vector<double> monitor;
        if (!BareRound(keyboard, bare) || !MonitorRound(keyboard, monitor)) {
            std::printf("monitor latency: a press never arrived\n");
            return 1;
        }
        const double ratio = Median(monitor) / Median(bare);
        ratios.push_back(ratio);
        std::printf("  round %d: bare hid_read %.2f / %.2f, treadkeyctl monitor %.2f / %.2f, ratio %.2f\n",
                    round + 1, Median(bare), *std::max_element(bare.begin(), bare.end()), Median(monitor),
                    *std::max_element(monitor.begin(), monitor.end()), ratio);
    }
    std::printf("monitor latency: median ratio %.2f (goal: within 20 ms)\n", Median(ratios));
    hid_exit();
    return 0;
}
