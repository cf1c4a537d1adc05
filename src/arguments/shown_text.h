#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace treadkey {

// The most characters of one piece of user text an error message shows.
inline constexpr std::size_t kMostShownCharacters = 60;

// User text as a message may show it: control characters (C0, DEL, C1) and bytes that are not UTF-8 are
// written as escapes (\n, \t, \r, \xNN), so that nothing typed moves the cursor, colours the terminal or
// splits the one line of a message; text longer than kMostShownCharacters is cut and ends in "...". Takes
// time in proportion to what it shows, never to the whole text.
std::string ShownText(std::string_view text);

// User text as ShownText shows it, in double quotes: a name or a profile's field as typed.
std::string DoubleQuoted(std::string_view text);

// A file name as a message shows it: as ShownText, and an empty name as '', which would otherwise vanish.
std::string ShownFileName(std::string_view name);

} // namespace treadkey
