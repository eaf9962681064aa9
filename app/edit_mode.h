// Edit mode (--edit): the show plays in a window and follows the author's
// edits. Every file it reads is watched; a change opens the show again at the
// same moment, as a fresh run started there would open it; a broken save
// leaves the last good show playing and shows its error in the window. The
// keys and the control channel pause, seek, step, loop and reload.
#pragma once

struct cmdline;

// Before changing into the show folder: opens the control channel, so its
// path is the user's. A channel that cannot be opened is fatal.
void edit_prepare(const cmdline* options);

// Runs edit mode on the show in the current folder until quit; returns the
// process's exit status.
int edit_run(const cmdline* options);

// Where a seek lands: `t` clamped to the show, from `start` to just before
// `end` (where nothing would be left to play).
float edit_clamp_time(float t, float start, float end);
