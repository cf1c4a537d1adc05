#pragma once

#include "device/hid_backend.h"
#include "device/pedal_ids.h"
#include "device/pedal_memory.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace treadkey {

struct VirtualPedalOptions {
    int reportLength = 9; // output report length, report-id byte included: 1..65535
    // Each report the pedal accepts is appended here as one line of hex bytes.
    std::optional<std::filesystem::path> logFile;
    // When set, the pedal is plugged in only while this file exists.
    std::optional<std::filesystem::path> presenceFile;
};

struct VirtualPedalState;

// A pedal that lives in memory, for demos and tests without the hardware. It offers exactly one interface
// (path "virtual-pedal", ids 0x2704:0x2018) while present, and decodes the frames written to it.
class VirtualPedal : public HidBackend {
public:
    static constexpr const char* kPath = "virtual-pedal";
    static constexpr int kMaxReportLength = 65535;

    // Throws std::invalid_argument when the report length is outside 1..65535.
    explicit VirtualPedal(VirtualPedalOptions options = {});

    // Ignores the wanted ids: callers compare them anyway.
    std::vector<HidInterface> enumerate(std::uint16_t wantedVendorId, std::uint16_t wantedProductId) override;
    OpenResult open(const std::string& path) override;

    bool present() const;
    // Snapshots, safe to take while another thread writes.
    PedalMemory memory() const;
    std::vector<std::vector<std::uint8_t>> receivedReports() const;
    int openDeviceCount() const;

private:
    std::shared_ptr<VirtualPedalState> state_; // shared with the open devices, which may outlive the pedal
};

} // namespace treadkey
