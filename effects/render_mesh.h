// efxRenderMesh: video feedback through a warp grid. Every frame the picture
// is copied into the section's feedback texture and drawn back through a
// 20 x 20 grid of deformed texture coordinates, with the previous frame's
// copy added too, so the picture drifts, zooms, swirls or ripples over
// successive frames.
//
// Params: 0 the warp mode (0..6; anything else leaves the grid undeformed);
// 1, 2 the alpha at the section's start and end; 3: 0 clears the frame before
// the warped copy is drawn, anything else draws it over the frame and copies
// the result again.
//
// Leaves behind: blending off with (GL_SRC_ALPHA, GL_ONE) as the blend
// factors, depth test OFF, texturing on with the feedback texture bound
// (modulate), the projection matrix as the current matrix mode.
#pragma once

#include "core/section_reads.h"

enum {
    RENDER_MESH_CELLS = 20,
    RENDER_MESH_POINTS = RENDER_MESH_CELLS + 1,
    RENDER_MESH_MODES = 7,
};

// Texture coordinate (u, v) of grid point [x][y].
typedef double render_mesh_grid[RENDER_MESH_POINTS][RENDER_MESH_POINTS][2];

struct render_mesh_instance {
    int warp_mode;      // -1 for a mode outside 0..6: no deformation
    int feedback_texture;
    render_mesh_grid grid;
    int has_previous;   // 0 until the first render has copied a frame
};

// Its params, by the names its declaration binds.
struct render_mesh_values {
    float mode;    // the warp, read as the section is set up
    float alpha0;  // alpha of the fed-back copy at the section's start
    float alpha1;  // and at its end
    float add;     // 0: only the warped copy is shown; else added over the picture
};

// The mode param truncated toward zero, or -1 when that is not a mode.
int render_mesh_mode(float param);

// Fills `grid` for warp mode `mode` at local time t. The grid is built from
// the identity every frame; deformation builds up only through the feedback.
void render_mesh_warp(int mode, double t, render_mesh_grid grid);

// Alpha at local time t, from alpha0 at the start to alpha1 at the end.
float render_mesh_alpha(const render_mesh_values& v, float t, float duration);

void render_mesh_init();
void render_mesh_render();
// The frames its picture still shows: from the fade of its highest alpha
// (alpha twice over when the warped copy is added, once through the copy and
// once through the grid), all of them while a track drives one.
int render_mesh_history(const struct section* s);
// Where that history lives: the feedback texture (has_previous is set by
// the section's first render, so it stands as the run has it after any).
int render_mesh_history_textures(const struct section* s, int* textures);

// What its sections carry: the declaration the section type table points at.
extern const section_reads render_mesh_reads;
