// Unit tests of the knots, flash, particle title and lake scenes without a
// window: phase selection at and around each sync, the rings of every phase,
// the explosion and sky scales where their formulas blow up, the title grid
// of pictures of any shape, and the lake's waves and rain.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "core/random.h"
#include "effects/pathway.h"
#include "resources/camera.h"
#include "resources/spline.h"
#include "scenes/flash.h"
#include "scenes/knots.h"
#include "scenes/particletitle.h"
#include "scenes/ring_scene.h"
#include "scenes/thelake.h"

namespace {

// A spline from literal keys, spread over `duration` seconds.
spline make_spline(const std::vector<std::vector<float>>& keys, float duration) {
    spline s = {};
    s.count = static_cast<int>(keys.size());
    s.keys = static_cast<spline_key*>(calloc(keys.size(), sizeof(spline_key)));
    for (size_t k = 0; k < keys.size(); ++k)
        for (int c = 0; c < SPLINE_CHANNELS; ++c) s.keys[k].values[c] = keys[k][c];
    spline_spread_times(&s, duration);
    return s;
}

struct pool {
    particle_system* system;
    explicit pool(int count, float size = 1) : system(particles_create(count, size)) {}
    ~pool() { particles_free(system); }
    const particle& operator[](int k) const { return system->particles[k]; }
};

void expect_position(const particle& p, float x, float y, float z, float tolerance = 1e-4f) {
    EXPECT_NEAR(p.position[0], x, tolerance);
    EXPECT_NEAR(p.position[1], y, tolerance);
    EXPECT_NEAR(p.position[2], z, tolerance);
}

// ---------------------------------------------------------------------------
// Phases
// ---------------------------------------------------------------------------

TEST(ring_scene, phase_is_chosen_by_strict_less_than_against_each_sync) {
    const float three[] = {2, 5, 9};
    const float two[] = {3, 4};
    const struct {
        const float* syncs;
        int bounds;
        float t;
        int phase;
        float tp;
    } cases[] = {
        {three, 3, 0, 1, 0},      {three, 3, 1.999f, 1, 1.999f}, {three, 3, 2, 2, 0},
        {three, 3, 4.5f, 2, 2.5f}, {three, 3, 5, 3, 0},          {three, 3, 8.75f, 3, 3.75f},
        {three, 3, 9, 4, 0},      {three, 3, 12, 4, 3},          {two, 2, 2.5f, 1, 2.5f},
        {two, 2, 3, 2, 0},        {two, 2, 3.999f, 2, 0.999f},   {two, 2, 4, 3, 0},
        {two, 2, 7, 3, 3},
    };
    for (const auto& c : cases) {
        float tp = -1;
        EXPECT_EQ(ring_scene_phase(c.t, c.syncs, c.bounds, &tp), c.phase) << c.t;
        EXPECT_NEAR(tp, c.tp, 1e-5f) << c.t;
    }
}

// ---------------------------------------------------------------------------
// knots
// ---------------------------------------------------------------------------

TEST(knots, ring_follows_each_phase_curve) {
    pool ring(KNOTS_RING);
    knots_ring(ring.system, 1, 0);
    expect_position(ring[0], 8, 1, 0);
    expect_position(ring[10], 7.363634f, 0.555570f, 0.908218f);
    knots_ring(ring.system, 2, 0.5f);
    expect_position(ring[0], 5, 1, 0);
    expect_position(ring[10], 4.386195f, -0.382684f, 0.271003f);
    knots_ring(ring.system, 2, 0);  // at the sync the ring is flat in z
    for (int k = 0; k < KNOTS_RING; k += 37) EXPECT_EQ(ring[k].position[2], 0) << k;
    knots_ring(ring.system, 3, 2);
    expect_position(ring[10], 10.320413f, 0.008296f, 2.041734f);
    knots_ring(ring.system, 4, 2);
    expect_position(ring[10], 10.320413f, 0.008296f, 2.041734f);
    // At the start of phase 3 the whole ring sits at one point.
    knots_ring(ring.system, 3, 0);
    for (int k = 0; k < KNOTS_RING; k += 51) expect_position(ring[k], 8, 1, 0);
    for (int k = 0; k < KNOTS_RING; k += 51) {
        EXPECT_EQ(ring[k].colour[0], 0.5f);
        EXPECT_EQ(ring[k].colour[1], 0.1f);
        EXPECT_EQ(ring[k].colour[3], 1.0f);
    }
}

TEST(knots, explosion_scale_pulses_about_tp_plus_four_and_stays_finite_at_zero) {
    const struct {
        float tp, scale, tolerance;
    } cases[] = {
        {0, 4, 1e-3f},           {1e-9f, 4, 1e-3f},  {0.1f, 0.039723f, 1e-4f},
        {0.25f, 0.091117f, 1e-4f}, {0.5f, 4.5f, 1e-4f}, {0.75f, 5.613046f, 1e-4f},
        {1, 5, 1e-4f},
    };
    for (const auto& c : cases) {
        float s = knots_explosion_scale(c.tp);
        EXPECT_TRUE(std::isfinite(s)) << c.tp;
        EXPECT_NEAR(s, c.scale, c.tolerance) << c.tp;
    }
}

// ---------------------------------------------------------------------------
// flash
// ---------------------------------------------------------------------------

TEST(flash, ring_is_bent_by_a_logarithm_and_skips_particles_without_one) {
    pool ring(FLASH_RING, 0.5f);
    knots_ring(ring.system, 1, 0);  // junk from another scene's layout first
    flash_ring(ring.system, 1, 0);
    for (int k = 0; k < FLASH_RING; k += 99) {
        EXPECT_TRUE(ring[k].alive);
        // cos 0 = 1: every x is the radius, and the ring is a flat curve.
        float x = k * 6.2831855f / FLASH_RING;
        EXPECT_NEAR(ring[k].position[0], 2 * std::sin(100 * x) + 8, 1e-4f) << k;
    }
    flash_ring(ring.system, 1, 2);
    expect_position(ring[100], 2.472137f, 0.309017f, 4.702284f);
    // At the phase's start nothing has a logarithm: none is drawn.
    flash_ring(ring.system, 2, 0);
    int alive = 0;
    for (int k = 0; k < FLASH_RING; ++k) alive += ring[k].alive != 0;
    EXPECT_EQ(alive, 0);
    // A second in, only the half where sin x > 0 (k = 1..499) is left.
    flash_ring(ring.system, 2, 1);
    alive = 0;
    for (int k = 0; k < FLASH_RING; ++k) alive += ring[k].alive != 0;
    EXPECT_EQ(alive, 499);
    EXPECT_FALSE(ring[0].alive);
    EXPECT_FALSE(ring[500].alive);
    EXPECT_TRUE(ring[499].alive);
    expect_position(ring[100], -4.251151f, 0.309017f, 4.702284f);
    EXPECT_NEAR(ring[250].position[0], 0, 1e-4f);  // ln sin(pi / 2) = 0
    flash_ring(ring.system, 3, 0.5f);
    expect_position(ring[100], -9.394876f, 0.309017f, 4.702284f);
    // Phase 1 brings every particle back.
    flash_ring(ring.system, 1, 0.5f);
    for (int k = 0; k < FLASH_RING; ++k) ASSERT_TRUE(ring[k].alive) << k;
}

TEST(flash, sky_scale_follows_the_tangent_and_is_clamped_where_it_is_infinite) {
    const float M = FLASH_SKY_SCALE_MAX;
    const struct {
        int phase;
        float tp, scale, tolerance;
    } cases[] = {
        {1, 0.3f, 1, 0},        {2, 0, 0.5f, 1e-6f},      {2, 0.25f, 0.914214f, 1e-5f},
        {2, 0.5f, 1.5f, 1e-5f}, {2, 0.999f, M, 0},
        {3, 0.75f, 1.085786f, 1e-5f}, {3, 0.5f, 0.5f, 1e-5f}, {3, 1, 1.5f, 1e-6f},
    };
    for (const auto& c : cases) {
        float g = flash_sky_scale(c.phase, c.tp);
        EXPECT_NEAR(g, c.scale, c.tolerance) << c.phase << " " << c.tp;
    }
    // Where the tangent has its pole the scale is a finite value of the
    // clamp, whichever side the rounding of pi / 2 lands on.
    for (float tp : {1.0f, 0.99999994f, 1.0000001f, 3.0f}) {
        float g = flash_sky_scale(2, tp);
        EXPECT_TRUE(std::isfinite(g)) << tp;
        EXPECT_LE(std::fabs(g), M) << tp;
    }
    for (float tp : {0.0f, 1e-7f, 2.0f}) EXPECT_LE(std::fabs(flash_sky_scale(3, tp)), M) << tp;
}

// ---------------------------------------------------------------------------
// particletitle
// ---------------------------------------------------------------------------

struct grid_case {
    const char* name;
    int width, height;
    int x, y;             // pixel
    float place_x, place_y;  // its grid place before the quarter turn
};

TEST(particletitle, grid_fills_the_title_rectangle_whatever_the_picture_shape) {
    const grid_case cases[] = {
        {"2:1, first pixel", 256, 128, 0, 0, -64, -128},
        {"2:1, last pixel", 256, 128, 255, 127, 63, 127},
        {"2:1, small", 4, 2, 3, 1, 0, 64},
        {"square, stretched across", 2, 2, 1, 1, 0, 0},
        {"square, top right", 4, 4, 3, 0, -64, 64},
        {"tall, stretched", 1, 4, 0, 3, 32, -128},
    };
    for (const grid_case& c : cases) {
        SCOPED_TRACE(c.name);
        pool particles(c.width * c.height);
        particletex_instance grid = {};
        grid.particles = particles.system;
        ptitle_grid(&grid, c.width, c.height);
        int k = c.y * c.width + c.x;
        particles.system->particles[k].alive = 1;
        particle_set_velocity(particles.system, k, 10, -20, 30);  // the start offset
        // At the start the offset is added in full; at the end it is gone.
        particletex_place(&grid, 0, 4, 1, 1);
        expect_position(particles[k], c.place_x + 10, c.place_y - 20, 30);
        particletex_place(&grid, 2, 4, 1, 1);
        expect_position(particles[k], c.place_x + 5, c.place_y - 10, 15);
        particletex_place(&grid, 4, 4, 1, 1);
        expect_position(particles[k], c.place_x, c.place_y, 0);
        EXPECT_EQ(particles[k].colour[3], 1);
    }
}

TEST(particletitle, title_scale_grows_to_one_and_four_tenths_by_the_end) {
    const struct {
        float tp, d2, scale;
    } cases[] = {{0, 4, 1}, {2, 4, 1.2f}, {4, 4, 1.4f}, {1, 0, 1}, {1, -3, 1}};
    for (const auto& c : cases) EXPECT_NEAR(ptitle_title_scale(c.tp, c.d2), c.scale, 1e-6f) << c.tp;
}

TEST(particletitle, camera_takes_position_angles_and_target_from_the_spline) {
    spline path = make_spline({{1, 2, 3, 10, 20, 30, 4, 5, 6}, {3, 2, 1, 30, 20, 10, 6, 5, 4}}, 2);
    camera* cam = camera_create(CAMERA_LOOK_AT_MODE);
    ptitle_camera_from_spline(cam, &path, 0);
    EXPECT_EQ(cam->position[0], 1);
    EXPECT_EQ(cam->position[2], 3);
    EXPECT_EQ(cam->pitch, 10);
    EXPECT_EQ(cam->yaw, 20);
    EXPECT_EQ(cam->twist, 30);
    EXPECT_EQ(cam->target[0], 4);
    EXPECT_EQ(cam->target[2], 6);
    ptitle_camera_from_spline(cam, &path, 5);  // past the end: the last key
    EXPECT_EQ(cam->position[0], 3);
    EXPECT_EQ(cam->pitch, 30);
    EXPECT_EQ(cam->target[2], 4);
    spline_free(&path);
    free(cam);
}

// ---------------------------------------------------------------------------
// thelake
// ---------------------------------------------------------------------------

TEST(thelake, grid_spans_the_water_with_its_picture_upright) {
    static lake_grid grid;
    lake_grid_build(&grid);
    const lake_vertex& first = grid.vertices[0];
    const lake_vertex& last = grid.vertices[LAKE_ROWS * LAKE_COLUMNS - 1];
    const lake_vertex& inner = grid.vertices[30 * LAKE_COLUMNS + 25];
    EXPECT_EQ(first.position[0], -600);
    EXPECT_EQ(first.position[2], -250);
    EXPECT_EQ(first.base[0], 0);
    EXPECT_EQ(first.base[1], 1);
    EXPECT_NEAR(last.position[0], 600, 1e-3f);
    EXPECT_NEAR(last.position[2], 250, 1e-3f);
    EXPECT_NEAR(last.base[0], 1, 1e-6f);
    EXPECT_NEAR(last.base[1], 0, 1e-6f);
    EXPECT_NEAR(inner.position[0], -300, 1e-3f);
    EXPECT_NEAR(inner.position[2], 0, 1e-3f);
    EXPECT_NEAR(inner.base[1], 0.5f, 1e-6f);
}

TEST(thelake, waves_move_the_heights_and_ripple_the_reflection) {
    static lake_grid grid;
    lake_grid_build(&grid);
    lake_wave(&grid, 0);
    // At T = 0 row 0 is the second wave alone; rows 2 and 3 pair up.
    for (int j : {0, 4, 57}) {
        EXPECT_NEAR(grid.vertices[j].position[1], 1.6 * std::cos(j / 2.3), 1e-5) << j;
        EXPECT_EQ(grid.vertices[2 * LAKE_COLUMNS + j].position[1],
                  grid.vertices[3 * LAKE_COLUMNS + j].position[1]);
        EXPECT_NE(grid.vertices[2 * LAKE_COLUMNS + j].position[1],
                  grid.vertices[4 * LAKE_COLUMNS + j].position[1]);
    }
    EXPECT_NEAR(grid.vertices[4].position[1], -0.268064f, 1e-5f);
    EXPECT_NEAR(grid.vertices[0].ripple[0], 0.0006f, 1e-7f);
    EXPECT_NEAR(grid.vertices[0].ripple[1], 1.0016f, 1e-6f);
    lake_wave(&grid, 1);
    EXPECT_NEAR(grid.vertices[5 * LAKE_COLUMNS + 7].position[1], -0.736218f, 1e-5f);
    EXPECT_NEAR(lake_height(5, 7, 1), -0.736218, 1e-6);
    lake_wave(&grid, 0.5f);
    const lake_vertex& v = grid.vertices[3 * LAKE_COLUMNS + 10];
    EXPECT_NEAR(v.ripple[0], 0.100381f, 1e-6f);
    EXPECT_NEAR(v.ripple[1], 0.948978f, 1e-6f);
    // The ripple is a small offset from the fixed base, which never moves.
    EXPECT_NEAR(v.base[0], 0.1f, 1e-7f);
    EXPECT_NEAR(v.base[1], 1 - 3 / 60.0f, 1e-7f);
    EXPECT_NEAR(v.position[0], 10 * 12 - 600, 1e-4f);
    for (int k = 0; k < LAKE_ROWS * LAKE_COLUMNS; k += 97) {
        EXPECT_LE(std::fabs(grid.vertices[k].ripple[0] - grid.vertices[k].base[0]), 0.0013f + 1e-6f);
        EXPECT_LE(std::fabs(grid.vertices[k].ripple[1] - grid.vertices[k].base[1]), 0.0029f + 1e-6f);
        EXPECT_LE(std::fabs(grid.vertices[k].position[1]), 3.9f + 1e-5f);
    }
}

TEST(thelake, rain_falls_with_its_own_constant_acceleration_and_sinks_at_the_water) {
    pool rain(4, 2);
    rand_restart();  // draws 16838, 5758, 10113, 17515
    lake_rain_fill(rain.system, 0.2f, 0.4f, 0.6f);
    const float falls[] = {-0.19f, -0.29f, -0.065f, -0.075f};
    for (int k = 0; k < 4; ++k) {
        EXPECT_FALSE(rain[k].alive);
        EXPECT_EQ(rain[k].life, PATHWAY_LIFE);
        EXPECT_EQ(rain[k].acceleration[0], 0);
        EXPECT_NEAR(rain[k].acceleration[1], falls[k], 1e-6f) << k;
        EXPECT_EQ(rain[k].acceleration[2], 0);
        EXPECT_EQ(rain[k].colour[2], 0.6f);
        EXPECT_EQ(rain[k].colour[3], 1);
    }
    particle* p = rain.system->particles;
    p[0].alive = 1, p[0].position[1] = -0.001f;  // just under: sinks
    p[1].alive = 1, p[1].position[1] = 0;        // on the surface: stays
    p[2].alive = 0, p[2].position[1] = -5;       // already dead
    p[3].alive = 1, p[3].position[1] = 12;
    EXPECT_EQ(lake_rain_sink(rain.system), 1);
    EXPECT_FALSE(p[0].alive);
    EXPECT_TRUE(p[1].alive);
    EXPECT_FALSE(p[2].alive);
    EXPECT_TRUE(p[3].alive);
}

TEST(thelake, rain_past_the_end_of_its_path_falls_from_the_last_key) {
    // A two-second path and a section that runs a second longer: drops
    // emitted late start at the path's last point.
    spline path = make_spline({{-10, 20, 0, 0, 0, 0, 0, 0, 0}, {10, 30, 5, 0, 0, 0, 0, 0, 0}}, 2);
    pool rain(pathway_pool_size(3, 2));
    lake_rain_fill(rain.system, 1, 1, 1);
    pathway_instance lake = {};
    lake.particles = rain.system;
    pathway_emit(&lake, &path, 2, 3.2f);
    ASSERT_EQ(rain.system->count, 6);
    for (int k = 0; k < 6; ++k) EXPECT_TRUE(rain[k].alive) << k;
    expect_position(rain[5], 10, 30, 5);  // path time 3.0
    expect_position(rain[4], 10, 30, 5);  // path time 2.5
    expect_position(rain[3], 10, 30, 5);  // path time 2.0, the end itself
    EXPECT_LT(rain[0].position[0], 0);    // path time 0.5, on the way
    spline_free(&path);
}

}  // namespace
