#include "stacks/windows/windows_hid_records.h"

#include "hid/collection_kind.h"

#include <algorithm>
#include <system_error>

namespace treadkey::windows_hid {
namespace {

// Win32 error codes as system error codes: a sharing violation says what it means, any other its number.
const std::error_category& WindowsErrorCategory() {
    static const class : public std::error_category {
    public:
        const char* name() const noexcept override { return "windows"; }
        std::string message(int code) const override {
            return code == static_cast<int>(kErrorSharingViolation) ? std::string(kOpenedElsewhere)
                                                                    : "Windows error " + std::to_string(code);
        }
    } category;
    return category;
}

OpenFailure ClassifyOpenFailure(const HidInterface& interface, std::uint32_t error) {
    switch (error) {
    case kErrorAccessDenied:
        return IsPassedOver(interface.collections) ? OpenFailure::KeptBySystem : OpenFailure::InUse;
    case kErrorFileNotFound:
    case kErrorPathNotFound:
    case kErrorNoSuchDevice:
    case kErrorDeviceNotConnected:
        return OpenFailure::Gone;
    default:
        return OpenFailure::Unknown;
    }
}

} // namespace

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
    return RefusedOpen(interface.path, ClassifyOpenFailure(interface, error),
                       std::error_code(static_cast<int>(error), WindowsErrorCategory()));
}

} // namespace treadkey::windows_hid
