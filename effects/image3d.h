// gen3Dimage: one picture as a flat quad in the 3-D view the sections before
// it set up, placed and scaled by the script, added over the frame with an
// alpha that moves from a start to an end value over the section's span.
// One pixel of the picture is one unit before scaling.
//
// String 0: the picture. Params: 0, 1 scale in x and y; 2..4 position;
// 5 alpha at the start; 6 alpha at the end.
//
// Leaves behind: blending off with (GL_SRC_ALPHA, GL_ONE) as the blend
// factors, depth test on, the picture bound (replace), the colour
// (0, 0, 0, alpha), the modelview as the current matrix mode.
#pragma once

#include "core/section_reads.h"

#include "effects/quads.h"

struct image3d_instance {
    int image;            // texture index
    textured_quad quad;   // the picture's size in pixels, centred on the origin
};

// The alpha at local time t of a span `duration`, from params[5] to
// params[6]; not clamped.
float image3d_alpha(const float* params, float t, float duration);

void image3d_init();
void image3d_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads image3d_reads;
