// The scenes' own arithmetic: a sky scale that follows a tangent is clamped
// at its pole, a model built over no time is whole rather than divided by
// zero, the painted caption's sparks take the pixel's own colour (no sign
// widening of bytes above 127), the knot ring's waves, the scattered points
// on both sides of the middle, the column's feedback square centred.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

#include "resources/texture.h"
#include "scenes/3Dbuilder.h"
#include "scenes/columna.h"
#include "scenes/flash.h"
#include "scenes/knots.h"
#include "scenes/meditation.h"
#include "scenes/paintex.h"
#include "core/random.h"
#include "tests/test_support.h"
#include "assetlib/asset_io.h"

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

TEST(build_fraction, fraction_runs_from_nothing_to_whole_and_no_length_is_whole) {
    const struct {
        const char* name;
        float t, duration, fraction;
    } cases[] = {
        {"at the start", 0, 8, 0},
        {"a quarter in", 2, 8, 0.25f},
        {"at the end", 8, 8, 1},
        {"zero duration at its start", 0, 0, 1},
        {"zero duration later", 3, 0, 1},
        // A section without an end line: end 0 before its start.
        {"negative length", 1, -2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        float f = build_fraction(c.t, c.duration);
        EXPECT_TRUE(std::isfinite(f));
        EXPECT_FLOAT_EQ(f, c.fraction);
    }
}

// The spark takes the pixel's own red, green and blue, also when a byte has
// its top bit set (no sign widening), from a picture loaded as the scene
// loads its captions.
TEST(paintex, spark_colour_is_the_pixels_own_colour) {
    temp_dir dir;
    rgb_image image(3, 2, 3);
    const unsigned char colours[6][3] = {{200, 40, 90}, {10, 250, 130}, {0, 0, 255},
                                         {255, 255, 255}, {128, 129, 127}, {0, 0, 0}};
    for (int i = 0; i < 6; ++i)
        for (int c = 0; c < 3; ++c) image.pixels[i * 3 + c] = colours[i][c];
    std::string path = dir.file("caption.tga");
    asset_write_tga(path, image);
    int index = texture_load(path.c_str());
    ASSERT_GE(index, 0);
    const texture* record = texture_table[index];
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        float rgb[3];
        paintex_pixel_colour(record, i % 3, i / 3, rgb);
        for (int c = 0; c < 3; ++c) EXPECT_FLOAT_EQ(rgb[c], colours[i][c] / 255.0f);
    }
    // Rows and columns past the picture read its nearest edge.
    float rgb[3];
    paintex_pixel_colour(record, 7, 255, rgb);
    EXPECT_FLOAT_EQ(rgb[0], 0);
    paintex_pixel_colour(record, -1, 0, rgb);
    EXPECT_FLOAT_EQ(rgb[0], 200 / 255.0f);
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
        {512, 512, 800, 600, {512, 0, 0}},
        {1024, 512, 1280, 720, {512, 256, 0}},
        {512, 1024, 1280, 1024, {512, 0, 256}},
        {1024, 1024, 800, 600, {512, 256, 256}},
        {0, 512, 800, 600, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        columna_feedback f = columna_feedback_region(c.target_w, c.target_h, c.window_w, c.window_h);
        EXPECT_EQ(std::make_tuple(f.size, f.x, f.y), std::make_tuple(c.f.size, c.f.x, c.f.y))
            << c.target_w << "x" << c.target_h << " in " << c.window_w << "x" << c.window_h;
    }
}

}  // namespace
