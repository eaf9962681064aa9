// flash: phase selection, the ring of each phase and the stretched sky
// layers.
#include "scenes/flash.h"

#include <GL/gl.h>
#include <cmath>

#include "core/clock.h"
#include "core/section.h"
#include "effects/quads.h"
#include "platform/video.h"
#include "resources/free_camera.h"
#include "resources/texture.h"
#include "scenes/ring_scene.h"

static const char* const TYPE_NAME = "flash";
static const float TWO_PI = 6.2831855f;

static skybox* sky[2] = {nullptr, nullptr};
static camera* flash_camera = nullptr;
static particle_system* ring = nullptr;

void flash_ring(particle_system* system, int phase, float tp) {
    for (int k = 0; k < system->count; ++k) {
        particle* p = &system->particles[k];
        float x = k * TWO_PI / FLASH_RING;
        float r = 2 * std::sin(100 * x) + 8;
        p->alive = 1;
        if (phase == 1) {
            particle_set_position(system, k, std::cos(x * tp) * r, std::cos(8 * x), std::sin(x) * r);
        } else {
            float bend = std::sin(x * tp);
            if (bend > 0) particle_set_position(system, k, std::log(bend) * r, std::cos(8 * x), std::sin(x) * r);
            else p->alive = 0;
        }
        particle_set_colour(system, k, 0.5f, 0.1f, 0.1f, 1.0f);
        p->texture_slot = 0;
    }
}

float flash_sky_scale(int phase, float tp) {
    double g;
    if (phase == 2) g = std::tan(tp * 1.5707964f) + 0.5f;
    else if (phase == 3) g = std::tan(tp * 1.570796327 - 1.570796327) + 1.5;
    else return 1;
    if (!(g > -FLASH_SKY_SCALE_MAX)) return -FLASH_SKY_SCALE_MAX;  // also NaN
    if (g > FLASH_SKY_SCALE_MAX) return FLASH_SKY_SCALE_MAX;
    return static_cast<float>(g);
}

void flash_load() {
    sky[0] = ring_scene_load_skybox(TYPE_NAME, "data/skyboxes/flash.jpg");
    sky[1] = ring_scene_load_skybox(TYPE_NAME, "data/skyboxes/flash2.jpg");
    flash_camera = ring_scene_camera_create(1, 0, 8, 0, 0, 0);
    ring = ring_scene_pool(TYPE_NAME, FLASH_RING, 0.5f, "data/textures/01logos/blueflare.jpg");
}

static void apply_camera() {
    camera_apply_projection(flash_camera);
    camera_apply_view(flash_camera);
}

void flash_render() {
    const section& s = *current_section;
    current_camera = flash_camera;
    float tp;
    int phase = ring_scene_phase(demo_time - s.start, s.syncs, FLASH_SYNCS, &tp);
    if (phase > 1) {
        camera_set_perspective(flash_camera, 150, aspect_ratio);
        camera_set_position(flash_camera, 0.1f, 0.1f, 0.1f);
        camera_set_angles(flash_camera, tp * 20, tp * 25, tp * 15);
    }
    apply_camera();
    free_camera_update(flash_camera, frame_delta);
    // Five sky layers, each adding its picture at 5 % (10 % once stretched).
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(0, 0, 0, phase == 1 ? 0.05f : 0.1f);
    ring_scene_sky_layers(sky[phase == 1 ? 0 : 1], flash_camera, tp, flash_sky_scale(phase, tp), 1, 0, 0);
    glDisable(GL_BLEND);
    draw_debug_axes();
    apply_camera();
    flash_ring(ring, phase, tp);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_SRC_ALPHA);
    glPushMatrix();
    glRotatef(tp * 10, 0, 1, 0);
    particles_draw(ring);
    glPopMatrix();
    glDisable(GL_BLEND);
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

static const section_field flash_syncs[] = {
    {"phase2", "seconds from the start at which the camera starts to spin among the violet clouds", nullptr},
    {"phase3", "seconds from the start at which the ring is bent into a fan", nullptr},
};
const section_reads flash_reads = {
    "a ring of sprites before a turning cloud sky, then a spinning camera among violet clouds; sets its own camera",
    {{}, {}, {}, SECTION_FIELDS(flash_syncs)},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
