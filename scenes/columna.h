// columna: a column turning ever faster about a tilted axis, drawn twice
// with sphere-mapped reflections, in front of five faint skybox layers that
// rotate with time. Reads the section's start only: t = demo_time - start.
//
// The second reflection is the previous frame itself: after each frame the
// scene copies the middle of the render target into a texture of its own
// (mipmapped, modulate), which the next frame's second pass maps onto the
// column. The frame copy that the presentation uses is never touched.
//
// Leaves behind: blending off with (GL_SRC_ALPHA, GL_SRC_ALPHA), texturing
// on with the feedback texture bound (modulate), colour (1, 1, 1, 0.4), the
// modelview of the camera scaled by 0.2, depth as found.
#pragma once

#include "core/section_reads.h"

extern const char* const COLUMNA_SKY_IMAGE;
extern const char* const COLUMNA_MODEL_DIR;
extern const char* const COLUMNA_MODEL_FILE;
extern const char* const COLUMNA_REFLECTION_IMAGE;

// The spin after one more frame at t: it grows by t * 0.1 every frame, so it
// speeds up with t (and with the frame rate). A section starts it at -30.
float columna_spin_step(float spin, float t);
enum { COLUMNA_SPIN_START = -30 };

// The square of the render target copied for the next frame's second pass:
// the largest power of two that fits both the target and the window,
// centred on the target.
struct columna_feedback {
    int size;
    int x, y;  // lower-left corner in the render target
};
columna_feedback columna_feedback_region(int target_w, int target_h, int window_w, int window_h);

// The texture the second pass binds (the feedback copy), -1 before load.
int columna_second_texture();

void columna_load();
void columna_start();
void columna_render();
// One frame of the column's spin, undrawn.
void columna_advance();
// The frames its picture still shows. The previous frame reaches it only
// through the column, at 0.4 and shrunk, averaged over the mipmaps, so a
// difference in it fades within a few frames: an opening from an empty
// reflection matched the run after 5 frames at most; twice that and a little.
enum { COLUMNA_HISTORY_FRAMES = 12 };
int columna_history(const struct section* s);
// Where that history lives: the mipmapped copy the second pass binds.
int columna_history_textures(const struct section* s, int* textures);

// What its sections carry: the declaration the section type table points at.
extern const section_reads columna_reads;
