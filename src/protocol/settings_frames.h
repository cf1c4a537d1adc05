#pragma once

#include <string>

namespace treadkey {

// Frames of the device's settings words, as command texts. The address 0x7C holds playback, auto-run and the
// key delay; 0x78 holds single output.
std::string PlaybackWordFrame(bool autoRunOn, bool loopPlayback); // "AA 01 7C 79 01 00 00" and its three kin
std::string KeyDelayFrame(double delay);       // "AA 01 7C 79 01 hh ll", low 16 bits of delay
std::string SingleOutputFrame(int checkValue); // "AA 01 78 79 01 oo 00"

// Clearing: the 32 slot addresses 0x00, 0x04, ... 0x7C, counter 0 to 31 ("AA 01 7C FF FF FF FF" for 31).
inline constexpr int kSlotAddressCount = 32;
std::string SlotClearFrame(int counter);

// The log line of a key delay sent to the device (UTF-8): "按键延时响应时间: 300 ms" or "Key Delay:  300 ms".
std::string KeyDelayLogLine(bool chinese, double roundedDelay);

} // namespace treadkey
