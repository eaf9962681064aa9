// Show generations: one opening of the show, from reading the script to the
// end of its loading phase, and everything that opening allocated.
//
// Plain play opens the show once and keeps it to the end. A program that
// opens it again (at another time, or after its files changed) releases the
// running generation first: the section records, what the section types'
// load and init calls allocated (instance blocks, models, skyboxes, cameras,
// particle pools) and the texture slots taken after the window's own; then
// opens the next one as a fresh process would.
#pragma once

#include "show/timeline.h"

// Remembers what belongs to the window rather than to the show: the texture
// slots taken so far and the render state. Called once, after video_start.
void generation_mark();

// Releases the running generation: empties the timeline, frees the section
// list and its splines, releases every object handed over, and gives back
// the texture slots taken after the mark (textures read from files are kept
// in the texture cache for the next generation).
void generation_release();

// The program's last release, before it shuts down: the running generation,
// then every texture, the window's own and the cached ones.
void generation_end();

// The steps every opening takes once the window is up, start-up's first one
// included: the timeline rewound to demostart, the loading phase, the font,
// the frames a start inside the show draws first (timeline_catch_up). Returns
// 0 when the viewer asked to quit during loading.
int generation_load();

// Opens the show whose script has been read, at demostart, exactly as start-up
// does after the video set-up: the random sequence from its first number, the
// render state as the window had it at the mark, the clock at demostart, the
// loading phase, the font, the frames before demostart, the clock reset.
// `reach` says how far back it draws (see timeline_rewind). Returns 0 when
// the viewer asked to quit during loading.
int generation_open(timeline_reach reach);

// The same opening in two halves, for a program that shows something while
// the frames before demostart are drawn: generation_begin stops after the
// loading phase and the font (0: the viewer quit); generation_finish draws at
// most `frames` of those frames and returns 1 once the opening is complete
// (the clock reset), 0 while frames are left.
int generation_begin(timeline_reach reach);
int generation_finish(int frames);
