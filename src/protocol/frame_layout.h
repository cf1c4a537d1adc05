#pragma once

#include <cstddef>
#include <cstdint>

namespace treadkey {

// Every frame the pedal takes is seven bytes: lead byte, command, address, then the four bytes of one memory
// word. The encoders write these numbers and the pedal-memory decoder reads them back, so both use this list.
inline constexpr std::size_t kFrameSize = 7;
// An output report that holds a whole frame: the report id, then the frame. A shorter one cuts every frame.
inline constexpr int kFrameReportLength = 1 + static_cast<int>(kFrameSize);
inline constexpr std::uint8_t kLeadByte = 0xAA;

// The commands: 0x01 writes a word as it stands (a key entry, a settings word, a cleared slot), 0x02 writes a
// mouse-button entry.
inline constexpr std::uint8_t kKeyCommand = 0x01;
inline constexpr std::uint8_t kMouseCommand = 0x02;
// Stands where a key entry holds its modifier byte; it marks the slot as a mouse click.
inline constexpr std::uint8_t kMouseMarker = 0xFE;
// A cleared word is all ones.
inline constexpr std::uint8_t kClearedByte = 0xFF;

// Memory: 32 words of four bytes at 0x00, 0x04, ... 0x7C. Slot n (1 to 12) lives at (n - 1) * 4; the last two
// words hold the settings.
inline constexpr int kWordSize = 4;
inline constexpr int kWordCount = 32;
inline constexpr int kLastAddress = (kWordCount - 1) * kWordSize;
inline constexpr int kSlotCount = 12;
inline constexpr std::uint8_t kSingleOutputAddress = 0x78;
inline constexpr std::uint8_t kPlaybackAddress = 0x7C; // playback, auto-run and the key delay

// The first two bytes of a settings word: auto-run on, and loop playback. The delay and single-output frames
// always carry both.
inline constexpr std::uint8_t kAutoRunOn = 0x79;
inline constexpr std::uint8_t kLoopPlayback = 0x01;

} // namespace treadkey
