#include "protocol/frames.h"

#include "protocol/frame_layout.h"
#include "protocol/hex_byte.h"
#include "protocol/slot_number.h"

#include <cctype>
#include <initializer_list>

namespace treadkey {

namespace {

// Bytes as two hex digits each, one space apart.
std::string Spaced(std::initializer_list<std::string> bytes) {
    std::string text;
    for (const std::string& byte : bytes) {
        text += (text.empty() ? "" : " ") + byte;
    }
    return text;
}

// Slot entries have always begun in lower case ("aa 01"), settings frames in upper case ("AA 01").
std::string LowerHex(std::uint8_t byte) {
    std::string text = TwoDigitHex(byte);
    for (char& digit : text) {
        digit = static_cast<char>(std::tolower(static_cast<unsigned char>(digit)));
    }
    return text;
}

std::string SlotEntry(std::uint8_t command, std::string_view slotText, double first, double second) {
    return Spaced({LowerHex(kLeadByte), LowerHex(command), SlotAddressHex(slotText), TwoDigitHex(first),
                   TwoDigitHex(second), "00", "00"});
}

std::string SettingsWord(std::uint8_t address, std::uint8_t first, std::uint8_t second, double third,
                         double fourth) {
    return Spaced({TwoDigitHex(kLeadByte), TwoDigitHex(kKeyCommand), TwoDigitHex(address), TwoDigitHex(first),
                   TwoDigitHex(second), TwoDigitHex(third), TwoDigitHex(fourth)});
}

} // namespace

std::string KeyFrame(std::string_view slotText, std::uint8_t modifierByte, double keyCode) {
    return SlotEntry(kKeyCommand, slotText, modifierByte, keyCode);
}

std::string MouseFrame(std::string_view slotText, double buttonCode) {
    return SlotEntry(kMouseCommand, slotText, kMouseMarker, buttonCode);
}

std::string KeyDelayFrame(double delay) {
    // The delay shares its word with the playback bits; the device takes auto-run and loop here whatever
    // those are set to.
    const std::uint16_t bits = Low16Bits(delay);
    return SettingsWord(kPlaybackAddress, kAutoRunOn, kLoopPlayback, bits >> 8, bits & 0xFF);
}

std::string SingleOutputFrame(int checkValue) {
    return SettingsWord(kSingleOutputAddress, kAutoRunOn, kLoopPlayback, checkValue, 0);
}

std::string PlaybackFrame(bool autoRunOn, bool loopPlayback) {
    return SettingsWord(kPlaybackAddress, autoRunOn ? kAutoRunOn : 0, loopPlayback ? kLoopPlayback : 0, 0, 0);
}

std::optional<std::string> PlaybackWordFrame(const PlaybackWord& word) {
    if (word.delay == 0) {
        return PlaybackFrame(word.autoRun, word.loop);
    }
    if (word.autoRun && word.loop) {
        return KeyDelayFrame(word.delay);
    }
    return std::nullopt;
}

std::string ClearFrame(int counter) {
    return Spaced({TwoDigitHex(kLeadByte), TwoDigitHex(kKeyCommand), TwoDigitHex(double(counter) * kWordSize),
                   TwoDigitHex(kClearedByte), TwoDigitHex(kClearedByte), TwoDigitHex(kClearedByte),
                   TwoDigitHex(kClearedByte)});
}

} // namespace treadkey
