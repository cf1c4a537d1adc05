#pragma once

#include <string>

namespace treadkey {

// The date and time now as a result line starts with it: the user's short date and long time, as their
// locale writes them.
std::string LocalTimeStamp();

} // namespace treadkey
