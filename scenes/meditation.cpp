// meditation: sky passes, the tinted model, the central clusters, one small
// cluster per scattered point, then the additive billboards.
#include "scenes/meditation.h"

#include "core/section.h"

#include <GL/gl.h>
#include <cmath>
#include <cstring>

#include "core/clock.h"
#include "core/fatal.h"
#include "core/random.h"
#include "effects/quad_batch.h"
#include "effects/quads.h"
#include "platform/video.h"
#include "resources/camera.h"
#include "resources/free_camera.h"
#include "resources/model.h"
#include "resources/model_draw.h"
#include "resources/skybox.h"
#include "resources/texture.h"
#include "scenes/ring_scene.h"

const char* const MEDITATION_MODEL_DIR = "data/meditation/models/";
const char* const MEDITATION_MODEL_FILE = "meditation.3d";
const char* const MEDITATION_SKY_IMAGE = "data/meditation/textures/cloudskybox.jpg";
const char* const MEDITATION_FLARE_IMAGE = "data/meditation/textures/electronicflareblack.jpg";
const char* const MEDITATION_REFLECTION_IMAGE = "data/meditation/textures/fractalreflections2.jpg";
const char* const MEDITATION_CIRCLE_IMAGE = "data/meditation/textures/circle.jpg";

static model* meditation_model = nullptr;
static skybox* meditation_sky = nullptr;
static int meditation_flare = -1, meditation_reflection = -1, meditation_circle = -1;
static camera* meditation_camera = nullptr;
static particle_system* meditation_particles = nullptr;
static textured_quad meditation_flare_quad, meditation_circle_quad;
static quad_batch meditation_clusters;  // the scattered points' flares, made each frame

meditation_clock meditation_clock_at(float T) { return {10 * T, 30 * T, 20 * T, 800 * T}; }

void meditation_flicker(const meditation_clock& c, int rho_g, int rho_b, int rho_a, float out[4]) {
    out[0] = 0.1f * std::sin(c.t10) + 0.8f;
    out[1] = 0.1f * std::sin(0.01f * static_cast<float>(rho_g) + c.t30) + 0.8f;
    out[2] = 0.2f * std::sin(0.01f * static_cast<float>(rho_b) + c.t20) + 0.8f;
    out[3] = 0.1f * std::sin(0.01f * static_cast<float>(rho_a) + c.t800) + 0.2f;
}

float meditation_coordinate(int sign, int magnitude) {
    return static_cast<float>(magnitude * 0.1 * std::sin(sign ? -1.0 : 1.0));
}

// Each coordinate takes its sign draw before its magnitude draw; z comes
// first, x last.
static float meditation_draw_coordinate() {
    int sign = rand_next() % 2;
    int magnitude = rand_next() % 1000;
    return meditation_coordinate(sign, magnitude);
}

void meditation_scatter(particle_system* system) {
    for (int i = 0; i < system->count; ++i) {
        particle& p = system->particles[i];
        p.alive = 1;
        float z = meditation_draw_coordinate();
        float y = meditation_draw_coordinate();
        float x = meditation_draw_coordinate();
        particle_set_position(system, i, x, y, z);
        particle_set_velocity(system, i, 0, 0, 0);
        particle_set_acceleration(system, i, 0, 0, 0);
        p.texture_slot = 0;
    }
}

void meditation_circle_rotations(float a, meditation_rotation out[MEDITATION_CIRCLES]) {
    out[0] = {a * 25 + 10, {1, 1, 1}};
    out[1] = {a * 35 + 20, {-0.75f, 0.5f, 2}};
    out[2] = {a * 75 + 50, {-2, 0.5f, 0.75f}};
}


float meditation_particle_turn(int k, float T) {
    return static_cast<float>(k) * T * -0.010000001f;
}

float meditation_particle_cluster(int k, float T) {
    return static_cast<float>(static_cast<double>(T) * k * 0.01);
}

static int meditation_texture(const char* path, int options) {
    int index = texture_load(path);
    if (index < 0) fatal_error("meditation: Error loading texture %s", path);
    if (options) texture_set_options(index, options);
    texture_upload(index);
    return index;
}

void meditation_load() {
    meditation_model = model_load(MEDITATION_MODEL_DIR, MEDITATION_MODEL_FILE);
    if (!meditation_model) fatal_error("Error loading model '%s'", MEDITATION_MODEL_FILE);
    meditation_sky = skybox_create(MEDITATION_SKY_IMAGE, SKYBOX_JPG, 0);
    if (!meditation_sky) fatal_error("meditation: Error loading skybox %s", MEDITATION_SKY_IMAGE);
    skybox_upload(meditation_sky);
    meditation_flare = meditation_texture(MEDITATION_FLARE_IMAGE, TEXTURE_MODULATE);
    meditation_reflection = meditation_texture(MEDITATION_REFLECTION_IMAGE, TEXTURE_MODULATE);
    meditation_circle = meditation_texture(MEDITATION_CIRCLE_IMAGE, 0);
    meditation_camera = camera_create(CAMERA_LOOK_AT_MODE);
    camera_set_perspective(meditation_camera, 60, aspect_ratio);
    camera_set_roll(meditation_camera, 0);
    meditation_camera->far_clip = 1000;
    meditation_camera->near_clip = 0.01f;
    camera_set_position(meditation_camera, 0, 0, 2);
    camera_set_angles(meditation_camera, 0, 0, 0);
    camera_set_target(meditation_camera, 0, 0, 0);
    meditation_particles = particles_create(MEDITATION_PARTICLES, 1.0f);
    // The billboards get their own copy of the flare, in the replace
    // environment, so they add at full strength whatever the colour.
    int sprite = texture_load(MEDITATION_FLARE_IMAGE);
    if (sprite < 0) fatal_error("meditation: Error loading texture %s", MEDITATION_FLARE_IMAGE);
    particles_add_texture(meditation_particles, sprite);
    meditation_scatter(meditation_particles);
    particles_upload_textures(meditation_particles);
    quad_init(&meditation_flare_quad, meditation_flare, 3, 3);
    quad_init(&meditation_circle_quad, meditation_circle, 2, 2);
}

// Takes the flicker's three draws, green, blue, alpha, in that order.
static void meditation_next_flicker(const meditation_clock& c, float colour[4]) {
    int g = rand_next() % 100;
    int b = rand_next() % 100;
    int a = rand_next() % 100;
    meditation_flicker(c, g, b, a, colour);
}

static void meditation_set_flicker(const meditation_clock& c) {
    float colour[4];
    meditation_next_flicker(c, colour);
    glColor4fv(colour);
}

// Leaves depth test off and blending on.
static void meditation_flare_cluster(float a) {
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    meditation_rotation turns[MEDITATION_FLARES];
    redsun_rotations(a, turns);
    glPushMatrix();
    for (const meditation_rotation& r : turns) {
        glRotatef(r.angle, r.axis[0], r.axis[1], r.axis[2]);
        quad_draw(&meditation_flare_quad);
    }
    glPopMatrix();
}

static void meditation_circle_cluster(float a) {
    meditation_rotation turns[MEDITATION_CIRCLES];
    meditation_circle_rotations(a, turns);
    glPushMatrix();
    for (const meditation_rotation& r : turns) {
        glRotatef(r.angle, r.axis[0], r.axis[1], r.axis[2]);
        quad_draw(&meditation_circle_quad);
    }
    glPopMatrix();
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

// One cluster of flares on every scattered point but the first: the point
// turned about the centre, then the six flares each turned on the turns
// before it, in the point's own flicker colour; all of them in one batch,
// under the current projection and view.
static void meditation_point_clusters(const particle_system* system, const meditation_clock& c, float T,
                                      quad_batch* batch) {
    float view[16], projection[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, view);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    quad_batch_clear(batch);
    for (int k = 1; k < system->count; ++k) {
        const float* p = system->particles[k].position;
        float colour[4];
        meditation_next_flicker(c, colour);
        float m[16];
        std::memcpy(m, view, sizeof m);
        mat4_rotate(m, meditation_particle_turn(k, T), 1, -0.5f, 0.75f);
        mat4_translate(m, p[0], p[1], p[2]);
        meditation_rotation turns[MEDITATION_FLARES];
        redsun_rotations(meditation_particle_cluster(k, T), turns);
        for (const meditation_rotation& r : turns) {
            mat4_rotate(m, r.angle, r.axis[0], r.axis[1], r.axis[2]);
            float mvp[16];
            std::memcpy(mvp, projection, sizeof mvp);
            mat4_multiply(mvp, m);
            quad_batch_add(batch, &meditation_flare_quad, mvp, colour);
        }
    }
}

static void meditation_sky_passes(float T) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(0, 0, 0, 0.1f);
    ring_scene_sky_layers(meditation_sky, meditation_camera, T, 1, 1, 1, 1);
    glDisable(GL_BLEND);
}

static void meditation_apply_camera() {
    camera_apply_projection(meditation_camera);
    camera_apply_view(meditation_camera);
}

void meditation_render() {
    current_camera = meditation_camera;
    float T = demo_time;
    meditation_clock c = meditation_clock_at(T);
    camera_set_perspective(meditation_camera, 60, aspect_ratio);
    meditation_apply_camera();
    free_camera_update(meditation_camera, frame_delta);
    meditation_sky_passes(T);
    meditation_apply_camera();
    draw_debug_axes();

    meditation_set_flicker(c);
    glPushMatrix();
    glRotatef(90, 1, 0, 0);
    glRotatef(180, 0, 0, 1);
    texture_bind(meditation_reflection);
    glScalef(0.6f, 0.6f, 0.6f);
    model_draw_sphere_mapped(meditation_model);
    glPopMatrix();
    meditation_flare_cluster(T);
    meditation_circle_cluster(T);

    meditation_apply_camera();
    const particle_system* system = meditation_particles;
    meditation_point_clusters(system, c, T, &meditation_clusters);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    quad_batch_draw(&meditation_clusters, meditation_flare);

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glPushMatrix();
    glRotatef(c.t10, 0, 1, 0);
    particles_draw(system);
    glPopMatrix();
    glDisable(GL_BLEND);
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

const section_reads meditation_reads = {
    "a cairn of polished stones in a swirling dusk sky, wrapped in spinning flares; animates on the demo clock itself",
    {{}, {}, {}, {}},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
