#include "stacks/virtual/virtual_pedal.h"

#include "hid/input_layout.h"
#include "protocol/report_hex.h"
#include "stacks/virtual/append_line.h"
#include "stacks/virtual/virtual_presses.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <utility>

namespace treadkey {

// One interface the pedal presents.
struct VirtualInterface {
    std::string path;
    HidCollection collection;
    bool configuration;     // decodes frames, at the report length the options give
    int outputReportLength; // of the others, report id included
    bool mouse;             // of the others, which one sends a mouse slot's reports
};

// A keyboard's only output report is its LED byte; a mouse has none.
const VirtualInterface kKeyboardInterface{VirtualPedal::kKeyboardPath, {0x01, 0x06}, false, 2, false};
const VirtualInterface kMouseInterface{VirtualPedal::kMousePath, {0x01, 0x02}, false, 0, true};
const VirtualInterface kConfigurationInterface{VirtualPedal::kPath, {0xFF00, 0x0001}, true, 0, false};

// Input reports queued for one open handle of the keyboard or the mouse.
struct InputQueue {
    bool mouse = false;
    std::deque<std::vector<std::uint8_t>> reports;
};
// As many as the system queues for one handle; a reader that falls further behind loses the newest.
constexpr std::size_t kMaxQueuedReports = 64;

struct VirtualPedalState {
    VirtualPedalOptions options;
    bool twin = false;
    mutable std::mutex mutex;
    PedalMemory memory;
    std::vector<std::vector<std::uint8_t>> receivedReports;
    std::vector<std::vector<std::uint8_t>> strayReports;
    int openDevices = 0;
    std::optional<PressFile> presses;
    std::vector<InputQueue*> queues; // of the open keyboard and mouse handles

    std::vector<VirtualInterface> interfaces() const {
        std::vector<VirtualInterface> interfaces{kConfigurationInterface};
        if (options.composite) {
            interfaces = {kKeyboardInterface, kMouseInterface, kConfigurationInterface};
        }
        for (VirtualInterface& interface : interfaces) {
            interface.path += twin ? VirtualPedal::kTwinSuffix : "";
        }
        return interfaces;
    }

    int reportLength(const VirtualInterface& interface) const {
        return interface.configuration ? options.reportLength : interface.outputReportLength;
    }

    bool present() const {
        std::error_code ignored;
        return !options.presenceFile || std::filesystem::exists(*options.presenceFile, ignored);
    }

    // Sends what each newly pressed slot holds to every open handle of the interface that sends it. Called
    // with the mutex held.
    void playPresses() {
        if (!presses) {
            return;
        }
        for (const int slot : presses->TakeSlots()) {
            const PedalMemory played = options.logFile ? MemoryFromLog(*options.logFile) : memory;
            const std::optional<SlotPress> press = PressOfSlot(*played.slot(slot));
            if (!press) {
                continue;
            }
            for (InputQueue* queue : queues) {
                for (const std::vector<std::uint8_t>& report : press->reports) {
                    if (queue->mouse == press->mouse && queue->reports.size() < kMaxQueuedReports) {
                        queue->reports.push_back(report);
                    }
                }
            }
        }
    }
};

namespace {

class VirtualPedalDevice : public HidDevice {
public:
    VirtualPedalDevice(std::shared_ptr<VirtualPedalState> state, VirtualInterface interface, bool readOnly)
        : state_(std::move(state)), interface_(interface), readOnly_(readOnly) {
        queue_.mouse = interface_.mouse;
        const std::lock_guard lock(state_->mutex);
        ++state_->openDevices;
        if (!interface_.configuration) {
            state_->queues.push_back(&queue_);
        }
    }
    ~VirtualPedalDevice() override {
        const std::lock_guard lock(state_->mutex);
        --state_->openDevices;
        std::erase(state_->queues, &queue_);
    }
    VirtualPedalDevice(const VirtualPedalDevice&) = delete;
    VirtualPedalDevice& operator=(const VirtualPedalDevice&) = delete;

    std::optional<int> outputReportLength() override { return state_->reportLength(interface_); }

    int write(std::span<const std::uint8_t> report) override {
        const int length = state_->reportLength(interface_);
        if (readOnly_ || !state_->present() || length < 1 ||
            report.size() != static_cast<std::size_t>(length)) {
            return -1;
        }
        const std::lock_guard lock(state_->mutex);
        // Reports at the keyboard or mouse stand out in the log by their path.
        const std::string line = interface_.configuration && !state_->twin
                                     ? ReportHexLine(report)
                                     : interface_.path + ": " + ReportHexLine(report);
        // A report that cannot be logged counts as lost, so the log never misses a report the pedal took.
        if (state_->options.logFile && !AppendLine(*state_->options.logFile, line + "\n")) {
            return -1;
        }
        if (!interface_.configuration) {
            state_->strayReports.emplace_back(report.begin(), report.end());
            return static_cast<int>(report.size());
        }
        state_->receivedReports.emplace_back(report.begin(), report.end());
        state_->memory.decode(report);
        return static_cast<int>(report.size());
    }

    int read(std::span<std::uint8_t> buffer, int timeoutMs) override {
        // No descriptor to wait on: the press file is looked at every few milliseconds of the wait.
        constexpr auto kLookEvery = std::chrono::milliseconds(5);
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
        for (;;) {
            {
                const std::lock_guard lock(state_->mutex);
                if (!state_->present()) {
                    return -1;
                }
                state_->playPresses();
                if (!queue_.reports.empty()) {
                    const std::vector<std::uint8_t> report = std::move(queue_.reports.front());
                    queue_.reports.pop_front();
                    const std::size_t length = std::min(report.size(), buffer.size());
                    std::copy_n(report.begin(), length, buffer.begin());
                    return static_cast<int>(length);
                }
            }
            const auto now = std::chrono::steady_clock::now();
            if (now >= deadline) {
                return 0;
            }
            std::this_thread::sleep_for(
                std::min<std::chrono::steady_clock::duration>(kLookEvery, deadline - now));
        }
    }

    std::optional<std::vector<std::uint8_t>> reportDescriptor() override {
        // The configuration interface's descriptor is not modelled; the others are boot devices.
        if (interface_.configuration) {
            return std::nullopt;
        }
        const std::span<const std::uint8_t> descriptor =
            interface_.mouse ? BootMouseDescriptor() : BootKeyboardDescriptor();
        return std::vector<std::uint8_t>(descriptor.begin(), descriptor.end());
    }

private:
    std::shared_ptr<VirtualPedalState> state_;
    VirtualInterface interface_;
    bool readOnly_;
    InputQueue queue_;
};

} // namespace

VirtualPedal::VirtualPedal(VirtualPedalOptions options, bool isTwin)
    : state_(std::make_shared<VirtualPedalState>()) {
    if (options.reportLength < 1 || options.reportLength > kMaxReportLength) {
        throw std::invalid_argument("virtual pedal report length must be 1 to 65535");
    }
    state_->options = std::move(options);
    state_->twin = isTwin;
    if (state_->options.pressFile && !isTwin) {
        state_->presses.emplace(*state_->options.pressFile);
    }
}

std::vector<HidInterface> VirtualPedal::enumerate(std::uint16_t, std::uint16_t) {
    if (!present()) {
        return {};
    }
    std::vector<HidInterface> present;
    for (const VirtualInterface& interface : state_->interfaces()) {
        present.push_back({interface.path,
                           kPedalVendorId,
                           kPedalProductId,
                           {interface.collection},
                           state_->twin ? kTwinIdentity : kIdentity});
    }
    return present;
}

OpenResult VirtualPedal::open(const std::string& path) {
    return openDevice(path, false);
}

OpenResult VirtualPedal::openReadOnly(const std::string& path) {
    return openDevice(path, true);
}

OpenResult VirtualPedal::openDevice(const std::string& path, bool readOnly) {
    const std::vector<VirtualInterface> interfaces = state_->interfaces();
    const auto found = std::find_if(interfaces.begin(), interfaces.end(),
                                    [&](const VirtualInterface& i) { return path == i.path; });
    if (found == interfaces.end()) {
        return {nullptr,
                "no virtual device at " + path + " (the virtual pedal is \"" + interfaces.back().path + "\")",
                OpenFailure::Gone};
    }
    if (!present()) {
        return {nullptr,
                "the virtual pedal is unplugged: " + state_->options.presenceFile->string() +
                    " does not exist",
                OpenFailure::Gone};
    }
    return {std::make_unique<VirtualPedalDevice>(state_, *found, readOnly), ""};
}

bool VirtualPedal::present() const {
    return state_->present();
}

bool VirtualPedal::offers(const std::string& path) const {
    const std::vector<VirtualInterface> interfaces = state_->interfaces();
    return std::any_of(interfaces.begin(), interfaces.end(),
                       [&path](const VirtualInterface& i) { return i.path == path; });
}

PedalMemory VirtualPedal::memory() const {
    const std::lock_guard lock(state_->mutex);
    return state_->memory;
}

std::vector<std::vector<std::uint8_t>> VirtualPedal::receivedReports() const {
    const std::lock_guard lock(state_->mutex);
    return state_->receivedReports;
}

std::vector<std::vector<std::uint8_t>> VirtualPedal::strayReports() const {
    const std::lock_guard lock(state_->mutex);
    return state_->strayReports;
}

int VirtualPedal::openDeviceCount() const {
    const std::lock_guard lock(state_->mutex);
    return state_->openDevices;
}

} // namespace treadkey
