// The model scenes' arithmetic without a window: how much of a model the
// builder and paranoia scenes have built (a build of no length is finished),
// and the power-of-two squares the column and the final logo copy the frame
// into, centred in what they copy from.
#include <gtest/gtest.h>

#include <cmath>

#include "scenes/3Dbuilder.h"
#include "scenes/columna.h"
#include "scenes/logofinal.h"
#include "scenes/paranoia.h"

namespace {

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

TEST(columna, feedback_square_is_a_power_of_two_centred_in_the_target) {
    const struct {
        const char* name;
        int tw, th, ww, wh;
        int size, x, y;
    } cases[] = {
        {"default target", 512, 512, 800, 600, 512, 0, 0},
        {"wide target", 640, 480, 800, 600, 256, 192, 112},
        {"odd target", 300, 200, 800, 600, 128, 86, 36},
        {"window smaller than the target", 512, 512, 400, 300, 256, 128, 128},
        {"one pixel", 1, 1, 1, 1, 1, 0, 0},
        {"no target", 0, 512, 800, 600, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        columna_feedback f = columna_feedback_region(c.tw, c.th, c.ww, c.wh);
        EXPECT_EQ(f.size, c.size);
        EXPECT_EQ(f.x, c.x);
        EXPECT_EQ(f.y, c.y);
    }
}

TEST(logofinal, mirror_is_the_largest_centred_power_of_two_inside_target_and_window) {
    const struct {
        const char* name;
        int tw, th, ww, wh;
        int w, h, x, y;
    } cases[] = {
        {"square target", 512, 512, 800, 600, 512, 512, 0, 0},
        {"wide target", 640, 480, 800, 600, 512, 256, 64, 112},
        {"odd sizes", 300, 200, 800, 600, 256, 128, 22, 36},
        {"target larger than the window", 1024, 1024, 800, 600, 512, 512, 144, 44},
        {"one pixel", 1, 1, 1, 1, 1, 1, 0, 0},
        {"nothing", 0, -3, 800, 600, 1, 1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int w = -1, h = -1, x = -1, y = -1;
        logofinal_mirror_size(c.tw, c.th, c.ww, c.wh, &w, &h, &x, &y);
        EXPECT_EQ(w, c.w);
        EXPECT_EQ(h, c.h);
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.y);
    }
}

}  // namespace
