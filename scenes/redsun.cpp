// redsun: the frame's colour and flare rotations, then six additive quads
// under the spline camera.
#include "scenes/redsun.h"

#include <GL/gl.h>
#include <cmath>

#include "core/clock.h"
#include "core/fatal.h"
#include "core/random.h"
#include "core/section.h"
#include "effects/quads.h"
#include "platform/video.h"
#include "resources/camera.h"
#include "resources/free_camera.h"
#include "resources/spline.h"
#include "resources/texture.h"

const char* const REDSUN_FLARE_IMAGE = "data/redsun/textures/electronicflare.jpg";

static int redsun_texture = -1;
static camera* redsun_camera = nullptr;
static textured_quad redsun_quad;

void redsun_colour(const redsun_values& v, float T, int rho, float colour[4]) {
    for (int c = 0; c < 3; ++c) {
        const redsun_wave& w = v.channels[c];
        colour[c] = static_cast<float>(w.base + w.amplitude * std::sin(static_cast<double>(T * w.rate)));
    }
    colour[3] = v.alpha + static_cast<float>(rho) * v.alpha_flicker * 0.01f;
}

void redsun_rotations(float T, redsun_rotation out[REDSUN_FLARES]) {
    float u = T * 100;
    const redsun_rotation table[REDSUN_FLARES] = {
        {u, {1, 1, 1}},
        {u, {-0.75f, 0.5f, 2}},
        {u, {-2, 0.5f, 0.75f}},
        {T * -29, {0.9f, -0.23f, 0.8f}},
        {T * -80, {-0.6f, 0.5f, 2}},
        {T * -52, {-1, 3.35f, 0.5f}},
    };
    for (int i = 0; i < REDSUN_FLARES; ++i) out[i] = table[i];
}

void redsun_load() {
    redsun_texture = texture_load(REDSUN_FLARE_IMAGE);
    if (redsun_texture < 0) fatal_error("redsun: Error loading texture %s", REDSUN_FLARE_IMAGE);
    texture_set_options(redsun_texture, TEXTURE_LINEAR | TEXTURE_MODULATE);
    texture_upload(redsun_texture);
    redsun_camera = camera_create(CAMERA_LOOK_AT_MODE);
    camera_set_perspective(redsun_camera, 60, aspect_ratio);
    camera_set_roll(redsun_camera, 0);
    redsun_camera->far_clip = 100;
    redsun_camera->near_clip = 0.01f;
    camera_set_position(redsun_camera, 1, 0, 3);
    camera_set_angles(redsun_camera, 0, 0, 0);
    camera_set_target(redsun_camera, 0, 0, 0);
    quad_init(&redsun_quad, redsun_texture, 3, 3);
}

void redsun_render() {
    current_camera = redsun_camera;
    const section& s = *current_section;
    float T = s.local_time;
    float colour[4];
    redsun_colour(section_values<redsun_values>(s), T, rand_next() % 100, colour);
    glColor4fv(colour);
    camera_apply_projection(redsun_camera);
    camera_apply_view(redsun_camera);
    float key[SPLINE_CHANNELS];
    spline_evaluate(&s.splines[0], T, key);
    camera_set_position(redsun_camera, key[0], key[1], key[2]);
    camera_set_angles(redsun_camera, key[3], key[4], key[5]);
    camera_set_target(redsun_camera, key[6], key[7], key[8]);
    free_camera_update(redsun_camera, frame_delta);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    redsun_rotation flares[REDSUN_FLARES];
    redsun_rotations(T, flares);
    for (const redsun_rotation& r : flares) {
        glPushMatrix();
        glRotatef(r.angle, r.axis[0], r.axis[1], r.axis[2]);
        quad_draw(&redsun_quad);
        glPopMatrix();
    }
    glDisable(GL_BLEND);
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

static const section_field redsun_params[] = {
    {"unused", "not read", nullptr, SECTION_AT_INIT, SECTION_VALUE(redsun_values, unused)},
    {"red", "red = p2 + p3 * sin(T * p4), T the section's own time", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(redsun_values, channels[0].base)},
    {"red_amplitude", "see red", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(redsun_values, channels[0].amplitude)},
    {"red_rate", "see red, radians per second", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(redsun_values, channels[0].rate)},
    {"green", "green = p5 + p6 * sin(T * p7)", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(redsun_values, channels[1].base)},
    {"green_amplitude", "see green", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(redsun_values, channels[1].amplitude)},
    {"green_rate", "see green", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(redsun_values, channels[1].rate)},
    {"blue", "blue = p8 + p9 * sin(T * p10)", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(redsun_values, channels[2].base)},
    {"blue_amplitude", "see blue", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(redsun_values, channels[2].amplitude)},
    {"blue_rate", "see blue", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(redsun_values, channels[2].rate)},
    {"alpha", "alpha = p11 + r * p12 / 100, r a random 0..99 each frame", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(redsun_values, alpha)},
    {"alpha_flicker", "see alpha", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(redsun_values, alpha_flicker)},
};
static const section_field redsun_splines[] = {
    {"camera", "the camera: position, pitch yaw twist, target", nullptr},
};
const section_reads redsun_reads = {
    "six spinning flares at the origin in one pulsing colour, circled by the camera",
    {SECTION_FIELDS(redsun_params), {}, SECTION_FIELDS(redsun_splines), {}},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
