// lines: every frame one new random zigzag of ten points across the whole
// picture, in pink, added to what is there. It reads nothing from its section
// and keeps no state; each frame takes 21 numbers from the project's random
// sequence (the width, then x and y of each point).
//
// Leaves behind: the projection a unit orthographic square, the modelview
// identity and current, blending off, texturing on, the colour pink, the
// line width of the frame.
#pragma once

#include "core/section_reads.h"

enum { LINES_POINTS = 10 };

struct lines_strip {
    float width;                    // 3, 4 or 5 pixels
    float points[LINES_POINTS][2];  // multiples of 0.01 in 0..0.99
};

// Draws this frame's width and points from the random sequence, in order.
lines_strip lines_next_strip();

void lines_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads lines_reads;
