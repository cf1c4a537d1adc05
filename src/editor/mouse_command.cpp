#include "editor/mouse_command.h"

#include "editor/slot_number.h"
#include "protocol/hex_byte.h"

namespace treadkey {

namespace {
// Stands where a key frame holds its modifier byte; it marks the slot as a mouse click.
constexpr double kMouseMarker = 254;
} // namespace

std::string ComposeMouseCommand(std::string_view slotText, double buttonCode) {
    return "aa 02 " + SlotAddressHex(slotText) + " " + TwoDigitHex(kMouseMarker) + " " +
           TwoDigitHex(buttonCode) + " 00 00";
}

std::string MouseLogLine(bool chinese, const MouseButton& button, std::string_view slotText) {
    return std::string(chinese ? button.chineseLog : button.englishLog) + SlotNumberText(slotText);
}

} // namespace treadkey
