// logofinal: the camera from last frame's clock, the logo opaque with the
// logo picture, the sky layers around it, then the logo again, added with a
// mirror of the frame so far.
#include "scenes/logofinal.h"

#include <GL/gl.h>
#include <algorithm>

#include "core/clock.h"
#include "core/fatal.h"
#include "core/section.h"
#include "core/settings.h"
#include "effects/quads.h"
#include "platform/video.h"
#include "resources/camera.h"
#include "resources/free_camera.h"
#include "resources/gl_extensions.h"
#include "resources/model_draw.h"
#include "resources/skybox.h"
#include "resources/texture.h"
#include "scenes/ring_scene.h"

static const char* const TYPE_NAME = "logofinal";

const char* const LOGOFINAL_SKYBOX_IMAGE = "data/textures/11.jpg";
const char* const LOGOFINAL_MODEL_DIR = "data/models/logo/";
const char* const LOGOFINAL_FRAME_FILE = "marco.3d";
const char* const LOGOFINAL_LETTER_FILE = "s.3d";
const char* const LOGOFINAL_LOGO_IMAGE = "data/textures/2.jpg";

static skybox* logo_sky = nullptr;
static model* frame_model = nullptr;
static model* letter_model = nullptr;
static int logo_texture = -1;
static int mirror_texture = -1;
static camera* logo_camera = nullptr;
static float scene_clock = 0;

void logofinal_camera_position(float previous_clock, float out[3]) {
    out[0] = 0;
    out[1] = previous_clock * -10;
    out[2] = previous_clock * 30 + 300;
}

float logofinal_frame_turn(float u) { return 160 - u * 20; }

static int power_of_two_below(int n) {
    int p = 1;
    while (p * 2 <= n) p *= 2;
    return p;
}

void logofinal_mirror_size(int target_width, int target_height, int window_width,
                           int window_height, int* width, int* height, int* x, int* y) {
    int w = std::max(1, std::min(target_width, window_width));
    int h = std::max(1, std::min(target_height, window_height));
    *width = power_of_two_below(w);
    *height = power_of_two_below(h);
    *x = (w - *width) / 2;
    *y = (h - *height) / 2;
}

float logofinal_clock() { return scene_clock; }

static model* load_model(const char* file) {
    model* m = model_load(LOGOFINAL_MODEL_DIR, file);
    // Every frame draws both models: without one the logo cannot be shown.
    if (!m)
        fatal_error("%s: Error loading model %s", TYPE_NAME, model_last_error());
    model_upload_textures();
    return m;
}

// The mirror starts black (its pixels are zero) and is refilled from the
// render target every frame; with the driver's help its smaller mipmaps
// follow each copy, otherwise only the copied level is sampled.
static int create_mirror() {
    int w, h, x, y;
    logofinal_mirror_size(gl_rttWidth, gl_rttHeight, gl_width, gl_height, &w, &h, &x, &y);
    int index = texture_create_empty(w, h, GL_RGB, 3);
    texture_set_options(index, TEXTURE_MODULATE);
    texture_upload(index);
    if (has_extension("GL_SGIS_generate_mipmap")) {
        glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP_SGIS, GL_TRUE);
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    }
    return index;
}

static void copy_mirror() {
    int w, h, x, y;
    logofinal_mirror_size(gl_rttWidth, gl_rttHeight, gl_width, gl_height, &w, &h, &x, &y);
    texture_bind(mirror_texture);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, y, w, h);
}

void logofinal_load() {
    logo_sky = ring_scene_load_skybox(TYPE_NAME, LOGOFINAL_SKYBOX_IMAGE);
    frame_model = load_model(LOGOFINAL_FRAME_FILE);
    letter_model = load_model(LOGOFINAL_LETTER_FILE);
    logo_texture = ring_scene_load_texture(TYPE_NAME, LOGOFINAL_LOGO_IMAGE, TEXTURE_MODULATE, 1);
    mirror_texture = create_mirror();
    logo_camera = camera_create(CAMERA_LOOK_AT_MODE);
    camera_set_perspective(logo_camera, 100, aspect_ratio);
    camera_set_roll(logo_camera, 0);
    logo_camera->far_clip = 5000;
    camera_set_target(logo_camera, 0, 0, 0);
    camera_set_position(logo_camera, 0, 0, 300);
}

static void apply_camera() {
    camera_apply_projection(logo_camera);
    camera_apply_view(logo_camera);
}

// The frame turned, the letter as it stands, in the texture bound.
static void draw_logo(float u) {
    glPushMatrix();
    glRotatef(logofinal_frame_turn(u), 0, 1, 0);
    model_draw_sphere_mapped(frame_model);
    glPopMatrix();
    model_draw_sphere_mapped(letter_model);
}

void logofinal_render() {
    float position[3];
    logofinal_camera_position(scene_clock, position);
    camera_set_position(logo_camera, position[0], position[1], position[2]);
    float u = scene_clock = demo_time - current_section->start;
    current_camera = logo_camera;
    apply_camera();
    free_camera_update(logo_camera, frame_delta);
    draw_debug_axes();
    // The logo first, opaque with the logo picture. Each sky layer then adds
    // its picture at a tenth of its strength at the far end of the depth
    // range, so only where the logo left the frame empty: the pixels the
    // logo covers would have been overwritten by it anyway.
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glPushMatrix();
    glScalef(0.7f, 0.7f, 0.7f);
    glColor4f(1, 1, 1, 0.07f);
    texture_bind(logo_texture);
    draw_logo(u);
    glPopMatrix();
    glDepthRange(1, 1);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(0, 0, 0, 0.1f);
    ring_scene_sky_layers(logo_sky, logo_camera, u, 1, 1, 0, 0);
    glDisable(GL_BLEND);
    glDepthRange(0, 1);
    apply_camera();
    draw_debug_axes();
    glScalef(0.7f, 0.7f, 0.7f);
    glPushMatrix();
    copy_mirror();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1, 1, 1, 0.07f);
    texture_bind(mirror_texture);
    draw_logo(u);
    glDisable(GL_BLEND);
    glPopMatrix();
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

const section_reads logofinal_reads = {
    "the closing logo: a silver frame turning around a still letter before a wheeling night sky; reads only its start",
    {{}, {}, {}, {}},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
