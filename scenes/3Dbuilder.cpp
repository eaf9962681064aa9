// 3Dbuilder: the build fraction of this frame, then a points pass and a
// solid sphere-mapped pass of the model's leading faces.
#include "scenes/3Dbuilder.h"

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
#include "resources/texture.h"

const char* const BUILDER3D_MODEL_DIR = "data/cubitos/models/";
const char* const BUILDER3D_MODEL_FILE = "cubez.3ds";
const char* const BUILDER3D_BACK_IMAGE = "data/loader/textures/loadingback.jpg";
const char* const BUILDER3D_FRONT_IMAGE = "data/loader/textures/loadingfront.jpg";

static model* builder3d_model = nullptr;
static int builder3d_front = -1;
static camera* builder3d_camera = nullptr;

float build_fraction(float t, float duration) { return duration > 0 ? t / duration : 1.0f; }

// Loads and uploads a picture linear, clamped, replace; a missing one is
// fatal in the loader, one of an unknown kind here.
static int load_clamped(const char* path) {
    int index = texture_load(path);
    if (index < 0) fatal_error("3Dbuilder: Error loading texture %s", path);
    texture_set_options(index, TEXTURE_LINEAR | TEXTURE_CLAMP);
    texture_upload(index);
    return index;
}

void builder3d_load() {
    builder3d_model = model_load(BUILDER3D_MODEL_DIR, BUILDER3D_MODEL_FILE);
    if (!builder3d_model)
        fatal_error("Error loading object.3ds (%s%s: %s)", BUILDER3D_MODEL_DIR, BUILDER3D_MODEL_FILE,
                    model_last_error());
    model_upload_textures();
    builder3d_camera = camera_create(CAMERA_LOOK_AT_MODE);
    camera_set_perspective(builder3d_camera, 100, aspect_ratio);
    camera_set_roll(builder3d_camera, 0);
    builder3d_camera->far_clip = 100;
    builder3d_camera->near_clip = 0.05f;
    camera_set_target(builder3d_camera, 0, 0, 0);
    camera_set_position(builder3d_camera, 0, 0, 2);
    // The back picture is not drawn here, but the scene ships with it.
    load_clamped(BUILDER3D_BACK_IMAGE);
    builder3d_front = load_clamped(BUILDER3D_FRONT_IMAGE);
}

void builder3d_start() {}

void builder3d_render() {
    current_camera = builder3d_camera;
    const section& s = *current_section;
    float f = build_fraction(s.local_time, s.duration);
    camera_apply_projection(builder3d_camera);
    camera_apply_view(builder3d_camera);
    free_camera_update(builder3d_camera, frame_delta);
    draw_debug_axes();

    glDisable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
    glPushMatrix();
    glColor4f(1, 1, 1, 0.5f);
    glPointSize(2.0f);
    model_draw_partial(builder3d_model, f);
    glPopMatrix();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_TEXTURE_2D);

    glPushMatrix();
    glColor4f(1, 1, 1, 1);
    texture_bind(builder3d_front);
    glEnable(GL_TEXTURE_2D);
    model_draw_partial(builder3d_model, f);
    glPopMatrix();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

const section_reads builder3d_reads = {
    "a ball of cubes built up face by face over the section's length",
    {{}, {}, {}, {}},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
