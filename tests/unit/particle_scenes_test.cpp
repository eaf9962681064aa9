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

// ---------------------------------------------------------------------------
// knots
// ---------------------------------------------------------------------------

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

// ---------------------------------------------------------------------------
// thelake
// ---------------------------------------------------------------------------

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
