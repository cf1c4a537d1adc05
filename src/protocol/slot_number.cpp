#include "protocol/slot_number.h"

#include "protocol/frame_layout.h"
#include "protocol/hex_byte.h"
#include "protocol/number_text.h"

#include <cmath>

namespace treadkey {

std::string SlotAddressHex(std::string_view slotText) {
    // (n - 1) * 4 modulo 256 depends on n modulo 64 only; fmod is exact, so huge numbers keep their low byte
    // and never overflow.
    constexpr double kSlotsPerByteRange = 256.0 / kWordSize;
    const double slot = std::fmod(ReadLeadingNumber(slotText), kSlotsPerByteRange);
    return TwoDigitHex((slot - 1.0) * kWordSize);
}

std::string SlotNumberText(std::string_view slotText) {
    return PlainDecimalText(ReadLeadingNumber(slotText));
}

} // namespace treadkey
