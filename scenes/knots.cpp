// knots: phase selection, the ring of each phase, the sky layers and the
// explosion quad.
#include "scenes/knots.h"

#include <GL/gl.h>
#include <cmath>

#include "core/clock.h"
#include "core/section.h"
#include "effects/quads.h"
#include "resources/free_camera.h"
#include "resources/texture.h"
#include "scenes/ring_scene.h"

static const char* const TYPE_NAME = "knots";
static const float TWO_PI = 6.2831855f;
// ln tp is -infinity at 0; below this its product with sin(2 pi tp) is
// smaller than a thousandth, so the clamp does not show.
static const float EXPLOSION_MIN_TP = 1e-6f;

static skybox* sky[2] = {nullptr, nullptr};
static camera* knots_camera = nullptr;
static particle_system* ring = nullptr;
static textured_quad explosion;

void knots_ring(particle_system* system, int phase, float tp) {
    for (int k = 0; k < system->count; ++k) {
        float x, r, y, z;
        if (phase == 1) {
            x = k * TWO_PI / KNOTS_RING;
            r = 2 * std::sin(100 * x) + 8;
            y = std::cos(8 * x);
            z = std::sin(x) * r;
        } else if (phase == 2) {
            x = k * TWO_PI / KNOTS_RING;
            r = 2 * std::sin(100 * x) + 5;
            y = std::cos(16 * x);
            z = std::sin(x * tp) * r;
        } else {
            x = k * tp * 5 / KNOTS_RING;
            r = 2 * std::sin(100 * x) * tp + 8;
            y = std::cos(8 * x);
            z = std::sin(x) * r;
        }
        particle_set_position(system, k, std::cos(x) * r, y, z);
        particle_set_colour(system, k, 0.5f, 0.1f, 0.1f, 1.0f);
        system->particles[k].texture_slot = 0;
    }
}

float knots_explosion_scale(float tp) {
    float u = tp < EXPLOSION_MIN_TP ? EXPLOSION_MIN_TP : tp;
    return 3 * std::sin(TWO_PI * u) * std::log(u) + tp + 4;
}

void knots_load() {
    sky[0] = ring_scene_load_skybox(TYPE_NAME, "data/skyboxes/knots.jpg");
    sky[1] = ring_scene_load_skybox(TYPE_NAME, "data/skyboxes/knots2.jpg");
    knots_camera = ring_scene_camera_create(1, 0, 8, 7, 0, 4);  // as phase 1 places it
    ring = ring_scene_pool(TYPE_NAME, KNOTS_RING, 1.0f, "data/textures/01logos/blueflare.jpg");
    int picture = ring_scene_load_texture(TYPE_NAME, "data/textures/knots/explosion.jpg", TEXTURE_LINEAR, 1);
    quad_init(&explosion, picture, 10, 10);
}

// What a phase takes over from the phases before it, placed before the sky
// (which is drawn under the camera of the frame before): phase 1 looks from
// where the scene puts it with no turn, phase 2 places itself after the
// sky, phases 3 and 4 keep phase 2's target. So a frame depends on no more
// than the frame before it, whichever phases a run has drawn.
void knots_place_camera(camera* c, int phase) {
    if (phase == 1) {
        camera_set_position(c, 1, 0, 8);
        camera_set_target(c, 7, 0, 4);
        camera_set_angles(c, 0, 0, 0);
    } else if (phase >= 3) {
        camera_set_target(c, 0.1f, -100, 0.1f);
    }
}

static void apply_camera() {
    camera_apply_projection(knots_camera);
    camera_apply_view(knots_camera);
}

static void draw_ring(float tp, float shift) {
    glPushMatrix();
    if (shift != 0) glTranslatef(shift, shift, 0);
    glRotatef(tp * 10, 0, 1, 0);
    particles_draw(ring);
    glPopMatrix();
}

static void draw_explosion(float tp) {
    float s = knots_explosion_scale(tp);
    glPushMatrix();
    glRotatef(tp * 10, 0, 1, 0);
    glRotatef(90, 1, 0, 0);
    glScalef(s, s, 1);
    quad_draw(&explosion);
    glPopMatrix();
}

void knots_render() {
    const section& s = *current_section;
    current_camera = knots_camera;
    float tp;
    int phase = ring_scene_phase(demo_time - s.start, s.syncs, KNOTS_SYNCS, &tp);
    knots_place_camera(knots_camera, phase);
    apply_camera();
    free_camera_update(knots_camera, frame_delta);
    // The sky layers, each adding its picture at a quarter of its strength.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(0, 0, 0, 0.25f);
    ring_scene_sky_layers(sky[phase == 4 ? 1 : 0], knots_camera, tp, 1, 1, 0, 0);
    knots_ring(ring, phase, tp);
    if (phase == 1) {
        glDisable(GL_DEPTH_TEST);
        apply_camera();
        draw_ring(tp, 0);
    } else if (phase == 2) {
        camera_set_position(knots_camera, 0, 2 * tp - 1, 0);
        camera_set_target(knots_camera, 0.1f, -100, 0.1f);
        glColor4f(1, 0, 0, 0.8f);
        glDisable(GL_DEPTH_TEST);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        apply_camera();
        draw_explosion(tp);
        draw_ring(tp, 0);
    } else {
        if (phase == 3) {
            camera_set_position(knots_camera, 0, -5, 0);
            camera_set_angles(knots_camera, tp * 25, tp * 50, tp * 25);
        } else {
            camera_set_position(knots_camera, 0, -7, 0);
            camera_set_angles(knots_camera, tp * -50, tp * 25, 0);
        }
        apply_camera();
        glDisable(GL_DEPTH_TEST);
        draw_ring(tp, -4);
    }
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

static const section_field knots_syncs[] = {
    {"phase2", "seconds from the start at which the camera rises through the explosion", nullptr},
    {"phase3", "seconds from the start at which the camera spins and the ring unwinds", nullptr},
    {"phase4", "seconds from the start at which the ember-red sky takes over", nullptr},
};
const section_reads knots_reads = {
    "a ring of sprites on a knotted curve before a nebula sky, in four phases; sets its own camera",
    {{}, {}, {}, SECTION_FIELDS(knots_syncs)},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
