// columna: five rotated additive sky layers, then the spinning column's two
// sphere-mapped passes, then the frame copied for the next frame's second
// reflection.
#include "scenes/columna.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstdlib>

#include "core/clock.h"
#include "core/fatal.h"
#include "core/section.h"
#include "core/settings.h"
#include "effects/quads.h"
#include "platform/video.h"
#include "resources/camera.h"
#include "resources/free_camera.h"
#include "resources/gl_extensions.h"
#include "resources/model.h"
#include "resources/model_draw.h"
#include "resources/skybox.h"
#include "resources/texture.h"
#include "scenes/ring_scene.h"

const char* const COLUMNA_SKY_IMAGE = "data/textures/8470702.jpg";
const char* const COLUMNA_MODEL_DIR = "data/models/";
const char* const COLUMNA_MODEL_FILE = "columna.3d";
const char* const COLUMNA_REFLECTION_IMAGE = "data/textures/FractalReflections2.jpg";

static skybox* columna_sky = nullptr;
static model* columna_model = nullptr;
static int columna_reflection = -1;
static int columna_second = -1;
static columna_feedback columna_copy = {0, 0, 0};
static camera* columna_camera = nullptr;
static float columna_spin = COLUMNA_SPIN_START;

float columna_spin_step(float spin, float t) { return spin + t * 0.1f; }

columna_feedback columna_feedback_region(int target_w, int target_h, int window_w, int window_h) {
    int limit = std::min({target_w, target_h, window_w, window_h});
    columna_feedback f = {0, 0, 0};
    if (limit < 1) return f;
    f.size = 1;
    while (f.size * 2 <= limit) f.size *= 2;
    f.x = (target_w - f.size) / 2;
    f.y = (target_h - f.size) / 2;
    return f;
}

int columna_second_texture() { return columna_second; }

// Copies into a mipmapped texture regenerate its smaller levels when the
// driver can (GL 1.4, or the older extension); otherwise the texture samples
// its top level only, so stale levels never show.
static void columna_keep_levels_fresh() {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    bool modern = version && std::atof(version) >= 1.4;
    texture_bind(columna_second);
    if (modern || has_extension("GL_SGIS_generate_mipmap"))
        glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
    else
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
}

static void columna_create_feedback() {
    columna_copy = columna_feedback_region(gl_rttWidth, gl_rttHeight, gl_width, gl_height);
    columna_second = texture_create_empty(columna_copy.size, columna_copy.size, GL_RGB, 3);
    texture_set_options(columna_second, TEXTURE_MODULATE);
    texture_upload(columna_second);
    columna_keep_levels_fresh();
}

void columna_load() {
    columna_sky = skybox_create(COLUMNA_SKY_IMAGE, SKYBOX_JPG, 0);
    if (!columna_sky) fatal_error("columna: Error loading skybox %s", COLUMNA_SKY_IMAGE);
    skybox_upload(columna_sky);
    columna_model = model_load(COLUMNA_MODEL_DIR, COLUMNA_MODEL_FILE);
    if (!columna_model)
        fatal_error("columna: Error loading model %s%s: %s", COLUMNA_MODEL_DIR, COLUMNA_MODEL_FILE,
                    model_last_error());
    model_upload_textures();
    columna_reflection = texture_load(COLUMNA_REFLECTION_IMAGE);
    if (columna_reflection < 0) fatal_error("columna: Error loading texture %s", COLUMNA_REFLECTION_IMAGE);
    texture_set_options(columna_reflection, TEXTURE_MODULATE);
    texture_upload(columna_reflection);
    columna_create_feedback();
    columna_camera = camera_create(CAMERA_LOOK_AT_MODE);
    camera_set_perspective(columna_camera, 100, aspect_ratio);
    camera_set_roll(columna_camera, 0);
    columna_camera->far_clip = 4000;
    camera_set_target(columna_camera, 0, 0, 0);
    camera_set_position(columna_camera, 20, 0, 50);
}

void columna_start() { columna_spin = COLUMNA_SPIN_START; }

int columna_history(const section*) { return COLUMNA_HISTORY_FRAMES; }

int columna_history_textures(const section*, int* textures) {
    textures[0] = columna_second;
    return 1;
}

void columna_advance() { columna_spin = columna_spin_step(columna_spin, demo_time - current_section->start); }

// Each layer adds its picture at the current alpha (the sky's textures
// replace the colour), turned in the projection so the layers drift apart.
static void columna_draw_sky(float t) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(0, 0, 0, 0.05f);
    ring_scene_sky_layers(columna_sky, columna_camera, t, 1, 1, 2, 0);
}

void columna_render() {
    current_camera = columna_camera;
    float t = demo_time - current_section->start;
    camera_apply_projection(columna_camera);
    camera_apply_view(columna_camera);
    free_camera_update(columna_camera, frame_delta);
    draw_debug_axes();
    columna_draw_sky(t);
    camera_apply_projection(columna_camera);
    camera_apply_view(columna_camera);
    columna_advance();
    draw_debug_axes();
    glScalef(0.2f, 0.2f, 0.2f);

    glPushMatrix();
    glRotatef(columna_spin, 0.7f, 1, 0);
    glColor4f(1, 1, 1, 0.4f);
    texture_bind(columna_reflection);
    glEnable(GL_TEXTURE_2D);
    model_draw_sphere_mapped(columna_model);
    glBlendFunc(GL_SRC_ALPHA, GL_SRC_ALPHA);
    glColor4f(1, 1, 1, 0.4f);
    texture_bind(columna_second);
    model_draw_sphere_mapped(columna_model);
    glPopMatrix();
    glDisable(GL_BLEND);

    // The picture so far becomes the next frame's second reflection.
    texture_bind(columna_second);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, columna_copy.x, columna_copy.y, columna_copy.size,
                        columna_copy.size);
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

const section_reads columna_reads = {
    "a fluted column tumbling ever faster before a drifting nebula sky; reads only its start",
    {{}, {}, {}, {}},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
