#pragma once

#include <filesystem>
#include <string>

namespace treadkey {

// Appends a line to the file, made when it is not there, as one write that lands whole at the end whatever
// other programs append at the same time. Opened and closed for each line so that a line is on disk as soon
// as the call returns, and so that the file may be removed or truncated between lines. False when it could
// not be written.
bool AppendLine(const std::filesystem::path& file, const std::string& line);

} // namespace treadkey
