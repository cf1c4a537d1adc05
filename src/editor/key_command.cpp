#include "editor/key_command.h"

#include "protocol/slot_number.h"

namespace treadkey {

std::string ModifierLogText(std::uint8_t modifierByte) {
    // Positions in kModifierToggles, listed in the order the log names them.
    constexpr std::array<std::size_t, 8> kLogOrder = {0, 2, 1, 3, 4, 6, 5, 7};
    std::string text;
    for (const std::size_t position : kLogOrder) {
        const ModifierToggle& toggle = kModifierToggles[position];
        if ((modifierByte & toggle.bit) != 0) {
            text += toggle.logText;
        }
    }
    return text;
}

std::string KeyLogLine(bool chinese, std::uint8_t modifierByte, std::string_view caption,
                       std::string_view slotText) {
    const std::string keys = ModifierLogText(modifierByte) + std::string(caption);
    const std::string slot = SlotNumberText(slotText);
    return chinese ? "写入键值:  < " + keys + " > 到地址" + slot
                   : "Write Key Val:  < " + keys + " > To Address:" + slot;
}

} // namespace treadkey
