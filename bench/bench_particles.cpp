// A pool of 10,000 particles: one integration step, and one draw as
// billboards (one quad and one cached texture bind each) into the render
// target at 800 x 600. The draw needs a display (run under Xvfb).
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <SDL/SDL.h>

#include "core/random.h"
#include "core/settings.h"
#include "effects/particles.h"
#include "platform/video.h"
#include "resources/camera.h"
#include "resources/texture.h"

static const int POOL = 10000;

// Particles spread over a 4-unit cube, drifting and falling, with lives long
// enough that none dies during a run.
static particle_system* make_pool() {
    particle_system* sys = particles_create(POOL, 0.05f);
    for (int i = 0; i < POOL; i++) {
        particle_set_position(sys, i, rand_next() % 400 / 100.0f - 2,
                              rand_next() % 400 / 100.0f - 2, rand_next() % 400 / 100.0f - 2);
        particle_set_velocity(sys, i, rand_next() % 200 / 100.0f - 1, 1, 0);
        particle_set_acceleration(sys, i, 0, -0.5f, 0);
        particle_set_colour(sys, i, 1, 0.8f, 0.5f, 1);
        sys->particles[i].life = 1e6f;
        sys->particles[i].alive = 1;
    }
    return sys;
}

static void BM_particles_update(benchmark::State& state) {
    particle_system* sys = make_pool();
    for (auto _ : state) {
        particles_update(0.001f, sys);
        benchmark::DoNotOptimize(sys->particles[POOL - 1].position[1]);
    }
}
BENCHMARK(BM_particles_update)->Unit(benchmark::kMillisecond);

static bool open_window(benchmark::State& state) {
    if (!SDL_GetVideoSurface()) {
        settings_reset();
        gl_fullscreen = 0;
        gl_info = 0;
        video_start();
    }
    if (SDL_GetVideoSurface()) return true;
    state.SkipWithError("no window");
    return false;
}

static void BM_particles_draw(benchmark::State& state) {
    if (!open_window(state)) return;
    particle_system* sys = make_pool();
    int sprite = texture_create_empty(16, 16, GL_RGBA, 4);
    texture_set_options(sprite, TEXTURE_LINEAR | TEXTURE_CLAMP | TEXTURE_MODULATE);
    particles_add_texture(sys, sprite);
    particles_upload_textures(sys);
    camera* cam = camera_create(CAMERA_LOOK_AT_MODE);
    camera_set_position(cam, 0, 1, 6);
    camera_set_perspective(cam, 60, 4.0f / 3);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    for (auto _ : state) {
        frame_begin();
        camera_apply_projection(cam);
        camera_apply_view(cam);
        particles_draw(sys);
        glFinish();
    }
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}
BENCHMARK(BM_particles_draw)->Unit(benchmark::kMillisecond);
