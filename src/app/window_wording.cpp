#include "app/window_wording.h"

#include "protocol/number_text.h"

namespace treadkey {

std::string KeyDelayLogLine(bool chinese, double roundedDelay) {
    const char* label = chinese ? "按键延时响应时间: " : "Key Delay:  ";
    return label + ShortestDecimalText(roundedDelay) + " ms";
}

} // namespace treadkey
