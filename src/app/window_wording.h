#pragma once

#include <string>

namespace treadkey {

// The log line of a key delay sent to the device (UTF-8): "按键延时响应时间: 300 ms" or "Key Delay:  300 ms".
std::string KeyDelayLogLine(bool chinese, double roundedDelay);

} // namespace treadkey
