#include "hid/collection_kind.h"

#include <algorithm>
#include <array>

namespace treadkey {
namespace {

constexpr std::uint16_t kGenericDesktopPage = 0x01;
constexpr std::uint16_t kConsumerPage = 0x0C;
constexpr std::uint16_t kDigitizerPage = 0x0D;
constexpr std::uint16_t kFirstVendorPage = 0xFF00;

// The collections with a kind of their own; any other usage of these pages is Other.
struct UsageKind {
    std::uint16_t page;
    std::uint16_t usage;
    CollectionKind kind;
};
constexpr std::array<UsageKind, 12> kUsageKinds = {{
    {kGenericDesktopPage, 0x01, CollectionKind::Pointer},
    {kGenericDesktopPage, 0x02, CollectionKind::Mouse},
    {kGenericDesktopPage, 0x04, CollectionKind::Joystick},
    {kGenericDesktopPage, 0x05, CollectionKind::GamePad},
    {kGenericDesktopPage, 0x06, CollectionKind::Keyboard},
    {kGenericDesktopPage, 0x07, CollectionKind::Keypad},
    {kGenericDesktopPage, 0x80, CollectionKind::SystemControl},
    {kConsumerPage, 0x01, CollectionKind::ConsumerControl},
    {kDigitizerPage, 0x01, CollectionKind::Digitizer},
    {kDigitizerPage, 0x02, CollectionKind::Pen},
    {kDigitizerPage, 0x04, CollectionKind::TouchScreen},
    {kDigitizerPage, 0x05, CollectionKind::TouchPad},
}};

// Whether the system keeps a collection of this kind to itself, so that no program may open it for writing.
bool IsHeldBySystem(CollectionKind kind) {
    switch (kind) {
    case CollectionKind::Pointer:
    case CollectionKind::Mouse:
    case CollectionKind::Keyboard:
    case CollectionKind::Keypad:
    case CollectionKind::Digitizer:
    case CollectionKind::Pen:
    case CollectionKind::TouchScreen:
    case CollectionKind::TouchPad:
        return true;
    default:
        return false;
    }
}

} // namespace

CollectionKind CollectionKindOf(HidCollection collection) {
    if (collection.page >= kFirstVendorPage) {
        return CollectionKind::VendorDefined;
    }
    const auto found =
        std::find_if(kUsageKinds.begin(), kUsageKinds.end(), [collection](const UsageKind& known) {
            return known.page == collection.page && known.usage == collection.usage;
        });
    return found != kUsageKinds.end() ? found->kind : CollectionKind::Other;
}

bool IsPassedOver(const std::vector<HidCollection>& collections) {
    return !collections.empty() && std::all_of(collections.begin(), collections.end(), [](HidCollection c) {
        return IsHeldBySystem(CollectionKindOf(c));
    });
}

} // namespace treadkey
