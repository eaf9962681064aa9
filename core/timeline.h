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

// Empties both lists (tests).
void timeline_reset();
