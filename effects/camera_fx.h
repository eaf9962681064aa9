// genCamera: a perspective camera that sets the frame's projection and view,
// moved along the section's spline (or flown by the free camera), and stored
// in current_camera for the sections drawn after it in the frame.
#pragma once

#include "core/section_reads.h"

#include "resources/spline.h"

struct camera;

// Its params, by the names its declaration binds; read as the section is
// set up.
struct camera_fx_values {
    float fov;  // vertical field of view, degrees
    float near_clip, far_clip;
};

// Places a camera as a camera spline's nine values give it: position, then
// pitch, yaw and twist, then the target.
void camera_fx_from_values(camera* c, const float values[SPLINE_CHANNELS]);

// The camera a section starts with: look-at from (3, 3, 3) to the origin,
// the section's field of view, near and far, the display's aspect.
void camera_fx_setup(camera* c, const camera_fx_values& v, float aspect);

void camera_fx_init();
void camera_fx_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads camera_fx_reads;
