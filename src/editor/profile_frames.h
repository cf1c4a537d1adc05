#pragma once

#include "editor/frame_sequences.h"
#include "editor/profile.h"

namespace treadkey {

// What applying a profile writes: its slots in slot order (key, mouse or clear frame), then the one frame of
// its playback word and single output, each that it sets, 50 ms apart.
FrameSequence ProfileFrames(const Profile& profile);

} // namespace treadkey
