#include "editor/mouse_command.h"

#include "protocol/slot_number.h"

namespace treadkey {

std::string MouseLogLine(bool chinese, const MouseButton& button, std::string_view slotText) {
    return std::string(chinese ? button.chineseLog : button.englishLog) + SlotNumberText(slotText);
}

} // namespace treadkey
