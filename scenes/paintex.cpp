// paintex: the phase of the frame, the reveal's edge and the sparks' colours,
// then the caption quad and the spark column under the section's camera.
#include "scenes/paintex.h"

#include <GL/gl.h>
#include <cmath>

#include "core/clock.h"
#include "core/fatal.h"
#include "core/section.h"
#include "effects/particles.h"
#include "effects/particletex.h"
#include "platform/video.h"
#include "resources/camera.h"
#include "resources/texture.h"

const char* const PAINTEX_CAPTION_IMAGES[PAINTEX_CAPTIONS] = {
    "data/textures/engine.tga",    "data/textures/music.tga", "data/textures/graphics.tga",
    "data/textures/modelling.tga", "data/textures/logo.tga",  "data/textures/title02.tga",
};
const char* const PAINTEX_SPARK_IMAGE = "data/textures/grayflare.jpg";

static int paintex_images[PAINTEX_CAPTIONS];
static int paintex_caption = 0;
static textured_quad paintex_quad;
static particle_system* paintex_sparks = nullptr;
static camera* paintex_camera = nullptr;

float paintex_visible_share(float caption_param, float t, float aspect) {
    const double half_fov = PAINTEX_FOVY * 0.5 * 3.14159265358979 / 180;
    double seen = 2 * paintex_camera_z(caption_param, t) * std::tan(half_fov) * aspect;
    double share = seen / (PAINTEX_QUAD_WIDTH * PAINTEX_QUAD_SCALE);
    return static_cast<float>(share < 1 ? share : 1);
}

paintex_phase paintex_phase_at(float t, const float* syncs, float start, float end) {
    if (t < syncs[0]) return {PAINTEX_REVEAL, syncs[0]};
    if (t < syncs[1]) return {PAINTEX_HOLD, 0};
    return {PAINTEX_END, end - syncs[1] - start};
}

float paintex_camera_z(float caption_param, float t) {
    return caption_param == 5.0f ? t * 0.25f + 30 : t + 17;
}

float paintex_reveal(textured_quad* quad, float f) {
    float left = quad->bounds[0], right = quad->bounds[2];
    float edge = left + (right - left) * f;
    quad->vertices[1][0] = quad->vertices[2][0] = edge;
    quad->texcoords[1][0] = quad->texcoords[2][0] = f;
    return edge;
}

static int clamp_index(int i, int size) { return i < 0 ? 0 : (i >= size ? size - 1 : i); }

void paintex_pixel_colour(const texture* image, int x, int y, float rgb[3]) {
    particletex_pixel_colour(image, clamp_index(x, image->width), clamp_index(y, image->height),
                             rgb);
}

int paintex_edge_column(int width, float f) {
    return clamp_index(static_cast<int>(static_cast<float>(width) * f), width);
}

int paintex_has_axis(const paintex_values& v) {
    return v.axis[0] != 0 || v.axis[1] != 0 || v.axis[2] != 0;
}

void paintex_load() {
    for (int i = 0; i < PAINTEX_CAPTIONS; ++i)
        paintex_images[i] = texture_load(PAINTEX_CAPTION_IMAGES[i]);
    for (int i = 0; i < PAINTEX_CAPTIONS; ++i)
        if (paintex_images[i] < 0)
            fatal_error("Error loading texture %i (%s)", i, PAINTEX_CAPTION_IMAGES[i]);
    for (int image : paintex_images) {
        texture_set_options(image, TEXTURE_LINEAR);
        texture_upload(image);
    }
    paintex_sparks = particles_create(PAINTEX_SPARKS, 1.0f);
    int spark = texture_load(PAINTEX_SPARK_IMAGE);
    if (spark < 0) fatal_error("paintex: Error loading texture %s", PAINTEX_SPARK_IMAGE);
    texture_set_options(spark, TEXTURE_LINEAR | TEXTURE_MODULATE);
    particles_add_texture(paintex_sparks, spark);
    for (int k = 0; k < PAINTEX_SPARKS; ++k) {
        paintex_sparks->particles[k].alive = 1;
        paintex_sparks->particles[k].texture_slot = 0;
    }
    particles_upload_textures(paintex_sparks);
    paintex_camera = camera_create(CAMERA_LOOK_AT_MODE);
    camera_set_position(paintex_camera, 0, 0, -1);
    camera_set_target(paintex_camera, 0, 0, 0);
    camera_set_perspective(paintex_camera, PAINTEX_FOVY, aspect_ratio);
    camera_set_roll(paintex_camera, 0);
    paintex_camera->far_clip = 1000;
}

// The caption number is checked here, while loading, so a bad script stops
// before the show plays rather than indexing past the six captions.
void paintex_init() {
    const section& s = *current_section;
    float caption = section_values<paintex_values>(s).caption;
    if (!(caption >= 0 && caption < PAINTEX_CAPTIONS))
        fatal_error(
            "paintex: section at line %d needs a caption number 0-5 in its first param, has %g",
            s.line, static_cast<double>(caption));
}

void paintex_start() {
    paintex_caption = static_cast<int>(section_values<paintex_values>(*current_section).caption);
    quad_init(&paintex_quad, paintex_images[paintex_caption], PAINTEX_QUAD_WIDTH, PAINTEX_QUAD_HEIGHT);
}

static void draw_caption() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glPushMatrix();
    glScalef(PAINTEX_QUAD_SCALE, PAINTEX_QUAD_SCALE, PAINTEX_QUAD_SCALE);
    quad_draw(&paintex_quad);
    glPopMatrix();
}

// Each spark stands on the edge at its image row (row 0 on top) and takes
// that row's pixel under the edge.
static void draw_sparks(float edge, float f) {
    const texture* image = texture_table[paintex_images[paintex_caption]];
    int column = paintex_edge_column(image->width, f);
    for (int k = 0; k < PAINTEX_SPARKS; ++k) {
        float rgb[3];
        paintex_pixel_colour(image, column, k, rgb);
        paintex_sparks->particles[k].alive = 1;
        particle_set_position(paintex_sparks, k, edge * PAINTEX_QUAD_SCALE, (127 - k) * PAINTEX_QUAD_SCALE, 0);
        particle_set_colour(paintex_sparks, k, rgb[0], rgb[1], rgb[2], 0.3f);
    }
    glBlendFunc(GL_ONE, GL_ONE);
    particles_draw(paintex_sparks);
}

// After the painting the caption shows as the painting's last frame left
// it, a hair short of its right edge. On the fixed step that frame is known
// from the clock (the last frame of the run from the origin whose time fell
// before the sync), so a run begun after it shows the same caption; with
// the clock following real time the quad keeps what the last frame drawn set.
static void paintex_keep_last_painting(const section& s) {
    if (!clock_step_fps()) return;
    int first = clock_start_frame(s.start);
    int frame = clock_start_frame(s.start + s.syncs[0]) + 1;
    while (frame >= first && !(clock_grid_time(frame) - s.start < s.syncs[0])) --frame;
    if (frame < first) return;
    paintex_reveal(&paintex_quad, (clock_grid_time(frame) - s.start) / s.syncs[0]);
}

void paintex_render() {
    current_camera = paintex_camera;
    const section& s = *current_section;
    const paintex_values& v = section_values<paintex_values>(s);
    float t = demo_time - s.start;
    camera_set_target(paintex_camera, 0, 0, 0);
    camera_set_position(paintex_camera, 0, 0, paintex_camera_z(v.caption, t));
    camera_apply_projection(paintex_camera);
    camera_apply_view(paintex_camera);
    glTranslatef(v.x, v.y, v.z);
    if (paintex_has_axis(v)) glRotatef(t * 0.5f, v.axis[0], v.axis[1], v.axis[2]);
    glDisable(GL_DEPTH_TEST);
    paintex_phase phase = paintex_phase_at(t, s.syncs, s.start, s.end);
    if (phase.kind == PAINTEX_REVEAL) {
        float f = t / phase.length;
        float edge = paintex_reveal(&paintex_quad, f);
        draw_caption();
        draw_sparks(edge, f);
    } else {
        paintex_keep_last_painting(s);
        // Under the additive blend the fading alpha leaves the picture as it
        // is; a phase of no length keeps alpha 1 rather than dividing by 0.
        if (phase.kind == PAINTEX_END)
            glColor4f(1, 1, 1, phase.length > 0 ? 1 - t / phase.length : 1);
        draw_caption();
    }
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

static const section_field paintex_params[] = {
    {"caption", "0 engine, 1 music, 2 graphics, 3 modelling, 4 logo, 5 title (the title also slows the camera)", nullptr, SECTION_AT_INIT, SECTION_VALUE(paintex_values, caption)},
    {"x", "translation of the caption: x", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(paintex_values, x)},
    {"y", "translation: y", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(paintex_values, y)},
    {"z", "translation: z", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(paintex_values, z)},
    {"axis_x", "axis the caption turns about at half a degree a second: x (0 0 0: no turn)", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(paintex_values, axis[0])},
    {"axis_y", "that axis: y", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(paintex_values, axis[1])},
    {"axis_z", "that axis: z", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(paintex_values, axis[2])},
};
static const section_field paintex_syncs[] = {
    {"painted", "seconds after the start when the painting is done", nullptr},
    {"held", "seconds after the start when the hold ends", nullptr},
};
const section_reads paintex_reads = {
    "a caption painted from left to right behind a column of sparks, held, then drawn on to the end",
    {SECTION_FIELDS(paintex_params), {}, {}, SECTION_FIELDS(paintex_syncs)},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
