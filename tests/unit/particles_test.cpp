// Particle pools: integration over several steps against worked answers, the
// fade law's edge cases, billboard geometry and pool bounds.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "effects/particles.h"
#include "tests/test_support.h"

namespace {

// A system released at scope end.
struct pool {
    particle_system* sys;
    pool(int count, float size) : sys(particles_create(count, size)) {}
    ~pool() { particles_free(sys); }
};

struct step_case {
    const char* name;
    float velocity[3], acceleration[3];
    float life, alpha, dt;
    int steps;
    float position[3], velocity_after[3];
    float life_after, alpha_after;
    int alive_after;
};

const float INF = std::numeric_limits<float>::infinity();

const step_case step_cases[] = {
    // Life 2.5 in steps of 0.5 leaves 2, 1.5, 1, 0.5: alpha loses 0.25, 1/3,
    // 0.5 and 1.
    {"constant velocity", {1, 2, 3}, {0, 0, 0}, 2.5f, 1, 0.5f, 4, {2, 4, 6}, {1, 2, 3}, 0.5f,
     1 - 0.25f - 1 / 3.0f - 0.5f - 1, 1},
    // The position moves with the velocity from before each step: 0, -1, -2.
    {"gravity", {0, 0, 0}, {0, -10, 0}, 10, 1, 0.1f, 3, {0, -0.3f, 0}, {0, -3, 0}, 9.7f,
     1 - 0.1f / 9.9f - 0.1f / 9.8f - 0.1f / 9.7f, 1},
    {"life exactly 0 stays alive", {0, 0, 0}, {0, 0, 0}, 0.5f, 1, 0.5f, 1, {0, 0, 0},
     {0, 0, 0}, 0, -INF, 1},
    // 1 - 0.5 / -0.25: the killing step raises alpha.
    {"life below 0 dies", {2, 0, 0}, {0, 0, 0}, 0.25f, 1, 0.5f, 1, {1, 0, 0}, {2, 0, 0},
     -0.25f, 3, 0},
    // Dead after the first step, untouched by the second.
    {"dead particle is skipped", {2, 0, 0}, {1, 0, 0}, 0.25f, 1, 0.5f, 2, {1, 0, 0},
     {2.5f, 0, 0}, -0.25f, 3, 0},
};

TEST(Particles, UpdateIntegratesAndFades) {
    for (const step_case& s : step_cases) {
        SCOPED_TRACE(s.name);
        pool owner(3, 1);
        particle_system* sys = owner.sys;
        // Particle 1 is the one under test; its dead neighbours must not move.
        particle_set_position(sys, 0, 5, 5, 5);
        particle_set_velocity(sys, 0, 1, 1, 1);
        particle_set_velocity(sys, 1, s.velocity[0], s.velocity[1], s.velocity[2]);
        particle_set_acceleration(sys, 1, s.acceleration[0], s.acceleration[1],
                                  s.acceleration[2]);
        particle_set_colour(sys, 1, 1, 1, 1, s.alpha);
        sys->particles[1].life = s.life;
        sys->particles[1].alive = 1;
        for (int i = 0; i < s.steps; i++) particles_update(s.dt, sys);
        const particle& p = sys->particles[1];
        for (int i = 0; i < 3; i++) {
            EXPECT_NEAR(p.position[i], s.position[i], 1e-5) << i;
            EXPECT_NEAR(p.velocity[i], s.velocity_after[i], 1e-5) << i;
            EXPECT_EQ(sys->particles[0].position[i], 5);
        }
        EXPECT_NEAR(p.life, s.life_after, 1e-5);
        if (std::isinf(s.alpha_after)) EXPECT_EQ(p.colour[3], s.alpha_after);
        else EXPECT_NEAR(p.colour[3], s.alpha_after, 1e-5);
        EXPECT_EQ(p.alive, s.alive_after);
        EXPECT_EQ(p.colour[0], 1);
    }
}

TEST(Particles, IndicesOutsideThePoolAreFatal) {
    catch_fatal guard;
    pool owner(2, 1);
    particle_system* sys = owner.sys;
    const int bad[] = {-1, 2, 1000000};
    for (int index : bad) {
        SCOPED_TRACE(index);
        EXPECT_THROW(particle_set_position(sys, index, 0, 0, 0), fatal_exception);
    }
    EXPECT_EQ(fatal_message([&] { particle_set_colour(sys, 2, 0, 0, 0, 0); }),
              "particle_set_colour: particle 2 outside a pool of 2");
    EXPECT_THROW(particles_create(-1, 1), fatal_exception);
}

TEST(Particles, BillboardFollowsTheModelviewAxes) {
    // Identity, and the look-at from (2, 0, 0) to the origin (screen right is
    // world -Z).
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const float side[16] = {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, -2, 1};
    struct { const float* m; float right[3], up[3]; } cases[] = {
        {identity, {2, 0, 0}, {0, 2, 0}},
        {side, {0, 0, -2}, {0, 2, 0}},
    };
    for (const auto& c : cases) {
        float right[3], up[3];
        particles_billboard_axes(c.m, 2, right, up);
        for (int i = 0; i < 3; i++) {
            EXPECT_FLOAT_EQ(right[i], c.right[i]);
            EXPECT_FLOAT_EQ(up[i], c.up[i]);
        }
    }
    const float p[3] = {1, 1, 1}, r[3] = {2, 0, 0}, u[3] = {0, 2, 0};
    float corners[4][3];
    particles_billboard_corners(p, r, u, corners);
    const float want[4][3] = {{-1, 3, 1}, {3, 3, 1}, {3, -1, 1}, {-1, -1, 1}};
    for (int k = 0; k < 4; k++)
        for (int i = 0; i < 3; i++) EXPECT_FLOAT_EQ(corners[k][i], want[k][i]) << k << "," << i;
}

}  // namespace
