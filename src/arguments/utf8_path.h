#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace treadkey {

// Paths to and from the UTF-8 text that arguments, the environment and messages carry. A path made from a
// plain string takes the C library's locale on Windows, which keeps only Latin-1 whole: a folder named in
// Chinese would become another folder.
std::filesystem::path PathOfUtf8(std::string_view text);
std::string Utf8OfPath(const std::filesystem::path& path);

} // namespace treadkey
