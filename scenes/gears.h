// gears: a small clockwork of ten wheels from three gear models turning
// about the origin at their tooth ratios, drawn additively with a
// sphere-mapped picture while the camera flies along the section's first
// spline (position, pitch yaw twist, target) at its local time.
//
// The wheels: four of gear 1 (40 teeth) on the faces of a cube, two at
// y = -0.2 and +0.2 turning about Y, two at z = +0.2 and -0.2 turning about
// Z, neighbours half a tooth apart; and on each side (x = +0.2, then the
// same train turned 180 degrees about Y) two of gear 2 (15 teeth) driven by
// the upright wheels and one of gear 3 (10 teeth) between them. With
// a = 30 degrees per second the wheels turn at a, a * 40 / 15 and
// a * 40 / 10.
//
// Leaves behind: blending off with (GL_SRC_ALPHA, GL_ONE), the colour opaque
// white (or the debug marker's blue), the gear picture bound, the modelview
// current; depth test, depth writes and culling as they stood.
#pragma once

#include "core/section_reads.h"

enum { GEARS_MODELS = 3, GEARS_WHEELS = 10 };

extern const char* const GEARS_MODEL_DIR;
extern const char* const GEARS_MODEL_FILES[GEARS_MODELS];
extern const char* const GEARS_TEXTURE;

struct gears_rotation {
    float angle;    // degrees
    float axis[3];  // all zero: no rotation
};

// One wheel: which model (0..2), then the transforms in the order they are
// applied: a turn of `turn` degrees about Y (the second side train), the
// translation, the two rotations.
struct gears_wheel {
    int model;
    float turn;
    float translate[3];
    gears_rotation first;
    gears_rotation second;
};

// The clockwork's base angle at local time t: t * 30 degrees.
float gears_angle(float t);
// The ten wheels at local time t, in drawing order: the four gear-1 wheels,
// then the side train (gear 2, gear 2, gear 3) unturned and turned.
void gears_wheels(float t, gears_wheel out[GEARS_WHEELS]);

void gears_load();
void gears_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads gears_reads;
