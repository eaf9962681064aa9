// paranoia: a spiked ball built up face by face over the section, as a
// cloud of points and as a sphere-mapped surface, both added to the
// picture, while it turns by a quadratic angle, the camera drifts and five
// faint skybox layers rotate behind it. Reads the section's start and end:
// t = demo_time - start, D = end - start.
//
// Leaves behind: blending off with (GL_SRC_ALPHA, GL_ONE), polygon mode
// fill, texturing on with the paranoia picture bound (modulate), colour
// (1, 1, 1, 0.5), point size 2, the modelview of the camera scaled by 0.03,
// depth as found.
#pragma once

#include "core/section_reads.h"

extern const char* const PARANOIA_SKY_IMAGE;
extern const char* const PARANOIA_MODEL_DIR;
extern const char* const PARANOIA_MODEL_FILE;
extern const char* const PARANOIA_IMAGE;

// Degrees the model has turned about (0.7, 1, 0) at t: t * t * 0.5.
float paranoia_turn_angle(float t);
// Where the camera drifts to at t: (20 - t/10, t/10, 50 - t/10).
void paranoia_camera_position(float t, float out[3]);

void paranoia_load();
void paranoia_start();
void paranoia_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads paranoia_reads;
