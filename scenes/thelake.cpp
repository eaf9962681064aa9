// thelake: the water grid and its waves, the rain that falls from the path,
// the reflection copied from the frame, the mirror layer and the sky strip.
#include "scenes/thelake.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdlib>

#include "core/clock.h"
#include "core/fatal.h"
#include "core/owned.h"
#include "core/random.h"
#include "core/section.h"
#include "effects/frame_copy.h"
#include "platform/video.h"
#include "resources/camera.h"
#include "resources/texture.h"

static const char* const TYPE_NAME = "thelake";
static const char* const MIRROR_PATH = "data/thelake/mirror.jpg";
static const char* const SKY_PATH = "data/thelake/cielo.jpg";

// The type-wide state: two cameras from load; the grid and the pictures,
// made again by each section's init (every section draws the last ones).
static camera* lake_camera = nullptr;
static camera* overhead_camera = nullptr;
static lake_grid* grid = nullptr;
static int mirror_texture = -1;
static int sky_texture = -1;
static int reflection_texture = -1;

// ---------------------------------------------------------------------------
// Water and rain arithmetic
// ---------------------------------------------------------------------------

void lake_grid_build(lake_grid* g) {
    for (int r = 0; r < LAKE_ROWS; ++r)
        for (int j = 0; j < LAKE_COLUMNS; ++j) {
            lake_vertex& v = g->vertices[r * LAKE_COLUMNS + j];
            v.position[0] = 1200.0f / 100 * j - 600;
            v.position[1] = 0;
            v.position[2] = r * (500.0f / 60) - 250;
            v.base[0] = j / 100.0f;
            v.base[1] = 1 - r / 60.0f;
            v.ripple[0] = v.base[0];
            v.ripple[1] = v.base[1];
        }
}

double lake_height(int r, int j, float T) {
    double t = T;
    return 2.3 * std::sin(1.5 * t - r / 2) + 1.6 * std::cos(j / 2.3 + 1.9 * t);
}

void lake_wave(lake_grid* g, float T) {
    const double t = T;
    for (int r = 0; r < LAKE_ROWS; ++r)
        for (int j = 0; j < LAKE_COLUMNS; ++j) {
            lake_vertex& v = g->vertices[r * LAKE_COLUMNS + j];
            v.position[1] = static_cast<float>(lake_height(r, j, T));
            v.ripple[0] = static_cast<float>(v.base[0] + 0.0007 * std::sin(10.5 * t + r / M_PI) +
                                             0.0006 * std::cos(10.9 * t + j / (2 * M_PI)));
            v.ripple[1] = static_cast<float>(v.base[1] + 0.0013 * std::sin(16.5 * t + r / M_PI) +
                                             0.0016 * std::cos(16.9 * t + j / (2 * M_PI)));
        }
}

void lake_rain_fill(particle_system* system, float r, float g, float b) {
    for (int k = 0; k < system->count; ++k) {
        particle* p = &system->particles[k];
        particle_set_position(system, k, 0, 0, 0);
        particle_set_colour(system, k, r, g, b, 1.0f);
        p->alive = 0;
        p->life = PATHWAY_LIFE;
        particle_set_velocity(system, k, 0, 0, 0);
        particle_set_acceleration(system, k, 0, (rand_next() % 100) * -0.005f, 0);
        p->texture_slot = 0;
    }
}

int lake_rain_sink(particle_system* system) {
    int sunk = 0;
    for (int k = 0; k < system->count; ++k) {
        particle* p = &system->particles[k];
        if (p->alive && p->position[1] < 0) {
            p->alive = 0;
            ++sunk;
        }
    }
    return sunk;
}

// ---------------------------------------------------------------------------
// Callbacks
// ---------------------------------------------------------------------------

static camera* make_camera(float fovy, float roll, float y, float z, float near_clip, float far_clip) {
    camera* c = camera_create(CAMERA_LOOK_AT_MODE);
    camera_set_perspective(c, fovy, aspect_ratio);
    camera_set_angles(c, 0, 0, 0);
    camera_set_roll(c, roll);
    camera_set_position(c, 0, y, z);
    camera_set_target(c, 0, 0, 0);
    c->near_clip = near_clip;
    c->far_clip = far_clip;
    return c;
}

void thelake_load() {
    lake_camera = make_camera(100, 0, 40, -100, 1, 2000);
    overhead_camera = make_camera(30, 180, 500, 1, 1, 1000);
}

static int load_picture(const char* path) {
    int index = texture_load(path);
    if (index < 0) fatal_error("%s: Error loading texture %s", TYPE_NAME, path);
    texture_set_options(index, TEXTURE_LINEAR);
    texture_upload(index);
    return index;
}

// The path and a positive rate are checked first, as for the trail effect
// whose emission walk the rain uses.
void thelake_init() {
    section& s = *current_section;
    const pathway_values& v = section_values<pathway_values>(s);
    if (!(v.rate > 0))
        fatal_error("%s: section at line %d needs a positive emission rate (param 1), has %g",
                    TYPE_NAME, s.line, v.rate);
    if (!grid) {
        grid = static_cast<lake_grid*>(malloc(sizeof(lake_grid)));
        if (!grid) fatal_error("%s: out of memory, section at line %d", TYPE_NAME, s.line);
    }
    lake_grid_build(grid);
    mirror_texture = load_picture(MIRROR_PATH);
    sky_texture = load_picture(SKY_PATH);
    reflection_texture = frame_copy_create(TEXTURE_LINEAR);
    pathway_instance built = {};
    built.sprite = texture_load(s.strings[0]);
    if (built.sprite < 0) fatal_error("Error loading texture %s", s.strings[0]);
    texture_set_options(built.sprite, TEXTURE_MODULATE);
    built.particles = particles_create(pathway_pool_size(s.end - s.start, v.rate), v.size);
    particles_add_texture(built.particles, built.sprite);
    lake_rain_fill(built.particles, v.red, v.green, v.blue);
    particles_upload_textures(built.particles);
    pathway_instance* instance = static_cast<pathway_instance*>(malloc(sizeof(pathway_instance)));
    if (!instance) fatal_error("%s: out of memory, section at line %d", TYPE_NAME, s.line);
    *instance = built;
    generation_own(instance, free);
    s.instance_data = instance;
}

// The rain at local time t in the current view: the emission walk along the
// path, one step of fall, the drops that reached the water taken away.
static void rain_sink(particle_system* p) { lake_rain_sink(p); }

static void rain_pass(const section& s, pathway_instance* instance, float t) {
    pathway_pass(instance, &s.splines[0], section_values<pathway_values>(s).rate, t, rain_sink);
}

void thelake_advance() {
    const section& s = *current_section;
    pathway_instance* instance = static_cast<pathway_instance*>(s.instance_data);
    float rate = section_values<pathway_values>(s).rate;
    for (int pass = 0; pass < 2; ++pass) pathway_step(instance, &s.splines[0], rate, s.local_time, rain_sink);
}

static void draw_water(int ripple) {
    for (int r = 0; r < LAKE_ROWS - 1; ++r) {
        glBegin(GL_QUAD_STRIP);
        for (int j = 0; j < LAKE_COLUMNS; ++j)
            for (int row = r; row <= r + 1; ++row) {
                const lake_vertex& v = grid->vertices[row * LAKE_COLUMNS + j];
                glTexCoord2fv(ripple ? v.ripple : v.base);
                glVertex3fv(v.position);
            }
        glEnd();
    }
}

// The lower half of the sky picture over the top 40 % of the frame.
static void draw_sky_strip() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 1, 1, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    texture_bind(sky_texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0.5f);
    glVertex2f(0, 0);
    glTexCoord2f(0, 1);
    glVertex2f(0, 0.4f);
    glTexCoord2f(1, 1);
    glVertex2f(1, 0.4f);
    glTexCoord2f(1, 0.5f);
    glVertex2f(1, 0);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void thelake_render() {
    const section& s = *current_section;
    pathway_instance* instance = static_cast<pathway_instance*>(s.instance_data);
    current_camera = overhead_camera;
    // The rain seen from above (both axes mirrored), kept as the reflection.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(600, -600, 250, -250, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(190, 0, 0, 1);
    glColor4f(1, 1, 1, 1);
    rain_pass(s, instance, s.local_time);
    frame_copy_take(reflection_texture);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    camera_apply_projection(lake_camera);
    camera_apply_view(lake_camera);
    glDisable(GL_DEPTH_TEST);
    lake_wave(grid, demo_time);
    // Reflection laid down opaque (blending off, replace), mirror added.
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1, 1, 1, 0.2f);
    texture_bind(reflection_texture);
    draw_water(1);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glColor4f(1, 1, 1, 0.3f);
    texture_bind(mirror_texture);
    draw_water(0);
    glDisable(GL_BLEND);
    draw_sky_strip();
    glEnable(GL_DEPTH_TEST);
    rain_pass(s, instance, s.local_time);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

static const section_field thelake_params[] = {
    {"rate", "drops per second (above 0); the section holds duration x rate drops", nullptr, SECTION_AT_INIT, SECTION_VALUE(pathway_values, rate)},
    {"size", "drop size (half its edge, world units)", nullptr, SECTION_AT_INIT, SECTION_VALUE(pathway_values, size)},
    {"red", "drop colour: red (0..1)", nullptr, SECTION_AT_INIT, SECTION_VALUE(pathway_values, red)},
    {"green", "drop colour: green", nullptr, SECTION_AT_INIT, SECTION_VALUE(pathway_values, green)},
    {"blue", "drop colour: blue", nullptr, SECTION_AT_INIT, SECTION_VALUE(pathway_values, blue)},
};
static const section_field thelake_strings[] = {
    {"sprite", "the drop sprite (.bmp, .jpg, .png or .tga)", nullptr},
};
static const section_field thelake_splines[] = {
    {"path", "the path the drops fall from, and the seconds it runs over", nullptr},
};
const section_reads thelake_reads = {
    "a rippling night lake under an evening sky with a slow rain of glowing drops; sets its own cameras and clears the frame",
    {SECTION_FIELDS(thelake_params), SECTION_FIELDS(thelake_strings), SECTION_FIELDS(thelake_splines), {}},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
