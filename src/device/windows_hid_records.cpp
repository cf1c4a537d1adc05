#include "device/windows_hid_records.h"

#include "device/collection_kind.h"

#include <algorithm>

namespace treadkey::windows_hid {

std::optional<std::string> PathFromDetailRecord(std::span<const std::uint8_t> record) {
    if (record.size() <= kDetailPathOffset) {
        return std::nullopt;
    }
    const std::span<const std::uint8_t> text = record.subspan(kDetailPathOffset);
    const auto end = std::find(text.begin(), text.end(), std::uint8_t{0});
    if (end == text.begin()) {
        return std::nullopt;
    }
    return std::string(text.begin(), end);
}

std::vector<HidCollection> CollectionsFromCaps(std::optional<HidCollection> capsUsage) {
    if (!capsUsage) {
        return {};
    }
    return {*capsUsage};
}

OpenResult OpenFailureFor(const HidInterface& interface, std::uint32_t error) {
    const std::string& path = interface.path;
    switch (error) {
    case kErrorAccessDenied:
        if (IsPassedOver(interface)) {
            return {nullptr, "cannot open " + path + " for writing: the system keeps it to itself",
                    OpenFailure::Unknown};
        }
        return {nullptr,
                "access denied on " + path + ": another program has it open alone; close that program",
                OpenFailure::Unknown};
    case kErrorSharingViolation:
        return {nullptr, "cannot open " + path + ": another program has it open alone; close that program",
                OpenFailure::Unknown};
    case kErrorFileNotFound:
    case kErrorPathNotFound:
    case kErrorNoSuchDevice:
    case kErrorDeviceNotConnected:
        return {nullptr, "cannot open " + path + ": the device is gone; replug the pedal and try again",
                OpenFailure::Gone};
    case 0:
        return {nullptr, "cannot open " + path + ": no reason given", OpenFailure::Unknown};
    default:
        return {nullptr, "cannot open " + path + ": Windows error " + std::to_string(error),
                OpenFailure::Unknown};
    }
}

} // namespace treadkey::windows_hid
