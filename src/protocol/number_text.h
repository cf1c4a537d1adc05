#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace treadkey {

// The number at the start of a text, as the slot box and the delay box are read: leading blanks, an optional
// sign, decimal digits and an optional decimal fraction ("12abc" is 12, "" is 0, "0.4" is 0.4, "+.5" is 0.5).
// Reading stops at the first character that cannot continue the number; exponents are not read ("1e9" is 1).
// A number beyond the range of double saturates at +/-DBL_MAX, so the result is always finite.
double ReadLeadingNumber(std::string_view text);

// Nearest integer, a half going to the even neighbour (12.5 gives 12, 13.5 gives 14). Finite in, finite out.
double RoundHalfEven(double value);

// Shortest decimal text that reads back as the same number: "3", "0", "2.5", "-3", "1e+20".
std::string ShortestDecimalText(double value);

// The number rounded to 15 significant digits and written without an exponent, as a log line shows a number a
// user typed: "100000", "0.0001", "2.5", "-3".
std::string PlainDecimalText(double value);

// A number written in decimal digits only (no sign, blank or fraction) from lowest to highest, as the command
// lines and profiles take whole numbers.
std::optional<int> ParseWholeNumber(std::string_view text, int lowest, int highest);

} // namespace treadkey
