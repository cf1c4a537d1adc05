#include "protocol/settings_frames.h"

#include "protocol/hex_byte.h"
#include "protocol/number_text.h"

namespace treadkey {

std::string PlaybackWordFrame(bool autoRunOn, bool loopPlayback) {
    // Byte 3 of the word is 79 for auto-run on and 00 for off, byte 4 is 01 for loop and 00 for single
    // playback.
    return std::string("AA 01 7C ") + (autoRunOn ? "79" : "00") + (loopPlayback ? " 01" : " 00") + " 00 00";
}

std::string KeyDelayFrame(double delay) {
    // The delay shares word 0x7C with the playback bits; the device takes 79 01 here whatever those are set
    // to.
    const std::uint16_t bits = Low16Bits(delay);
    return "AA 01 7C 79 01 " + TwoDigitHex(bits >> 8) + " " + TwoDigitHex(bits & 0xFF);
}

std::string SingleOutputFrame(int checkValue) {
    return "AA 01 78 79 01 " + TwoDigitHex(checkValue) + " 00";
}

std::string SlotClearFrame(int counter) {
    return "AA 01 " + TwoDigitHex(counter * 4.0) + " FF FF FF FF";
}

std::string KeyDelayLogLine(bool chinese, double roundedDelay) {
    const char* label = chinese ? "按键延时响应时间: " : "Key Delay:  ";
    return label + ShortestDecimalText(roundedDelay) + " ms";
}

} // namespace treadkey
