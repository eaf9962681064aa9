// The scenes' own arithmetic: a sky scale that follows a tangent is clamped
// at its pole, the knot ring's waves, the scattered points on both sides of
// the middle, the column's feedback square centred.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "scenes/columna.h"
#include "scenes/flash.h"
#include "scenes/knots.h"
#include "scenes/meditation.h"
#include "core/random.h"

namespace {

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

// Around the ring the height rises and falls 8 times in the first phase,
// 16 in the second, and stays within one unit.
TEST(knots, ring_height_waves_by_phase) {
    particle_system* ring = particles_create(KNOTS_RING, 1);
    for (int phase : {1, 2}) {
        knots_ring(ring, phase, 0.5f);
        int rises = 0;
        for (int k = 0; k < KNOTS_RING; ++k) {
            float y = ring->particles[k].position[1], next = ring->particles[(k + 1) % KNOTS_RING].position[1];
            rises += y < 0 && next >= 0;
            EXPECT_LE(std::fabs(y), 1.0f);
        }
        EXPECT_EQ(rises, phase * 8) << "phase " << phase;
    }
    particles_free(ring);
}

// The scattered points lie on both sides of the middle on every axis, about
// half on each.
TEST(meditation, scatter_spreads_both_ways_on_every_axis) {
    particle_system* points = particles_create(1000, 1);
    rand_restart();
    meditation_scatter(points);
    for (int axis = 0; axis < 3; ++axis) {
        int below = 0;
        for (int i = 0; i < points->count; ++i) below += points->particles[i].position[axis] < 0;
        EXPECT_NEAR(below, 500, 80) << "axis " << axis;
    }
    particles_free(points);
}

// The largest power of two that fits target and window, centred on the target.
TEST(columna, feedback_square_is_centred_on_the_target) {
    const struct {
        int target_w, target_h, window_w, window_h;
        columna_feedback f;
    } cases[] = {
        {1024, 512, 1280, 720, {512, 256, 0}}, {512, 1024, 1280, 1024, {512, 0, 256}},
        {1024, 1024, 800, 600, {512, 256, 256}}, {0, 512, 800, 600, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        columna_feedback f = columna_feedback_region(c.target_w, c.target_h, c.window_w, c.window_h);
        EXPECT_EQ(std::make_tuple(f.size, f.x, f.y), std::make_tuple(c.f.size, c.f.x, c.f.y))
            << c.target_w << "x" << c.target_h << " in " << c.window_w << "x" << c.window_h;
    }
}

}  // namespace
