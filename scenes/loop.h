// loop: a loop-shaped model drawn twice additively, once with a gold and
// once with a second reflection picture (both sphere-mapped), turning with
// a quadratic angle while the camera's angles sweep and five faint skybox
// layers rotate behind it. It reads only the section's start: every frame
// is a function of t = demo_time - start.
//
// Leaves behind: blending off with (GL_SRC_ALPHA, GL_ONE), the second
// picture bound (modulate), the colour (1, 1, 1, 0.2), the modelview current
// as the camera left it; depth state untouched.
#pragma once

#include "core/section_reads.h"

extern const char* const LOOP_SKYBOX_IMAGE;
extern const char* const LOOP_MODEL_DIR;
extern const char* const LOOP_MODEL_FILE;
extern const char* const LOOP_GOLD_IMAGE;
extern const char* const LOOP_SECOND_IMAGE;

struct loop_frame {
    float pitch, yaw, twist;   // camera angles, degrees
    float turn;                // the model's turn about (0.7, 1, 0), degrees
};

// t * t * 0.5 - 30: -30 at the start, 0 at t = sqrt(60).
float loop_turn_angle(float t);
// The camera angles (t * -10, t + 50, t * 50) and the turn angle at t.
loop_frame loop_frame_at(float t);

void loop_load();
void loop_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads loop_reads;
