// redsun: six spinning flare quads at the origin, tinted by a colour whose
// red, green and blue swing on sines and whose alpha flickers at random,
// under a camera that follows the section's first spline.
//
// Params (the first is not read):
//   1..3   red   = p1 + p2 * sin(T * p3)
//   4..6   green = p4 + p5 * sin(T * p6)
//   7..9   blue  = p7 + p8 * sin(T * p9)
//   10, 11 alpha = p10 + rho * p11 * 0.01, rho = rand() % 100 once a frame
// Spline 1: the camera (position, pitch yaw twist, target), at local time.
// The view is applied before the spline moves the camera, so a placement
// shows from the next frame on.
//
// Leaves behind: blending off with (GL_SRC_ALPHA, GL_ONE), the flare bound
// (modulate), the colour of the frame, the modelview current; depth state
// untouched.
#pragma once

#include "core/section_reads.h"

enum { REDSUN_FLARES = 6 };

extern const char* const REDSUN_FLARE_IMAGE;

struct redsun_rotation {
    float angle;    // degrees
    float axis[3];
};

// The colour at local time T with the frame's random draw rho (0..99).
void redsun_colour(const float* params, float T, int rho, float colour[4]);
// The six flares' rotations at local time T, in drawing order.
void redsun_rotations(float T, redsun_rotation out[REDSUN_FLARES]);

void redsun_load();
// Checks that the section has its twelve params and its camera spline.
void redsun_init();
void redsun_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads redsun_reads;
