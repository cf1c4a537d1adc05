#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace treadkey {

// The low byte of a value taken as an integer (rounded half to even first); negative values give the low byte
// of their two's complement (-1 gives 0xFF, -4 gives 0xFC). Defined for every finite double.
std::uint8_t LowByte(double value);

// The low 16 bits of a value taken as an integer, two's complement for negatives (-5 gives 0xFFFB).
std::uint16_t Low16Bits(double value);

// The value of one hex digit, either case ('a' and 'A' are 10); nothing for any other character.
std::optional<int> HexDigitValue(char c);

// The two-digit hex rule of every frame byte: the low byte as two upper-case hex digits ("3A", "FC", "00").
std::string TwoDigitHex(double value);

} // namespace treadkey
