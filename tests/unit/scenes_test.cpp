// The scenes' own arithmetic: a sky scale that follows a tangent is clamped
// at its pole, the knot ring's waves, the scattered points on both sides of
// the middle, the column's feedback square centred, wheels in mesh, rain
// that falls into the lake, turns that speed up.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "scenes/columna.h"
#include "scenes/flash.h"
#include "scenes/gears.h"
#include "scenes/knots.h"
#include "scenes/loop.h"
#include "scenes/meditation.h"
#include "scenes/paranoia.h"
#include "scenes/thelake.h"
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

// Wheels in mesh roll their pitch circles on each other: rate times teeth
// (40, 15 and 10 for the three models) is the same for every wheel. The
// cube's opposite wheels, driven from between them, turn against each other.
TEST(gears, wheels_turn_at_their_tooth_ratios_and_opposite_wheels_counter_turn) {
    const int teeth[GEARS_MODELS] = {40, 15, 10};
    gears_wheel at1[GEARS_WHEELS], at2[GEARS_WHEELS];
    gears_wheels(1, at1);
    gears_wheels(2, at2);
    float spin[GEARS_WHEELS][3], pitch = 0;
    for (int w = 0; w < GEARS_WHEELS; ++w) {
        bool first = at2[w].first.angle != at1[w].first.angle;
        const gears_rotation& r = first ? at1[w].first : at1[w].second;
        float rate = (first ? at2[w].first : at2[w].second).angle - r.angle;
        if (w == 0) pitch = std::fabs(rate) * teeth[0];
        EXPECT_NEAR(std::fabs(rate) * teeth[at1[w].model], pitch, 0.1) << "wheel " << w;
        for (int i = 0; i < 3; ++i) spin[w][i] = rate * r.axis[i];
    }
    EXPECT_GT(pitch, 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(spin[0][i] + spin[1][i], 0, 1e-3) << "axis " << i;
        EXPECT_NEAR(spin[2][i] + spin[3][i], 0, 1e-3) << "axis " << i;
    }
}

// Drops let go above the water fall, each at its own pace, and those below
// it are taken away, the rest kept.
TEST(thelake, rain_falls_and_sinks_into_the_water) {
    particle_system* rain = particles_create(200, 1);
    rand_restart();
    lake_rain_fill(rain, 1, 1, 1);
    for (int k = 0; k < rain->count; ++k) {
        rain->particles[k].alive = 1;
        particle_set_position(rain, k, 0, 1, 0);
    }
    for (int step = 0; step < 20; ++step) particles_update(0.5f, rain);
    int below = 0, risen = 0;
    for (int k = 0; k < rain->count; ++k) {
        below += rain->particles[k].position[1] < 0;
        risen += rain->particles[k].position[1] > 1;
    }
    EXPECT_EQ(risen, 0);
    EXPECT_GT(below, 150);
    EXPECT_EQ(lake_rain_sink(rain), below);
    for (int k = 0; k < rain->count; ++k)
        EXPECT_EQ(rain->particles[k].alive != 0, rain->particles[k].position[1] >= 0) << k;
    particles_free(rain);
}

// The gold loop and the spiked ball turn ever faster.
TEST(scenes, loop_and_ball_turns_speed_up) {
    for (float (*turn)(float) : {loop_turn_angle, paranoia_turn_angle})
        EXPECT_GT(turn(11) - turn(10), 5 * (turn(2) - turn(1)));
}

}  // namespace
