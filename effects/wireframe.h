// genWireframe: one model as a slowly turning wireframe seen by a fixed
// camera of the type's own, in a colour whose red, green and blue pulse on
// sines of the demo clock and whose alpha flickers at random.
//
// The camera and the model are shared by every genWireframe section: each
// section's init loads its model over the previous one, so all of them draw
// the model loaded last.
#pragma once

#include "core/section_reads.h"

struct wireframe_colour {
    float r, g, b, a;
};

// A channel swinging on a sine of the demo clock: base + amplitude * sin(T * rate).
struct wireframe_wave {
    float base, amplitude, rate;
};

// Its params, by the names its declaration binds; all of them are read every
// frame.
struct wireframe_values {
    float width;  // of the lines, in pixels
    wireframe_wave red, green, blue;
    float alpha, alpha_flicker;
    float cull;
};

// The line colour at demo time T; `flicker` is the frame's random draw
// reduced to 0..99.
wireframe_colour wireframe_colour_at(const wireframe_values& v, float T, int flicker);

// Back faces are culled only when the cull param is exactly 1.
int wireframe_culls(const wireframe_values& v);

// Degrees about the Y axis at demo time T.
float wireframe_turn_angle(float T);

void wireframe_load();
void wireframe_init();
void wireframe_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads wireframe_reads;
