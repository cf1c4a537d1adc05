#pragma once

#include "protocol/playback_word.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace treadkey {

// Every frame the program sends, as the command text the window shows ("aa 01 08 03 04 00 00"). Slots are
// given as the slot box's free text; only the low byte of its address reaches the frame.

// A key entry "aa 01 SS MM KK 00 00": slot address, modifier mask, key code.
std::string KeyFrame(std::string_view slotText, std::uint8_t modifierByte, double keyCode);
// A mouse entry "aa 02 SS FE CC 00 00": slot address, marker, button bits.
std::string MouseFrame(std::string_view slotText, double buttonCode);
// "AA 01 7C 79 01 hh ll": the low 16 bits of the delay.
std::string KeyDelayFrame(double delay);
// "AA 01 78 79 01 oo 00".
std::string SingleOutputFrame(int checkValue);
// "AA 01 7C 79 01 00 00" and its three kin: auto-run on or off, loop or single playback.
std::string PlaybackFrame(bool autoRunOn, bool loopPlayback);
// The one frame that stores exactly this word, or nothing when none does: the playback frames carry a delay
// of 0 and the key-delay frame auto-run on with loop playback, so a delay above 0 comes only with those.
std::optional<std::string> PlaybackWordFrame(const PlaybackWord& word);
// Clears the word at counter * 4 ("AA 01 7C FF FF FF FF" for 31), counter 0 to 31.
std::string ClearFrame(int counter);

} // namespace treadkey
