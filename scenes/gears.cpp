// gears: the frame's wheel placements, then each gear model sphere-mapped
// and added under the spline camera.
#include "scenes/gears.h"

#include <GL/gl.h>
#include <string>

#include "core/clock.h"
#include "core/fatal.h"
#include "core/section.h"
#include "effects/quads.h"
#include "platform/video.h"
#include "resources/camera.h"
#include "resources/free_camera.h"
#include "resources/model.h"
#include "resources/model_draw.h"
#include "resources/spline.h"
#include "resources/texture.h"

const char* const GEARS_MODEL_DIR = "data/gears/models/";
const char* const GEARS_MODEL_FILES[GEARS_MODELS] = {"gear1.3d", "gear2.3d", "gear3.3d"};
const char* const GEARS_TEXTURE = "data/gears/textures/guitar.jpg";

static model* gears_models[GEARS_MODELS];
static int gears_texture = -1;
static camera* gears_camera = nullptr;

float gears_angle(float t) { return t * 30; }

void gears_wheels(float t, gears_wheel out[GEARS_WHEELS]) {
    float a = gears_angle(t);
    // The side wheels' ratio is written 2.66667 (40 / 15 to six figures) and
    // taken to single precision once.
    float b = static_cast<float>(static_cast<double>(a) * 2.66667);
    const gears_rotation none = {0, {0, 0, 0}};
    const gears_rotation upright = {90, {1, 0, 0}};
    const gears_rotation sideways = {90, {0, 0, 1}};
    const gears_wheel cube[4] = {
        {0, 0, {0, -0.2f, 0}, {a + 4.5f, {0, 1, 0}}, none},
        {0, 0, {0, 0.2f, 0}, {a, {0, -1, 0}}, none},
        {0, 0, {0, 0, 0.2f}, upright, {a, {0, 1, 0}}},
        {0, 0, {0, 0, -0.2f}, upright, {a + 4.5f, {0, -1, 0}}},
    };
    const gears_wheel side[3] = {
        {1, 0, {0.2f, 0.025f, 0.12f}, sideways, {b + 12, {0, 1, 0}}},
        {1, 0, {0.2f, -0.025f, -0.12f}, sideways, {b, {0, 1, 0}}},
        {2, 0, {0.2f, 0, 0}, sideways, {a * 4, {0, -1, 0}}},
    };
    int n = 0;
    for (const gears_wheel& w : cube) out[n++] = w;
    for (float turn : {0.0f, 180.0f})
        for (gears_wheel w : side) {
            w.turn = turn;
            out[n++] = w;
        }
}

void gears_load() {
    for (int i = 0; i < GEARS_MODELS; ++i) {
        gears_models[i] = model_load(GEARS_MODEL_DIR, GEARS_MODEL_FILES[i]);
        if (!gears_models[i]) fatal_error("Error loading model '%s'", GEARS_MODEL_FILES[i]);
    }
    gears_texture = texture_load(GEARS_TEXTURE);
    if (gears_texture < 0) fatal_error("gears: Error loading texture %s", GEARS_TEXTURE);
    texture_upload(gears_texture);
    gears_camera = camera_create(CAMERA_LOOK_AT_MODE);
    camera_set_perspective(gears_camera, 60, aspect_ratio);
    camera_set_roll(gears_camera, 0);
    gears_camera->near_clip = 0.01f;
    gears_camera->far_clip = 1000;
    camera_set_position(gears_camera, -0.078741f, -0.279989f, -0.046271f);
    camera_set_angles(gears_camera, 86.625f, 67.8125f, 0);
    camera_set_target(gears_camera, -0.678741f, -0.279989f, -0.052271f);
}

static void gears_rotate(const gears_rotation& r) {
    if (r.axis[0] != 0 || r.axis[1] != 0 || r.axis[2] != 0)
        glRotatef(r.angle, r.axis[0], r.axis[1], r.axis[2]);
}

void gears_render() {
    current_camera = gears_camera;
    const section& s = *current_section;
    float t = s.local_time;
    float key[SPLINE_CHANNELS];
    spline_evaluate(&s.splines[0], t, key);
    camera_set_position(gears_camera, key[0], key[1], key[2]);
    camera_set_angles(gears_camera, key[3], key[4], key[5]);
    camera_set_target(gears_camera, key[6], key[7], key[8]);
    camera_apply_projection(gears_camera);
    camera_apply_view(gears_camera);
    free_camera_update(gears_camera, frame_delta);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    // The picture replaces the colour but its alpha comes from the current
    // colour; setting it here keeps the wheels from taking the strength of
    // whatever the previous section left current.
    glColor4f(1, 1, 1, 1);
    texture_bind(gears_texture);
    gears_wheel wheels[GEARS_WHEELS];
    gears_wheels(t, wheels);
    for (const gears_wheel& w : wheels) {
        glPushMatrix();
        if (w.turn != 0) glRotatef(w.turn, 0, 1, 0);
        glTranslatef(w.translate[0], w.translate[1], w.translate[2]);
        gears_rotate(w.first);
        gears_rotate(w.second);
        model_draw_sphere_mapped(gears_models[w.model]);
        glPopMatrix();
    }
    glDisable(GL_BLEND);
    draw_debug_axes();
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

static const section_field gears_splines[] = {
    {"camera", "the camera: position, pitch yaw twist, target, at the section's own time", nullptr},
};
const section_reads gears_reads = {
    "a brass clockwork of wheels turning in mesh while the camera flies around it",
    {{}, {}, SECTION_FIELDS(gears_splines), {}},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
