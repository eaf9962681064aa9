// logofinal: the closing logo. A frame model turns about the vertical in
// front of a letter model that stands still, both sphere-mapped with the
// logo picture, then added over themselves once more at 7 % with a mirror
// of the frame drawn so far; five faint skybox layers rotate behind while
// the camera rises and backs away.
//
// The scene clock u = demo_time - start is kept from frame to frame: the
// camera of a frame stands where the previous frame's clock puts it (a
// later logofinal section starts from the last clock of the earlier one).
//
// The mirror texture is the scene's own: just before the blended pass the
// render target (five sky layers and the first logo pass) is copied into a
// mipmapped, modulated texture, so the frame copy the presentation uses
// keeps its own options.
//
// Leaves behind: blending off with (GL_SRC_ALPHA, GL_ONE), depth test on,
// the mirror texture bound (modulate), the colour (1, 1, 1, 0.07), the
// modelview current with the camera's view scaled by 0.7.
#pragma once

#include "core/section_reads.h"

extern const char* const LOGOFINAL_SKYBOX_IMAGE;
extern const char* const LOGOFINAL_MODEL_DIR;
extern const char* const LOGOFINAL_FRAME_FILE;
extern const char* const LOGOFINAL_LETTER_FILE;
extern const char* const LOGOFINAL_LOGO_IMAGE;

// The camera of a frame, from the clock the previous frame left:
// (0, -10 u, 30 u + 300).
void logofinal_camera_position(float previous_clock, float out[3]);
// The frame model's turn about (0, 1, 0) at clock u: 160 - 20 u degrees.
float logofinal_frame_turn(float u);

// The mirror texture's side lengths: the largest powers of two that fit in
// the render target (and the window), so the copy needs no rescaling and its
// mipmaps are exact halvings. `*x`, `*y` are where the centred copy starts.
void logofinal_mirror_size(int target_width, int target_height, int window_width,
                           int window_height, int* width, int* height, int* x, int* y);

// The scene clock as the last frame left it (0 before any frame).
float logofinal_clock();

void logofinal_load();
void logofinal_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads logofinal_reads;
