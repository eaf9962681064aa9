// flare: the frame's numbers, then three additive quads, each tilted, spun
// and scaled about the shared tumble.
#include "scenes/flare.h"

#include <GL/gl.h>

#include "core/clock.h"
#include "core/fatal.h"
#include "core/section.h"
#include "effects/quads.h"
#include "platform/video.h"
#include "resources/camera.h"
#include "resources/texture.h"

const char* const FLARE_IMAGE = "data/textures/flare.jpg";

static int flare_texture = -1;
static camera* flare_camera = nullptr;
static textured_quad flare_quad;

float flare_alpha(float t, float duration) {
    return duration != 0 ? 0.5f - t * 0.5f / duration : 0.0f;
}

flare_frame flare_frame_at(float t, float duration) {
    flare_frame f;
    f.camera_z = t + 20;
    f.alpha = flare_alpha(t, duration);
    f.tumble = t * 30;
    f.tilt = -80 - t;
    f.spin = t * 50;
    f.scale = t * t * 0.1f + 0.1f;
    return f;
}

void flare_load() {
    flare_texture = texture_load(FLARE_IMAGE);
    if (flare_texture < 0) fatal_error("flare: Error loading texture %s", FLARE_IMAGE);
    texture_set_options(flare_texture, TEXTURE_LINEAR);
    texture_upload(flare_texture);
    flare_camera = camera_create(CAMERA_LOOK_AT_MODE);
    camera_set_position(flare_camera, 0, 0, -1);
    camera_set_target(flare_camera, 0, 0, 0);
    camera_set_perspective(flare_camera, 90, aspect_ratio);
    camera_set_roll(flare_camera, 0);
    flare_camera->far_clip = 1000;
}

void flare_start() { quad_init(&flare_quad, flare_texture, 512, 256); }

void flare_render() {
    current_camera = flare_camera;
    const section& s = *current_section;
    flare_frame f = flare_frame_at(demo_time - s.start, s.end - s.start);
    camera_set_target(flare_camera, 0, 0, 0);
    camera_set_position(flare_camera, 0, 0, f.camera_z);
    camera_apply_projection(flare_camera);
    camera_apply_view(flare_camera);
    glColor4f(1, 1, 1, f.alpha);
    glRotatef(f.tumble, 1, 2, 3);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    // Tilt axis and spin direction of each copy.
    const float copies[FLARE_COPIES][4] = {{1, 0, 0, -1}, {1, 1, 0, 1}, {1, -1, 0, 1}};
    for (const float* c : copies) {
        glPushMatrix();
        glRotatef(f.tilt, c[0], c[1], c[2]);
        glRotatef(f.spin, 0, 0, c[3]);
        glScalef(f.scale, f.scale, f.scale);
        quad_draw(&flare_quad);
        glPopMatrix();
    }
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

const section_reads flare_reads = {
    "three copies of a lens flare tumbling and growing, fading out by the section's end",
    {{}, {}, {}, {}},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
