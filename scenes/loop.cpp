// loop: the sky layers under the sweeping camera, then the model in two
// additive sphere-mapped passes.
#include "scenes/loop.h"

#include <GL/gl.h>

#include "core/clock.h"
#include "core/fatal.h"
#include "core/section.h"
#include "effects/quads.h"
#include "platform/video.h"
#include "resources/camera.h"
#include "resources/free_camera.h"
#include "resources/model_draw.h"
#include "resources/skybox.h"
#include "resources/texture.h"
#include "scenes/ring_scene.h"

static const char* const TYPE_NAME = "loop";

const char* const LOOP_SKYBOX_IMAGE = "data/skyboxes/4.jpg";
const char* const LOOP_MODEL_DIR = "data/models/";
const char* const LOOP_MODEL_FILE = "loop.3d";
const char* const LOOP_GOLD_IMAGE = "data/textures/GoldReflection2.jpg";
const char* const LOOP_SECOND_IMAGE = "data/textures/9.jpg";

static skybox* loop_sky = nullptr;
static model* loop_model = nullptr;
static int loop_gold = -1;
static int loop_second = -1;
static camera* loop_camera = nullptr;

float loop_turn_angle(float t) { return t * t * 0.5f - 30; }

loop_frame loop_frame_at(float t) { return {t * -10, t + 50, t * 50, loop_turn_angle(t)}; }

void loop_load() {
    loop_sky = ring_scene_load_skybox(TYPE_NAME, LOOP_SKYBOX_IMAGE);
    loop_model = model_load(LOOP_MODEL_DIR, LOOP_MODEL_FILE);
    // Every frame draws the model: without it the scene has nothing to show.
    if (!loop_model)
        fatal_error("%s: Error loading model %s", TYPE_NAME, model_last_error());
    model_upload_textures();
    loop_gold = ring_scene_load_texture(TYPE_NAME, LOOP_GOLD_IMAGE, TEXTURE_MODULATE, 1);
    loop_second = ring_scene_load_texture(TYPE_NAME, LOOP_SECOND_IMAGE, TEXTURE_MODULATE, 1);
    loop_camera = camera_create(CAMERA_LOOK_AT_MODE);
    camera_set_perspective(loop_camera, 120, aspect_ratio);
    camera_set_roll(loop_camera, 0);
    loop_camera->far_clip = 4000;
    camera_set_target(loop_camera, 0, 0, 0);
    camera_set_position(loop_camera, 20, 0, 50);
}

static void apply_camera() {
    camera_apply_projection(loop_camera);
    camera_apply_view(loop_camera);
}

void loop_render() {
    float t = demo_time - current_section->start;
    loop_frame f = loop_frame_at(t);
    current_camera = loop_camera;
    camera_set_angles(loop_camera, f.pitch, f.yaw, f.twist);
    apply_camera();
    free_camera_update(loop_camera, frame_delta);
    // Each sky layer adds its picture at a tenth of its strength.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glPushMatrix();
    glColor4f(0, 0, 0, 0.1f);
    ring_scene_sky_layers(loop_sky, loop_camera, t, 1, 1, 0, 0);
    glPopMatrix();
    glDisable(GL_BLEND);
    draw_debug_axes();
    apply_camera();
    draw_debug_axes();
    glPushMatrix();
    glRotatef(f.turn, 0.7f, 1, 0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1, 1, 1, 0.2f);
    texture_bind(loop_gold);
    model_draw_sphere_mapped(loop_model);
    glColor4f(1, 1, 1, 0.2f);
    texture_bind(loop_second);
    model_draw_sphere_mapped(loop_model);
    glDisable(GL_BLEND);
    glPopMatrix();
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

const section_reads loop_reads = {
    "a gold loop turning ever faster while the camera rolls; reads only its start",
    {{}, {}, {}, {}},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
