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

// Whether the show has ended after the frame just drawn: no section is left
// to start or to draw, or demoend is reached (see clock_reached).
int timeline_ended();

// Requests quit when the show has ended.
void timeline_check_end();

// One whole frame: start, prepare, render, present, overlay, sink, swap.
void draw_frame();

// Openings. timeline_rewind puts the clock at demostart (clock_start) and,
// when the frame there depends on frames before it, moves demostart back to
// the first of them: on the fixed step one frame before, so the render state
// the sections find is the one the run leaves them, and further back into
// every running section whose type has history, as many frames as its
// pictures show (from its start, itself one frame early, when that is
// nearer). The loading phase then loads from there, and timeline_catch_up
// draws the frames up to the one asked for without showing them and puts
// demostart back. The first frame shown is then the one the show's run from
// its origin draws at that moment. The cost is bounded by the sections
// running there: the longest history among them, else one frame. In real
// time only a section with history is drawn back, on the nominal grid and
// for TIMELINE_LOOK_FRAMES at most, so its picture goes on as it looked.
//
// TIMELINE_LOOK asks the fixed step for that short look back too: a first
// picture at once, which goes on as the run looked but may differ from its
// frame in the fed-back pictures.
//
// Where the program lends a cache of fed-back pictures (feedback_snapshot),
// an opening on the fixed step that finds them kept for a frame k before
// the one asked for opens at k instead, puts them back after drawing k and
// is exact: when that draws fewer frames than the exact replay, and, for
// TIMELINE_LOOK, no more than the look back.
enum timeline_reach { TIMELINE_EXACT, TIMELINE_LOOK };
// Returns 1 when the frame the opening will show is exactly the run's (never
// in real time); timeline_opened_exactly tells it again later.
int timeline_rewind(timeline_reach reach);
int timeline_opened_exactly();
// Draws at most `most` of the frames still to draw (all of them in real
// time); 1 once none is left. Between two calls the clock stands at the
// frame asked for, as after the last one, so the replay can be drawn in
// parts while the program shows something else.
int timeline_catch_up(int most);
// The grid frame from which an opening at grid frame `frame` draws, drawing
// no section's history further back than `most` frames.
int timeline_replay_start(int frame, int most);

// How many earlier frames a real-time opening (or a first picture) draws for
// a picture fed back at most: what is older has faded below what the eye
// tells apart (in the default show's meshes a picture from two frames back
// differs from the run's by at most 8 levels, from four by 3), and each of
// them costs a whole frame of the sections under the feedback.
enum { TIMELINE_LOOK_FRAMES = 2 };

// Empties both lists (tests).
void timeline_reset();
