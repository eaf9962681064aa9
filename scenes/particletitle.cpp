// particletitle: the picture's pool, the eased flight into the grid, and the
// growing title quad.
#include "scenes/particletitle.h"

#include <GL/gl.h>
#include <climits>

#include "core/clock.h"
#include "core/fatal.h"
#include "core/section.h"
#include "effects/quads.h"
#include "platform/video.h"
#include "resources/camera.h"
#include "resources/spline.h"
#include "resources/texture.h"

static const char* const TYPE_NAME = "particletitle";
static const char* const SPRITE_PATH = "data/particletitle/flares/grayflare.jpg";
static const int SCATTER_RANGE = 200;
static const float TITLE_WIDTH = 256, TITLE_HEIGHT = 128;

static camera* title_camera = nullptr;
static particletex_instance title = {};  // the pool and the grid of the picture
static textured_quad title_quad;

void ptitle_grid(particletex_instance* grid, int width, int height) {
    grid->width = width;
    grid->height = height;
    grid->row_spacing = TITLE_HEIGHT / height;
    grid->column_spacing = TITLE_WIDTH / width;
    grid->half_height = TITLE_HEIGHT / 2;
    grid->half_width = TITLE_WIDTH / 2;
}

float ptitle_title_scale(float tp, float d2) {
    if (!(d2 > 0)) return 1;
    return tp * 0.4f / d2 + 1;
}

void ptitle_camera_from_spline(camera* cam, const spline* path, float tau) {
    float v[SPLINE_CHANNELS];
    spline_evaluate(path, tau, v);
    camera_set_position(cam, v[0], v[1], v[2]);
    camera_set_angles(cam, v[3], v[4], v[5]);
    camera_set_target(cam, v[6], v[7], v[8]);
}

void particletitle_load() {
    title_camera = camera_create(CAMERA_LOOK_AT_MODE);
    camera_set_perspective(title_camera, 100, aspect_ratio);
    title_camera->near_clip = 0.01f;
    title_camera->far_clip = 3000;
}

// Its one param, by the name its declaration binds.
struct particletitle_values {
    float size;  // sprite size
};

// Each section replaces the picture, pool and quad (the show keeps one set);
// everything is checked and built before the shared state changes.
void particletitle_init() {
    section& s = *current_section;
    int image = texture_load(s.strings[0]);
    if (image < 0) fatal_error("Error loading texture %s", s.strings[0]);
    texture_set_options(image, TEXTURE_LINEAR);
    texture_upload(image);
    const texture* picture = texture_table[image];
    long long pixels = static_cast<long long>(picture->width) * picture->height;
    if (pixels > INT_MAX)
        fatal_error("%s: picture %s is too large, section at line %d", TYPE_NAME, s.strings[0], s.line);
    int sprite = texture_load(SPRITE_PATH);
    if (sprite < 0) fatal_error("Error loading texture %s", SPRITE_PATH);
    texture_set_options(sprite, TEXTURE_MODULATE);
    particletex_instance built = {};
    built.image = image;
    ptitle_grid(&built, picture->width, picture->height);
    built.particles = particles_create(static_cast<int>(pixels), section_values<particletitle_values>(s).size);
    particles_add_texture(built.particles, sprite);
    particletex_fill(built.particles, picture, SCATTER_RANGE, 1.0f);
    particles_upload_textures(built.particles);
    title = built;
    quad_init(&title_quad, image, TITLE_WIDTH, TITLE_HEIGHT);
}

static void assembly_phase(const section& s, float t, float d) {
    ptitle_camera_from_spline(title_camera, &s.splines[0], t);
    camera_apply_projection(title_camera);
    camera_apply_view(title_camera);
    glEnable(GL_TEXTURE_2D);
    particletex_place(&title, t, d, 1, 1);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glPushMatrix();
    glRotatef(-90, 0, 0, 1);
    particles_draw(title.particles);
    glPopMatrix();
    glDisable(GL_BLEND);
}

static void title_phase(const section& s, float tp, float d2) {
    ptitle_camera_from_spline(title_camera, &s.splines[1], tp);
    camera_apply_projection(title_camera);
    camera_apply_view(title_camera);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glPushMatrix();
    float k = ptitle_title_scale(tp, d2);
    glScalef(k, k, 1);
    quad_draw(&title_quad);
    glPopMatrix();
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

void particletitle_render() {
    const section& s = *current_section;
    current_camera = title_camera;
    float t = demo_time - s.start;
    if (t < s.syncs[0]) assembly_phase(s, t, s.syncs[0]);
    else title_phase(s, t - s.syncs[0], s.end - s.syncs[0] - s.start);
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

static const section_field particletitle_params[] = {
    {"size", "sprite size (half its edge, world units)", nullptr, SECTION_AT_INIT, SECTION_VALUE(particletitle_values, size)},
};
static const section_field particletitle_strings[] = {
    {"picture", "the title picture, stretched to 256 x 128 world units; its black pixels make no sprite", nullptr},
};
static const section_field particletitle_splines[] = {
    {"gather", "the camera while the sprites gather, over the seconds up to the sync", nullptr},
    {"grow", "the camera while the picture grows, from the sync on", nullptr},
};
static const section_field particletitle_syncs[] = {
    {"arrive", "seconds from the start at which the sprites have arrived and the picture takes over", nullptr},
};
const section_reads particletitle_reads = {
    "a title assembled from one glowing sprite per pixel, then held as one slowly growing picture",
    {SECTION_FIELDS(particletitle_params), SECTION_FIELDS(particletitle_strings), SECTION_FIELDS(particletitle_splines), SECTION_FIELDS(particletitle_syncs)},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
