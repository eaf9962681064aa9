// genCamera: each frame applies the camera as the previous frame left it,
// then moves it, so a section later in the frame that applies current_camera
// again sees the moved camera.
#include "effects/camera_fx.h"

#include "core/clock.h"
#include "core/section.h"
#include "effects/quads.h"
#include "platform/video.h"
#include "resources/camera.h"
#include "resources/free_camera.h"

void camera_fx_from_values(camera* c, const float values[SPLINE_CHANNELS]) {
    camera_set_position(c, values[0], values[1], values[2]);
    camera_set_angles(c, values[3], values[4], values[5]);
    camera_set_target(c, values[6], values[7], values[8]);
}

void camera_fx_setup(camera* c, const camera_fx_values& v, float aspect) {
    camera_set_target(c, 0, 0, 0);
    camera_set_position(c, 3, 3, 3);
    camera_set_roll(c, 0);
    camera_set_perspective(c, v.fov, aspect);
    c->near_clip = v.near_clip;
    c->far_clip = v.far_clip;
}

void camera_fx_init() {
    section& s = *current_section;
    camera* c = camera_create(CAMERA_LOOK_AT_MODE);
    camera_fx_setup(c, section_values<camera_fx_values>(s), aspect_ratio);
    s.instance_data = c;
}

void camera_fx_render() {
    const section& s = *current_section;
    camera* c = static_cast<camera*>(s.instance_data);
    current_camera = c;
    camera_apply_projection(c);
    camera_apply_view(c);
    if (s.spline_count == 1) {
        float values[SPLINE_CHANNELS];
        spline_evaluate(&s.splines[0], s.local_time, values);
        camera_fx_from_values(c, values);
    }
    free_camera_update(c, frame_delta);
    draw_debug_axes();
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

static const section_field camera_fx_params[] = {
    {"fov", "vertical field of view, degrees", nullptr, SECTION_AT_INIT, SECTION_VALUE(camera_fx_values, fov)},
    {"near", "near clipping plane", nullptr, SECTION_AT_INIT, SECTION_VALUE(camera_fx_values, near_clip)},
    {"far", "far clipping plane", nullptr, SECTION_AT_INIT, SECTION_VALUE(camera_fx_values, far_clip)},
};
static const section_field camera_fx_splines[] = {
    {"flight", "eye position, pitch, yaw, twist and target per key", "none: looks from (3, 3, 3) at the origin; with the debug setting the mouse and arrow keys fly it"},
};
const section_reads camera_fx_reads = {
    "a perspective camera for the sections drawn after it (on higher layers)",
    {SECTION_FIELDS(camera_fx_params), {}, SECTION_FIELDS(camera_fx_splines), {}},
    {{SECTION_OWN_MESSAGE, "Script: three params are needed in genCamera section, line %d"}, {}, {}, {}},
    nullptr, nullptr,
};
