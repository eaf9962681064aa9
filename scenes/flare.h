// flare: three copies of one flare picture tumbling and growing as the
// square of time while the camera backs away, the whole fading from half
// strength to nothing over the section. It reads only the section's start
// and end: every frame is a function of t = demo_time - start and the
// section's length.
//
// Leaves behind: blending off with (GL_SRC_ALPHA, GL_ONE), depth test on,
// the flare bound (replace), the colour (1, 1, 1, alpha), the modelview
// current with the tumble on it.
#pragma once

#include "core/section_reads.h"

enum { FLARE_COPIES = 3 };

extern const char* const FLARE_IMAGE;

struct flare_frame {
    float camera_z;     // the camera's distance on +Z, looking at the origin
    float alpha;        // 0.5 at the start, 0 at the end
    float tumble;       // degrees about (1, 2, 3), shared by the three copies
    float tilt;         // first rotation of each copy, degrees
    float spin;         // second rotation of each copy, degrees
    float scale;        // on all axes
};

// 0.5 - t * 0.5 / duration; a section of no length counts as wholly gone
// (the fraction t / duration is taken as 1), so its alpha is 0, never a
// division by zero.
float flare_alpha(float t, float duration);
flare_frame flare_frame_at(float t, float duration);

void flare_load();
void flare_start();
void flare_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads flare_reads;
