// thelake: a rippling lake seen from a low camera, a sky strip across the
// top of the picture, and a rain of sprites that falls from a spline path
// and vanishes where it meets the water.
//
// The water is a 61 x 101 grid whose heights follow two travelling sine
// waves of the demo clock. It is drawn twice: first with the rain seen from
// above (copied from the frame into the reflection texture) on rippling
// texture coordinates, then with the mirror picture added on top.
//
// String 0: the rain sprite. Params: 0 emission rate (particles per second;
// the pool holds duration x rate), 1 sprite half edge, 2..4 colour r g b.
// Spline 0: the path the rain falls from (first three channels). Fixed
// pictures: "data/thelake/mirror.jpg", "data/thelake/cielo.jpg".
//
// The frame is cleared once the reflection is taken, so no lower layer
// shows through. Leaves behind: blending off with (GL_SRC_ALPHA, GL_ONE),
// depth test on, depth writes on, texturing on, the modelview current.
#pragma once

#include "core/section_reads.h"

#include "effects/particles.h"
#include "effects/pathway.h"

enum {
    LAKE_ROWS = 61,
    LAKE_COLUMNS = 101,
};

struct lake_vertex {
    float position[3];
    float base[2];     // (u, v) of the mirror picture, fixed
    float ripple[2];   // base plus this frame's ripple, for the reflection
};

struct lake_grid {
    lake_vertex vertices[LAKE_ROWS * LAKE_COLUMNS];  // row after row
};

// The flat grid: x = 12 j - 600, z = r * 500 / 60 - 250, base (j / 100,
// 1 - r / 60), heights 0, ripple = base.
void lake_grid_build(lake_grid* grid);

// Heights and ripple coordinates at demo time T, in double precision.
void lake_wave(lake_grid* grid, float T);
// The height the wave gives row r, column j at demo time T.
double lake_height(int r, int j, float T);

// Every particle at the origin in colour (r, g, b, 1), dead, life
// PATHWAY_LIFE, at rest, falling with its own constant acceleration
// (0, -(draw % 100) * 0.005, 0).
void lake_rain_fill(particle_system* system, float r, float g, float b);
// Kills every alive particle below the water (y < 0); returns how many.
int lake_rain_sink(particle_system* system);

void thelake_load();
void thelake_init();
void thelake_render();
// A frame of the rain's motion (both of the frame's passes), undrawn.
void thelake_advance();

// What its sections carry: the declaration the section type table points at.
extern const section_reads thelake_reads;
