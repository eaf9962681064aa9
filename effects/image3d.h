// gen3Dimage: one picture as a flat quad in the 3-D view the sections before
// it set up, placed and scaled by the script, added over the frame with an
// alpha that moves from a start to an end value over the section's span.
// One pixel of the picture is one unit before scaling.
//
// String 0: the picture. Params: the scale in x and y, the position, the
// alpha at the start and at the end, all read every frame.
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

// Its params, by the names its declaration binds.
struct image3d_values {
    float scale_x, scale_y;
    float x, y, z;
    float alpha0, alpha1;
};

// The alpha at local time t of a span `duration`, from alpha0 to alpha1;
// not clamped.
float image3d_alpha(const image3d_values& v, float t, float duration);

void image3d_init();
void image3d_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads image3d_reads;
