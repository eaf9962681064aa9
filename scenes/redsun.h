// redsun: six spinning flare quads at the origin, tinted by a colour whose
// red, green and blue swing on sines and whose alpha flickers at random,
// under a camera that follows the section's first spline.
//
// Params (the first is not read): red, green and blue each a base, an
// amplitude and a rate, c = base + amplitude * sin(T * rate); the alpha and
// its flicker, alpha + rho * flicker * 0.01, rho = rand() % 100 once a frame.
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

// A channel swinging on a sine of the section's time.
struct redsun_wave {
    float base, amplitude, rate;
};

// Its params, by the names its declaration binds; all read every frame.
struct redsun_values {
    float unused;
    redsun_wave channels[3];  // red, green, blue
    float alpha, alpha_flicker;
};

// The colour at local time T with the frame's random draw rho (0..99).
void redsun_colour(const redsun_values& v, float T, int rho, float colour[4]);
// The six flares' rotations at local time T, in drawing order.
void redsun_rotations(float T, redsun_rotation out[REDSUN_FLARES]);

void redsun_load();
void redsun_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads redsun_reads;
