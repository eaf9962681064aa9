// gen3DS: four models from model files, lit with their own materials, stacked
// in one place and spinning against each other at three constant rates,
// optionally placed and animated by the section's spline.
//
// The object transform defined here (scale, three axis rotations, translation
// from the nine spline channels) is shared with genEnvironment.
#pragma once

#include "core/section_reads.h"

#include "resources/spline.h"

struct section;

enum { GEN3DS_MODELS = 4, GEN3DS_SPINS = 3 };

// An object's placement as a spline gives it: channels 1-3 scale, 4-6
// degrees about X, Y and Z, 7-9 translation.
struct object_transform {
    float scale[3];
    float angles[3];
    float position[3];
};

object_transform object_transform_from_values(const float values[SPLINE_CHANNELS]);

// The column-major 4x4 matrix the transform multiplies onto the modelview:
// scale, then rotations about X, Y, Z, then translation, each applied to the
// right of the previous one as the GL matrix calls compose them.
void object_transform_matrix(const object_transform& t, float out[16]);

// Multiplies the transform onto the current GL matrix.
void object_transform_apply(const object_transform& t);

// Whether a section's spline moves its object: only with exactly one spline.
int section_has_object_spline(const section* s);

// Applies the object transform of the section's spline k at time `t`.
void section_apply_spline_transform(const section* s, int k, float t);

// One spin between two consecutive models: degrees per second and axis.
struct gen3ds_spin {
    float rate;
    float axis[3];
};
extern const gen3ds_spin gen3ds_spins[GEN3DS_SPINS];

// The three extra rotations (degrees) at local time t; model n + 1 turns by
// the first n of them.
void gen3ds_spin_angles(float t, float out[GEN3DS_SPINS]);

void gen3ds_init();
void gen3ds_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads gen3ds_reads;
