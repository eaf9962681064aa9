// genWireframe: one model as a slowly turning wireframe seen by a fixed
// camera of the type's own, in a colour whose red, green and blue pulse on
// sines of the demo clock and whose alpha flickers at random.
//
// The camera and the model are shared by every genWireframe section: each
// section's init loads its model over the previous one, so all of them draw
// the model loaded last.
#pragma once

#include "core/section_reads.h"

enum { WIREFRAME_PARAMS = 13 };

struct wireframe_colour {
    float r, g, b, a;
};

// The line colour at demo time T from params 1..11; `flicker` is the frame's
// random draw reduced to 0..99.
wireframe_colour wireframe_colour_at(const float* params, float T, int flicker);

// Back faces are culled only when params[12] is exactly 1.
int wireframe_culls(const float* params);

// Degrees about the Y axis at demo time T.
float wireframe_turn_angle(float T);

void wireframe_load();
void wireframe_init();
void wireframe_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads wireframe_reads;
