// The timeline: pending sections ordered by start, active sections ordered by
// layer, and the per-frame dispatch that starts, renders and retires them.
#pragma once

#include "core/section.h"

extern section* pending_head;
extern section* active_head;

// Inserts `s` into the pending list before the first section whose start is
// greater than or equal to its own.
void schedule_section(section* s);

// Starts every pending section whose start has come.
void timeline_start_due();

// Renders the active sections in layer order, retiring those whose end has
// come (and calling stop when their end lies strictly in the past).
void timeline_render_active();

// Requests quit when the timeline is empty or demoend has passed.
void timeline_check_end();

// One whole frame: start, prepare, render, present, overlay, sink, swap.
void draw_frame();

// Openings on the fixed step. timeline_rewind puts the clock at demostart
// (clock_start) and, when the frame there depends on frames before it,
// moves demostart back to the first of them: one frame before, so the render
// state the sections find is the one the run leaves them, and further back
// to the start of every running section whose type has history (itself one
// frame early). The loading phase then loads from there, and
// timeline_catch_up draws the frames up to the one asked for without showing
// them and puts demostart back. The first frame shown is then the one the
// show's run from its origin draws at that moment. The cost is bounded by
// the sections running there: the longest history section's span, else one
// frame.
void timeline_rewind();
void timeline_catch_up();
// The grid frame from which an opening at grid frame `frame` draws.
int timeline_replay_start(int frame);

// How many frames back an opening draws a history section at most. The
// pictures fed back in this program fade by more than half a frame, so what
// lies further back has faded out of the eight bits of a pixel long before.
enum { TIMELINE_HISTORY_FRAMES = 48 };

// Empties both lists (tests).
void timeline_reset();
