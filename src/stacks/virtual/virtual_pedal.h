#pragma once

#include "protocol/pedal_ids.h"
#include "protocol/pedal_memory.h"
#include "stacks/hid_backend.h"

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
    // Shaped like a real pedal: a keyboard and a mouse interface enumerated before the configuration one.
    bool composite = false;
    // Presses: each whole line appended here after the pedal starts names a slot (1 to 12) to press, and the
    // pedal sends what that slot holds through its keyboard or mouse interface, a press report and then a
    // release. What a slot holds is read from the log file when there is one (so a pedal written by an
    // earlier run plays it), else from this pedal's memory.
    std::optional<std::filesystem::path> pressFile;
    // A second pedal beside the first, a twin with the same ids and the same options but its own identity
    // and paths; it takes no presses (see MakeVirtualPedals).
    bool twin = false;
};

struct VirtualPedalState;

// A pedal that lives in memory, for demos and tests without the hardware. While present it offers its
// configuration interface (path "virtual-pedal", ids 0x2704:0x2018, one vendor-defined collection), which
// decodes the frames written to it; composite, the keyboard and mouse interfaces come first. Those take
// reports too, as a real pedal's would, but decode nothing and log them under their own path; they send the
// input reports of the slots pressed through the press file, to every handle open on them.
class VirtualPedal : public HidBackend {
public:
    static constexpr const char* kPath = "virtual-pedal";
    static constexpr const char* kKeyboardPath = "virtual-pedal-keyboard";
    static constexpr const char* kMousePath = "virtual-pedal-mouse";
    static constexpr int kMaxReportLength = 65535;
    static constexpr const char* kIdentity = "virtual-1";
    // The twin's identity; its paths are the ones above with kTwinSuffix added.
    static constexpr const char* kTwinIdentity = "virtual-2";
    static constexpr const char* kTwinSuffix = "-2";

    // Throws std::invalid_argument when the report length is outside 1..65535. The twin logs every report
    // under its path, so that the first pedal's memory read from a shared log is its own.
    explicit VirtualPedal(VirtualPedalOptions options = {}, bool isTwin = false);

    // Ignores the wanted ids: callers compare them anyway.
    std::vector<HidInterface> enumerate(std::uint16_t wantedVendorId, std::uint16_t wantedProductId) override;
    OpenResult open(const std::string& path) override;
    OpenResult openReadOnly(const std::string& path) override;

    bool present() const;
    // Whether one of this pedal's interfaces has the path.
    bool offers(const std::string& path) const;
    // Snapshots, safe to take while another thread writes.
    PedalMemory memory() const;
    // What reached the configuration interface.
    std::vector<std::vector<std::uint8_t>> receivedReports() const;
    // What reached the keyboard or the mouse interface: for a correct program, nothing.
    std::vector<std::vector<std::uint8_t>> strayReports() const;
    int openDeviceCount() const;

private:
    OpenResult openDevice(const std::string& path, bool readOnly);

    std::shared_ptr<VirtualPedalState> state_; // shared with the open devices, which may outlive the pedal
};

// The virtual pedal the options ask for, and its twin beside it when they ask for one too.
std::unique_ptr<HidBackend> MakeVirtualPedals(const VirtualPedalOptions& options);

} // namespace treadkey
