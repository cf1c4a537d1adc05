#pragma once

#include "editor/frame_sequences.h"
#include "editor/key_combo.h"

#include <cstddef>
#include <string>

namespace treadkey {

// One command text to send, after a pause.
using PlannedFrame = PacedFrame;
using FramePlan = FrameSequence;

// The frames of each write, as the window sends them for the same action.

// A click on a key: key frame, key delay, single output, 50 ms apart. The delay frame leaves auto-run on and
// loop playback.
FramePlan KeyPlan(int slot, const KeyCombo& combo, int delay, bool singleOutput);
// The key frame alone: both settings words stay as they are.
FramePlan KeyOnlyPlan(int slot, const KeyCombo& combo);
// A click on a mouse button: its frame alone.
FramePlan MousePlan(int slot, std::size_t mouseButton);
// A playback option or the auto-run toggle: the playback word, with a delay of 0.
FramePlan PlaybackPlan(bool autoRun, bool loop);
// Clearing every slot: the 32 clear frames back to back.
FramePlan ClearAllPlan();
// A command text as typed.
FramePlan RawPlan(const std::string& text);

} // namespace treadkey
