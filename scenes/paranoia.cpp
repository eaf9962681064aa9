// paranoia: the drifting camera and five rotated additive sky layers, then
// the turning model's growing points and surface, both added.
#include "scenes/paranoia.h"

#include <GL/gl.h>

#include "core/clock.h"
#include "core/fatal.h"
#include "core/section.h"
#include "effects/quads.h"
#include "platform/video.h"
#include "resources/camera.h"
#include "resources/free_camera.h"
#include "resources/model.h"
#include "resources/model_draw.h"
#include "resources/skybox.h"
#include "resources/texture.h"
#include "scenes/3Dbuilder.h"
#include "scenes/ring_scene.h"

const char* const PARANOIA_SKY_IMAGE = "data/textures/paranoia_sky.jpg";
const char* const PARANOIA_MODEL_DIR = "data/models/";
const char* const PARANOIA_MODEL_FILE = "paranoia.3d";
const char* const PARANOIA_IMAGE = "data/textures/paranoia.jpg";

static skybox* paranoia_sky = nullptr;
static model* paranoia_model = nullptr;
static int paranoia_texture = -1;
static camera* paranoia_camera = nullptr;

float paranoia_turn_angle(float t) { return t * t * 0.5f; }

void paranoia_camera_position(float t, float out[3]) {
    out[0] = 20 - t * 0.1f;
    out[1] = t * 0.1f;
    out[2] = 50 - t * 0.1f;
}

void paranoia_load() {
    paranoia_sky = skybox_create(PARANOIA_SKY_IMAGE, SKYBOX_JPG, 0);
    if (!paranoia_sky) fatal_error("paranoia: Error loading skybox %s", PARANOIA_SKY_IMAGE);
    skybox_upload(paranoia_sky);
    paranoia_model = model_load(PARANOIA_MODEL_DIR, PARANOIA_MODEL_FILE);
    if (!paranoia_model)
        fatal_error("paranoia: Error loading model %s%s: %s", PARANOIA_MODEL_DIR, PARANOIA_MODEL_FILE,
                    model_last_error());
    model_upload_textures();
    paranoia_texture = texture_load(PARANOIA_IMAGE);
    if (paranoia_texture < 0) fatal_error("paranoia: Error loading texture %s", PARANOIA_IMAGE);
    texture_set_options(paranoia_texture, TEXTURE_MODULATE);
    texture_upload(paranoia_texture);
    paranoia_camera = camera_create(CAMERA_LOOK_AT_MODE);
    camera_set_perspective(paranoia_camera, 100, aspect_ratio);
    camera_set_roll(paranoia_camera, 0);
    paranoia_camera->far_clip = 4000;
    paranoia_camera->near_clip = 0.01f;
    camera_set_target(paranoia_camera, 0, 0, 0);
    camera_set_position(paranoia_camera, 20, 0, 50);
}

void paranoia_start() {}

// The sky is drawn around the camera's new position under the view of its
// previous one; each layer adds its picture at a tenth.
static void paranoia_draw_sky(float t) {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glColor4f(0, 0, 0, 0.1f);
    ring_scene_sky_layers(paranoia_sky, paranoia_camera, t, 1, 1, 0, 0);
    glDisable(GL_BLEND);
}

static void paranoia_draw_model(float t, float fraction) {
    glPushMatrix();
    glRotatef(paranoia_turn_angle(t), 0.7f, 1, 0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT, GL_POINT);
    glPolygonMode(GL_BACK, GL_POINT);
    // Points 2 pixels wide, as the model builder before it leaves them in
    // the show: set here, the scene looks the same wherever a run begins.
    glPointSize(2.0f);
    glColor4f(1, 1, 1, 0.5f);
    model_draw_partial(paranoia_model, fraction);
    glEnable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glColor4f(1, 1, 1, 0.5f);
    texture_bind(paranoia_texture);
    model_draw_partial(paranoia_model, fraction);
    glDisable(GL_BLEND);
    glPopMatrix();
}

void paranoia_render() {
    current_camera = paranoia_camera;
    const section& s = *current_section;
    float t = demo_time - s.start;
    camera_apply_projection(paranoia_camera);
    camera_apply_view(paranoia_camera);
    free_camera_update(paranoia_camera, frame_delta);
    float eye[3];
    paranoia_camera_position(t, eye);
    camera_set_position(paranoia_camera, eye[0], eye[1], eye[2]);
    paranoia_draw_sky(t);
    draw_debug_axes();
    camera_apply_projection(paranoia_camera);
    camera_apply_view(paranoia_camera);
    draw_debug_axes();
    glScalef(0.03f, 0.03f, 0.03f);
    paranoia_draw_model(t, build_fraction(t, s.end - s.start));
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

const section_reads paranoia_reads = {
    "a spiked ball built up from the bottom over the section's length, before a crimson sky",
    {{}, {}, {}, {}},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
