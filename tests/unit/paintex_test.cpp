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
#include "tools/assets/captions_flares.h"

namespace {

// ---------------------------------------------------------------------------
// lines
// ---------------------------------------------------------------------------

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

// ---------------------------------------------------------------------------
// flare
// ---------------------------------------------------------------------------

struct flare_case {
    const char* name;
    float t, duration;
    float camera_z, alpha, tumble, tilt, spin, scale;
};

// ---------------------------------------------------------------------------
// paintex
// ---------------------------------------------------------------------------

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

}  // namespace
