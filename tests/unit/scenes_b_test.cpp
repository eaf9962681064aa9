// Unit tests of the lines, redsun, flare and paintex scenes' own arithmetic,
// without a window: the zigzag's draws and bounds, the red sun's colours,
// the flare's sizes and alphas, the painted caption's phases, edge and spark
// colours; and the pictures the generator makes for these scenes and titulo.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/random.h"
#include "resources/spline.h"
#include "resources/texture.h"
#include "scenes/flare.h"
#include "scenes/lines.h"
#include "scenes/paintex.h"
#include "scenes/redsun.h"
#include "tests/test_support.h"
#include "tools/assets/asset_io.h"
#include "tools/assets/scene_pictures_b.h"

namespace {

// ---------------------------------------------------------------------------
// lines
// ---------------------------------------------------------------------------

TEST(scenes_b_lines, strip_takes_width_then_x_and_y_of_each_point) {
    rand_restart();
    lines_strip strip = lines_next_strip();
    // The sequence opens 16838, 5758, 10113, 17515, 31051.
    EXPECT_EQ(strip.width, 5.0f);  // 16838 % 3 + 3
    EXPECT_FLOAT_EQ(strip.points[0][0], 0.58f);
    EXPECT_FLOAT_EQ(strip.points[0][1], 0.13f);
    EXPECT_FLOAT_EQ(strip.points[1][0], 0.15f);
    EXPECT_FLOAT_EQ(strip.points[1][1], 0.51f);
    // 21 draws a frame: the next strip starts at draw 22.
    rand_restart();
    for (int i = 0; i < 21; ++i) rand_next();
    int width_draw = rand_next();
    rand_restart();
    lines_next_strip();
    EXPECT_EQ(lines_next_strip().width, static_cast<float>(width_draw % 3 + 3));
}

TEST(scenes_b_lines, zigzag_stays_inside_the_square_short_of_its_far_edges) {
    rand_restart();
    bool widths[6] = {};
    float largest = 0;
    for (int frame = 0; frame < 2000; ++frame) {
        lines_strip strip = lines_next_strip();
        ASSERT_TRUE(strip.width == 3 || strip.width == 4 || strip.width == 5) << strip.width;
        widths[static_cast<int>(strip.width)] = true;
        for (const float* p : strip.points)
            for (int i = 0; i < 2; ++i) {
                ASSERT_GE(p[i], 0.0f);
                ASSERT_LE(p[i], 0.99f + 1e-6f);
                // Every coordinate is a whole number of hundredths.
                ASSERT_NEAR(p[i] * 100, std::round(p[i] * 100), 1e-3);
                if (p[i] > largest) largest = p[i];
            }
    }
    EXPECT_TRUE(widths[3] && widths[4] && widths[5]);
    EXPECT_NEAR(largest, 0.99f, 1e-6);
}

// ---------------------------------------------------------------------------
// redsun
// ---------------------------------------------------------------------------

struct redsun_case {
    const char* name;
    float params[12];
    float T;
    int rho;
    float r, g, b, a;
};

TEST(scenes_b_redsun, colour_swings_on_its_sines_and_flickers_with_the_draw) {
    const float half_pi = 1.5707963f;
    const redsun_case cases[] = {
        {"no swing: the base colour", {9, 0.8f, 0, 7, 0.3f, 0, 7, 0.1f, 0, 7, 0.6f, 0}, 3.7f, 55,
         0.8f, 0.3f, 0.1f, 0.6f},
        {"at T = 0 the sines are 0", {0, 0.5f, 2, 3, 0.4f, 2, 3, 0.2f, 2, 3, 0.1f, 1}, 0, 40,
         0.5f, 0.4f, 0.2f, 0.5f},
        // sin(pi/2) = 1 for red, sin(pi) = 0 for green, sin(3pi/2) = -1 for blue.
        {"a quarter turn of each",
         {0, 0.5f, 0.25f, half_pi, 0.5f, 0.25f, 2 * half_pi, 0.5f, 0.25f, 3 * half_pi, 0.2f, 0.5f},
         1, 99, 0.75f, 0.5f, 0.25f, 0.695f},
        {"the draw scales param 11 by hundredths", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0.1f, 2}, 1, 25,
         0, 0, 0, 0.6f},
    };
    for (const redsun_case& c : cases) {
        SCOPED_TRACE(c.name);
        float colour[4];
        redsun_colour(c.params, c.T, c.rho, colour);
        EXPECT_NEAR(colour[0], c.r, 1e-6);
        EXPECT_NEAR(colour[1], c.g, 1e-6);
        EXPECT_NEAR(colour[2], c.b, 1e-6);
        EXPECT_NEAR(colour[3], c.a, 1e-6);
    }
}

// ---------------------------------------------------------------------------
// flare
// ---------------------------------------------------------------------------

struct flare_case {
    const char* name;
    float t, duration;
    float camera_z, alpha, tumble, tilt, spin, scale;
};

TEST(scenes_b_flare, frame_grows_quadratically_and_fades_over_the_section) {
    const flare_case cases[] = {
        {"start", 0, 10, 20, 0.5f, 0, -80, 0, 0.1f},
        {"part way", 2, 8, 22, 0.375f, 60, -82, 100, 0.5f},
        {"end: gone", 10, 10, 30, 0, 300, -90, 500, 10.1f},
        // A section of no length: the fade counts as run, never NaN.
        {"no length", 0, 0, 20, 0, 0, -80, 0, 0.1f},
        {"no length, later", 3, 0, 23, 0, 90, -83, 150, 1.0f},
    };
    for (const flare_case& c : cases) {
        SCOPED_TRACE(c.name);
        flare_frame f = flare_frame_at(c.t, c.duration);
        EXPECT_FLOAT_EQ(f.camera_z, c.camera_z);
        EXPECT_TRUE(std::isfinite(f.alpha));
        EXPECT_NEAR(f.alpha, c.alpha, 1e-6);
        EXPECT_FLOAT_EQ(f.tumble, c.tumble);
        EXPECT_FLOAT_EQ(f.tilt, c.tilt);
        EXPECT_FLOAT_EQ(f.spin, c.spin);
        EXPECT_NEAR(f.scale, c.scale, 1e-5);
    }
}

// ---------------------------------------------------------------------------
// paintex
// ---------------------------------------------------------------------------

TEST(scenes_b_paintex, reveal_moves_the_right_edge_and_its_texture_coordinate_together) {
    const struct {
        float f, edge;
    } cases[] = {{0, -512}, {0.25f, -256}, {0.5f, 0}, {1, 512}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.f);
        textured_quad q;
        quad_init(&q, 3, 1024, 256);
        EXPECT_FLOAT_EQ(paintex_reveal(&q, c.f), c.edge);
        EXPECT_FLOAT_EQ(q.vertices[1][0], c.edge);
        EXPECT_FLOAT_EQ(q.vertices[2][0], c.edge);
        EXPECT_FLOAT_EQ(q.texcoords[1][0], c.f);
        EXPECT_FLOAT_EQ(q.texcoords[2][0], c.f);
        // The left edge, the heights and the rows stay.
        EXPECT_FLOAT_EQ(q.vertices[0][0], -512);
        EXPECT_FLOAT_EQ(q.vertices[3][0], -512);
        EXPECT_FLOAT_EQ(q.vertices[2][1], 128);
        EXPECT_FLOAT_EQ(q.texcoords[1][1], 1);
        EXPECT_FLOAT_EQ(q.texcoords[2][1], 0);
    }
}

TEST(scenes_b_paintex, phases_split_at_the_two_syncs) {
    const float syncs[2] = {4, 8};
    const struct {
        float t;
        paintex_phase_kind kind;
        float length;
    } cases[] = {{0, PAINTEX_REVEAL, 4}, {3.99f, PAINTEX_REVEAL, 4}, {4, PAINTEX_HOLD, 0},
                 {7.5f, PAINTEX_HOLD, 0}, {8, PAINTEX_END, 2}, {9.5f, PAINTEX_END, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.t);
        paintex_phase p = paintex_phase_at(c.t, syncs, 10, 20);
        EXPECT_EQ(p.kind, c.kind);
        EXPECT_FLOAT_EQ(p.length, c.length);
    }
}

TEST(scenes_b_paintex, title_caption_alone_takes_the_slow_camera) {
    EXPECT_FLOAT_EQ(paintex_camera_z(5, 0), 30);
    EXPECT_FLOAT_EQ(paintex_camera_z(5, 4), 31);
    EXPECT_FLOAT_EQ(paintex_camera_z(4.9f, 4), 21);  // truncates to 4, but not "exactly 5"
    EXPECT_FLOAT_EQ(paintex_camera_z(0, 0), 17);
    EXPECT_FLOAT_EQ(paintex_camera_z(2, 3.5f), 20.5f);
}

TEST(scenes_b_paintex, edge_column_stays_inside_the_image_and_the_axis_may_be_none) {
    EXPECT_EQ(paintex_edge_column(1024, 0), 0);
    EXPECT_EQ(paintex_edge_column(1024, 0.5f), 512);
    EXPECT_EQ(paintex_edge_column(1024, 0.9999f), 1023);
    EXPECT_EQ(paintex_edge_column(1024, 1), 1023);  // the last frame of the reveal
    EXPECT_EQ(paintex_edge_column(64, 0.3f), 19);
    const float none[7] = {0, 1, 2, 3, 0, 0, 0}, z_axis[7] = {0, 0, 0, 0, 0, 0, 1},
                x_axis[7] = {0, 0, 0, 0, -2, 0, 0};
    EXPECT_FALSE(paintex_has_axis(none));
    EXPECT_TRUE(paintex_has_axis(z_axis));
    EXPECT_TRUE(paintex_has_axis(x_axis));
}

// The spark takes the pixel's own red, green and blue, also when a byte has
// its top bit set (no sign widening), from a picture loaded as the scene
// loads its captions.
TEST(scenes_b_paintex, spark_colour_is_the_pixels_own_colour) {
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

// ---------------------------------------------------------------------------
// The generated pictures
// ---------------------------------------------------------------------------

float brightness(rgb_image& image, int x, int y) {
    const unsigned char* p = image.at(x, y);
    return (p[0] + p[1] + p[2]) / 765.0f;
}

TEST(scenes_b_pictures, caption_word_is_lit_in_the_middle_on_black_edges) {
    rgb_image caption = scene_caption("MUSIC", 1, 0.8f);
    ASSERT_EQ(caption.width, 1024);
    ASSERT_EQ(caption.height, 256);
    float border = 0, ink_in_middle_rows = 0;
    for (int x = 0; x < caption.width; ++x) {
        border += brightness(caption, x, 0) + brightness(caption, x, caption.height - 1);
        ink_in_middle_rows += brightness(caption, x, caption.height / 2) > 0.5f;
    }
    EXPECT_LT(border, 1.0f);
    EXPECT_GT(ink_in_middle_rows, 100);   // the letters cross the middle row
    EXPECT_LT(ink_in_middle_rows, 900);   // with gaps between them
    // A longer word is set smaller, still inside the picture.
    std::vector<float> wide = scene_text_coverage("MODELLING", 1024, 256, 0.8f);
    int first = 1024, last = -1;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 1024; ++x)
            if (wide[y * 1024 + x] > 0.5f) {
                if (x < first) first = x;
                if (x > last) last = x;
            }
    EXPECT_GT(first, 40);
    EXPECT_LT(last, 984);
    EXPECT_NEAR((first + last) / 2.0, 512, 30);  // centred
}

TEST(scenes_b_pictures, flares_fall_off_softly_to_black) {
    rgb_image grey = scene_grey_flare(64), wide = scene_wide_flare(512, 256), sun = scene_sun_flare(256);
    EXPECT_GT(brightness(grey, 32, 32), 0.8f);
    EXPECT_GT(brightness(grey, 32, 32), brightness(grey, 40, 32));
    EXPECT_GT(brightness(grey, 40, 32), brightness(grey, 50, 32));
    EXPECT_EQ(brightness(grey, 0, 0), 0.0f);
    const unsigned char* g = grey.at(40, 30);
    EXPECT_TRUE(g[0] == g[1] && g[1] == g[2]);  // grey
    EXPECT_GT(brightness(wide, 256, 128), 0.9f);
    EXPECT_GT(brightness(wide, 400, 128), brightness(wide, 400, 60));  // the streak
    EXPECT_LT(brightness(wide, 0, 0), 0.01f);
    const unsigned char* corona = sun.at(128 + 50, 128);
    EXPECT_GT(corona[0], corona[1]);
    EXPECT_GT(corona[1], corona[2]);
    EXPECT_LT(brightness(sun, 0, 0), 0.01f);
}

TEST(scenes_b_pictures, red_sun_orbit_is_a_camera_spline_looking_at_the_origin) {
    std::string text = scene_redsun_orbit(12);
    temp_dir dir;
    spline s = spline_load(dir.write("orbit.txt", text).c_str());
    ASSERT_EQ(s.count, 12);
    for (int k = 0; k < s.count; ++k) {
        const float* v = s.keys[k].values;
        float distance = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        EXPECT_GT(distance, 2.0f) << k;   // outside the 3 x 3 flares' reach
        EXPECT_LT(distance, 4.0f) << k;
        EXPECT_EQ(v[6], 0.0f);
        EXPECT_EQ(v[7], 0.0f);
        EXPECT_EQ(v[8], 0.0f);
    }
    spline_free(&s);
}

}  // namespace
