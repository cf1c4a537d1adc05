#pragma once

namespace treadkey {

inline constexpr int kExitDone = 0;
inline constexpr int kExitDeviceError = 1; // no pedal, a pedal that cannot be opened, a failed write
inline constexpr int kExitUsageError = 2;  // bad arguments or a faulty profile; nothing written

} // namespace treadkey
