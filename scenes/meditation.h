// meditation: a sphere-mapped cairn in a swirl of five faint copies of a
// cloud sky, wrapped in spinning clusters of flare quads and rings in a
// flickering colour; a small flare cluster at each of 999 scattered points
// and 1000 additive billboards around it all. It runs on the global demo
// clock, so every "meditation" section shows the same picture at the same
// demo time.
//
// Random draws: at load, three pairs (sign, magnitude) per particle, z then
// y then x; every frame 3 + 3 * 999, three per flicker colour (g, b, a).
//
// Leaves behind: blending off with (GL_ONE, GL_ONE), depth test on, the
// colour (0, 0, 0, 0) of the last billboard, the flare sprite bound
// (replace), the modelview current.
#pragma once

#include "core/section_reads.h"

#include "effects/particles.h"
#include "scenes/redsun.h"

enum {
    MEDITATION_PARTICLES = 1000,
    MEDITATION_FLARES = 6,
    MEDITATION_CIRCLES = 3,
};

extern const char* const MEDITATION_MODEL_DIR;
extern const char* const MEDITATION_MODEL_FILE;
extern const char* const MEDITATION_SKY_IMAGE;
extern const char* const MEDITATION_FLARE_IMAGE;
extern const char* const MEDITATION_REFLECTION_IMAGE;
extern const char* const MEDITATION_CIRCLE_IMAGE;

// A flare cluster turns through the same six rotations as the red sun's
// flares (redsun_rotations), but accumulates them: each quad is drawn after
// all the turns before it.
typedef redsun_rotation meditation_rotation;
static_assert(static_cast<int>(MEDITATION_FLARES) == static_cast<int>(REDSUN_FLARES),
              "one table of flare turns");

// The products of T the frame's colours and turns use, formed once.
struct meditation_clock {
    float t10, t30, t20, t800;
};

meditation_clock meditation_clock_at(float T);
// The flicker colour from the frame's products and three draws 0..99 (for
// green, blue and alpha).
void meditation_flicker(const meditation_clock& c, int rho_g, int rho_b, int rho_a, float out[4]);
// One scattered coordinate from a sign draw (0 or 1) and a magnitude draw
// (0..999): m * 0.1 * sin((-1)^s).
float meditation_coordinate(int sign, int magnitude);
// Draws the positions of every particle of `system` (z, y, x, each a sign
// then a magnitude), marks them alive with texture slot 0.
void meditation_scatter(particle_system* system);
// The three accumulating turns of the ring cluster.
void meditation_circle_rotations(float a, meditation_rotation out[MEDITATION_CIRCLES]);
// Particle k's turn about (1, -0.5, 0.75) and its cluster's angle argument.
float meditation_particle_turn(int k, float T);
float meditation_particle_cluster(int k, float T);

void meditation_load();
void meditation_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads meditation_reads;
