// Offline runs: --capture renders every frame of the show on a fixed-step
// clock into numbered PNG files (and the soundtrack into a WAV file), --video
// into one video file, --bench plays it on the same clock and times every section's render, every frame
// and every loading step. Both are deterministic in what they draw.
//
// main calls, in this order: offline_prepare (before changing into the show
// folder, so paths are the user's), offline_begin (after the script and the
// command line have set the settings), start_up, offline_loaded, main_loop,
// offline_end, then releases the show and shuts down. A bench run with
// --passes N calls main_loop again while offline_next_pass says so.
#pragma once

struct cmdline;

void offline_prepare(const cmdline* options);
void offline_begin();
void offline_loaded();
// Finishes the files and reports; the exit status: 0, or 128 + the signal
// that stopped the run, so a calling script sees it.
int offline_end();
// After main_loop: in a soak run (--bench --passes N), records the resident
// memory of the pass that ended and, unless it was the last, puts every
// section that was scheduled after loading back on the timeline, restarts
// the clock at demostart and returns 1 (resources stay loaded). 0 otherwise.
int offline_next_pass();
