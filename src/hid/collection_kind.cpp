#include "hid/collection_kind.h"

#include <algorithm>

namespace treadkey {
namespace {

constexpr std::uint16_t kGenericDesktopPage = 0x01;
constexpr std::uint16_t kConsumerPage = 0x0C;
constexpr std::uint16_t kDigitizerPage = 0x0D;
constexpr std::uint16_t kFirstVendorPage = 0xFF00;

CollectionKind GenericDesktopKind(std::uint16_t usage) {
    switch (usage) {
    case 0x01:
        return CollectionKind::Pointer;
    case 0x02:
        return CollectionKind::Mouse;
    case 0x04:
        return CollectionKind::Joystick;
    case 0x05:
        return CollectionKind::GamePad;
    case 0x06:
        return CollectionKind::Keyboard;
    case 0x07:
        return CollectionKind::Keypad;
    case 0x80:
        return CollectionKind::SystemControl;
    default:
        return CollectionKind::Other;
    }
}

CollectionKind DigitizerKind(std::uint16_t usage) {
    switch (usage) {
    case 0x01:
        return CollectionKind::Digitizer;
    case 0x02:
        return CollectionKind::Pen;
    case 0x04:
        return CollectionKind::TouchScreen;
    case 0x05:
        return CollectionKind::TouchPad;
    default:
        return CollectionKind::Other;
    }
}

} // namespace

CollectionKind CollectionKindOf(HidCollection collection) {
    if (collection.page >= kFirstVendorPage) {
        return CollectionKind::VendorDefined;
    }
    switch (collection.page) {
    case kGenericDesktopPage:
        return GenericDesktopKind(collection.usage);
    case kDigitizerPage:
        return DigitizerKind(collection.usage);
    case kConsumerPage:
        return collection.usage == 0x01 ? CollectionKind::ConsumerControl : CollectionKind::Other;
    default:
        return CollectionKind::Other;
    }
}

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

bool IsPassedOver(const std::vector<HidCollection>& collections) {
    return !collections.empty() && std::all_of(collections.begin(), collections.end(), [](HidCollection c) {
        return IsHeldBySystem(CollectionKindOf(c));
    });
}

} // namespace treadkey
