// efxFader: covers the whole picture with one flat colour that moves linearly
// from a start colour (r g b a) to an end colour
// over the section's span, blended with ordinary alpha over what the lower
// layers drew. Fades to and from black or white, flashes, tints.
//
// Leaves behind: blending off, texturing on, depth test on, the projection
// matrix as the current matrix mode, the fade colour as the current colour.
#pragma once

#include "core/section_reads.h"

struct fader_colour {
    float r, g, b, a;
};

// Its params, by the names its declaration binds.
struct fader_values {
    float from[4];  // r g b a at the section's start
    float to[4];    // and at its end
};

// The colour at `demo_time` of a section running from `start` to `end`.
// Not clamped: a time past `end` extrapolates.
fader_colour fader_colour_at(const fader_values& v, float start, float end, float demo_time);

void fader_load();
void fader_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads fader_reads;
