#pragma once

#include "kernel/test_descriptors.h"
#include "kernel/uhid_pedal.h"

#include <hidapi.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Times a discovery tick against what any program must do at the least to find and open the pedal: one
// enumeration by its ids, one open, one close. Runs in the test guest, where HID interfaces are uhid devices.
namespace treadkey::kernelbench {

using Clock = std::chrono::steady_clock;

inline constexpr double kRatioGoal = 1.3;
inline constexpr int kRounds = 11;
// Cheap calls are timed many to a round, so that the clock's granularity does not count; short enough to keep
// the whole comparison to a few seconds.
inline constexpr std::chrono::milliseconds kRoundTarget{30};

// The pedal and a growing number of decoys: vendor-defined interfaces with other ids, which every
// enumeration walks past.
class PluggedInterfaces {
public:
    PluggedInterfaces()
        : pedal_(std::make_unique<kerneltest::UhidPedal>(
              kerneltest::PedalIdentity(kerneltest::VendorOutputDescriptor(8)))) {}

    const std::string& pedalPath() const { return pedal_->hidrawPath(); }

    int count() const { return static_cast<int>(decoys_.size()) + 1 + (keyboard_ ? 2 : 0); }

    // Gives the pedal the keyboard and mouse interfaces of a real one, enumerated before its configuration
    // interface (which is plugged in again after them for that), in place of two decoys.
    void makeComposite() {
        pedal_->destroy();
        decoys_.resize(decoys_.size() >= 2 ? decoys_.size() - 2 : 0);
        keyboard_ = std::make_unique<kerneltest::UhidPedal>(kerneltest::PedalKeyboardIdentity());
        mouse_ = std::make_unique<kerneltest::UhidPedal>(kerneltest::PedalMouseIdentity());
        pedal_->create();
    }

    // Plugs decoys until `total` interfaces are present; returns the seconds that took.
    double growTo(int total) {
        const Clock::time_point start = Clock::now();
        while (count() < total) {
            const auto product = static_cast<std::uint16_t>(0xC000 + decoys_.size());
            decoys_.push_back(std::make_unique<kerneltest::UhidPedal>(kerneltest::UhidIdentity{
                "treadkey bench decoy", 0x046D, product, kerneltest::VendorOutputDescriptor(8)}));
        }
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

private:
    std::unique_ptr<kerneltest::UhidPedal> pedal_;
    std::vector<std::unique_ptr<kerneltest::UhidPedal>> decoys_;
    std::unique_ptr<kerneltest::UhidPedal> keyboard_;
    std::unique_ptr<kerneltest::UhidPedal> mouse_;
};

// The least any program does per tick: it opens the pedal's vendor-defined interface, which it knows to look
// for, and nothing else. False when the pedal was not found and opened.
inline bool BareTick() {
    hid_device_info* const list = hid_enumerate(kerneltest::kPedalVendorId, kerneltest::kPedalProductId);
    const hid_device_info* vendor = list;
    while (vendor != nullptr && vendor->usage_page < 0xFF00) {
        vendor = vendor->next;
    }
    hid_device* const device = vendor != nullptr ? hid_open_path(vendor->path) : nullptr;
    hid_free_enumeration(list);
    if (device == nullptr) {
        return false;
    }
    hid_close(device);
    return true;
}

struct Comparison {
    double bareMicros = 0; // the best round's time per call
    double oursMicros = 0;
    double ratio = 0; // the median over rounds of ours against bare in the same round
};

// Times both in rounds, bare and ours back to back in turn, each about kRoundTarget worth of calls (one at
// the least). Other load on the host only ever adds time and comes in bursts: the times are the best
// round's, the ratio is taken within each round, where both ran under the same load, and the median of those
// counts. False when a call failed.
inline bool Compare(const std::function<bool()>& bare, const std::function<bool()>& ours,
                    Comparison& result) {
    const auto timeCalls = [](const std::function<bool()>& call, int calls, double& micros) {
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < calls; ++i) {
            if (!call()) {
                return false;
            }
        }
        micros = std::chrono::duration<double, std::micro>(Clock::now() - start).count() / calls;
        return true;
    };
    // Warm-up, which also tells how many calls fill a round.
    double warmMicros = 0;
    if (!timeCalls(bare, 1, warmMicros) || !timeCalls(ours, 2, warmMicros)) {
        return false;
    }
    const double targetMicros = std::chrono::duration<double, std::micro>(kRoundTarget).count();
    const int calls = std::max(1, static_cast<int>(targetMicros / warmMicros));

    std::vector<double> bareRounds(kRounds);
    std::vector<double> ourRounds(kRounds);
    std::vector<double> ratios(kRounds);
    for (std::size_t round = 0; round < ratios.size(); ++round) {
        const bool bareFirst = round % 2 == 0;
        if (!timeCalls(bareFirst ? bare : ours, calls, bareFirst ? bareRounds[round] : ourRounds[round]) ||
            !timeCalls(bareFirst ? ours : bare, calls, bareFirst ? ourRounds[round] : bareRounds[round])) {
            return false;
        }
        ratios[round] = ourRounds[round] / bareRounds[round];
    }
    const auto middle = ratios.begin() + static_cast<std::ptrdiff_t>(ratios.size() / 2);
    std::nth_element(ratios.begin(), middle, ratios.end());
    result = {*std::min_element(bareRounds.begin(), bareRounds.end()),
              *std::min_element(ourRounds.begin(), ourRounds.end()), *middle};
    return true;
}

inline void PrintHeader(const char* tick, const char* ours) {
    std::printf("%s: microseconds per tick (best of %d rounds), ratio (median of the rounds' ratios), goal: "
                "ratio <= %.1f\n%-11s %-22s "
                "%-22s %-6s %s\n",
                tick, kRounds, kRatioGoal, "interfaces", "bare (enumerate+open)", ours, "ratio", "goal");
}

inline void PrintRow(int interfaces, const Comparison& compared) {
    std::printf("%-11d %-22.0f %-22.0f %-6.2f %s\n", interfaces, compared.bareMicros, compared.oursMicros,
                compared.ratio, compared.ratio <= kRatioGoal ? "met" : "above goal");
    std::fflush(stdout);
}

} // namespace treadkey::kernelbench
