#include "device/virtual_pedal.h"

#include "protocol/report_hex.h"

#include <cstdio>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace treadkey {

struct VirtualPedalState {
    VirtualPedalOptions options;
    mutable std::mutex mutex;
    PedalMemory memory;
    std::vector<std::vector<std::uint8_t>> receivedReports;
    int openDevices = 0;

    bool present() const {
        std::error_code ignored;
        return !options.presenceFile || std::filesystem::exists(*options.presenceFile, ignored);
    }
};

namespace {

// Opened and closed for each line so that a line is on disk as soon as the write returns, and so that the
// file may be removed or truncated between writes.
bool AppendLine(const std::filesystem::path& file, const std::string& line) {
    std::FILE* stream = std::fopen(file.c_str(), "ab");
    if (stream == nullptr) {
        return false;
    }
    const bool written = std::fwrite(line.data(), 1, line.size(), stream) == line.size();
    return std::fclose(stream) == 0 && written;
}

class VirtualPedalDevice : public HidDevice {
public:
    explicit VirtualPedalDevice(std::shared_ptr<VirtualPedalState> state) : state_(std::move(state)) {
        const std::lock_guard lock(state_->mutex);
        ++state_->openDevices;
    }
    ~VirtualPedalDevice() override {
        const std::lock_guard lock(state_->mutex);
        --state_->openDevices;
    }
    VirtualPedalDevice(const VirtualPedalDevice&) = delete;
    VirtualPedalDevice& operator=(const VirtualPedalDevice&) = delete;

    std::optional<int> outputReportLength() override { return state_->options.reportLength; }

    int write(std::span<const std::uint8_t> report) override {
        if (!state_->present() || report.size() != static_cast<std::size_t>(state_->options.reportLength)) {
            return -1;
        }
        const std::lock_guard lock(state_->mutex);
        // A report that cannot be logged counts as lost, so the log never misses a report the pedal took.
        if (state_->options.logFile && !AppendLine(*state_->options.logFile, ReportHexLine(report) + "\n")) {
            return -1;
        }
        state_->receivedReports.emplace_back(report.begin(), report.end());
        state_->memory.decode(report);
        return static_cast<int>(report.size());
    }

private:
    std::shared_ptr<VirtualPedalState> state_;
};

} // namespace

VirtualPedal::VirtualPedal(VirtualPedalOptions options) : state_(std::make_shared<VirtualPedalState>()) {
    if (options.reportLength < 1 || options.reportLength > kMaxReportLength) {
        throw std::invalid_argument("virtual pedal report length must be 1 to 65535");
    }
    state_->options = std::move(options);
}

std::vector<HidInterface> VirtualPedal::enumerate(std::uint16_t, std::uint16_t) {
    if (!present()) {
        return {};
    }
    // The configuration interface of a real pedal: one vendor-defined collection.
    return {HidInterface{kPath, kPedalVendorId, kPedalProductId, {{0xFF00, 0x0001}}}};
}

OpenResult VirtualPedal::open(const std::string& path) {
    if (path != kPath) {
        return {nullptr, "no virtual device at " + path + " (the virtual pedal is \"" + kPath + "\")"};
    }
    if (!present()) {
        return {nullptr, "the virtual pedal is unplugged: " + state_->options.presenceFile->string() +
                             " does not exist"};
    }
    return {std::make_unique<VirtualPedalDevice>(state_), ""};
}

bool VirtualPedal::present() const {
    return state_->present();
}

PedalMemory VirtualPedal::memory() const {
    const std::lock_guard lock(state_->mutex);
    return state_->memory;
}

std::vector<std::vector<std::uint8_t>> VirtualPedal::receivedReports() const {
    const std::lock_guard lock(state_->mutex);
    return state_->receivedReports;
}

int VirtualPedal::openDeviceCount() const {
    const std::lock_guard lock(state_->mutex);
    return state_->openDevices;
}

} // namespace treadkey
