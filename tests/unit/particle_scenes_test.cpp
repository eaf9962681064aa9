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

struct pool {
    particle_system* system;
    explicit pool(int count, float size = 1) : system(particles_create(count, size)) {}
    ~pool() { particles_free(system); }
    const particle& operator[](int k) const { return system->particles[k]; }
};

// ---------------------------------------------------------------------------
// Phases
// ---------------------------------------------------------------------------

// ---------------------------------------------------------------------------
// knots
// ---------------------------------------------------------------------------

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

}  // namespace
