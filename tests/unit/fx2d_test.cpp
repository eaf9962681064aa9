// Unit tests of the three post-processing section types' arithmetic (fade
// colours, radial blur keys, passes and zoom windows, warp grids per mode)
// and of the shared section check, without a window.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "core/section.h"
#include "core/section_check.h"
#include "effects/fader.h"
#include "effects/radial_blur.h"
#include "effects/render_mesh.h"
#include "tests/test_support.h"

namespace {

std::unique_ptr<section> make_section(int line, int params, int strings, int splines, int syncs) {
    std::unique_ptr<section> s(new section());
    s->line = line;
    s->param_count = params;
    s->string_count = strings;
    s->spline_count = splines;
    s->sync_count = syncs;
    return s;
}

// The message a failing call stops with, or "" when it returns.
template <typename F> std::string fatal_message(F call) {
    catch_fatal guard;
    try {
        call();
    } catch (const fatal_exception& e) {
        return e.what();
    }
    return "";
}

// ---------------------------------------------------------------------------
// section_require
// ---------------------------------------------------------------------------

struct require_case {
    int has[4];   // params, strings, splines, syncs
    int needs[4];
    const char* message;  // "" when the section passes
};

TEST(section_require, reports_the_first_shortfall_with_type_line_and_counts) {
    const require_case cases[] = {
        {{2, 0, 0, 0}, {2, 0, 0, 0}, ""},
        {{9, 3, 2, 5}, {2, 1, 1, 1}, ""},
        {{1, 0, 0, 0}, {2, 0, 0, 0}, "efxTest: section at line 12 needs 2 params, has 1"},
        {{0, 0, 0, 0}, {8, 0, 0, 0}, "efxTest: section at line 12 needs 8 params, has 0"},
        {{4, 1, 0, 0}, {4, 2, 0, 0}, "efxTest: section at line 12 needs 2 strings, has 1"},
        {{4, 2, 0, 0}, {4, 2, 1, 0}, "efxTest: section at line 12 needs 1 splines, has 0"},
        {{4, 2, 1, 2}, {4, 2, 1, 3}, "efxTest: section at line 12 needs 3 syncs, has 2"},
        // Params are checked before strings, strings before splines and syncs.
        {{0, 0, 0, 0}, {1, 1, 1, 1}, "efxTest: section at line 12 needs 1 params, has 0"},
        {{1, 0, 0, 0}, {1, 1, 1, 1}, "efxTest: section at line 12 needs 1 strings, has 0"},
    };
    for (const require_case& c : cases) {
        auto s = make_section(12, c.has[0], c.has[1], c.has[2], c.has[3]);
        std::string got = fatal_message(
            [&] { section_require(*s, "efxTest", c.needs[0], c.needs[1], c.needs[2], c.needs[3]); });
        EXPECT_EQ(got, c.message) << "has " << c.has[0] << c.has[1] << c.has[2] << c.has[3];
    }
}

// ---------------------------------------------------------------------------
// efxFader
// ---------------------------------------------------------------------------

TEST(fader, colour_moves_linearly_over_the_span_and_extrapolates_past_it) {
    const float ramp[8] = {0, 0.2f, 1, 1, 1, 0.6f, 0, 0};
    const float still[8] = {0.3f, 0.4f, 0.5f, 0.6f, 0.3f, 0.4f, 0.5f, 0.6f};
    struct {
        const float* params;
        float time;
        fader_colour want;
    } cases[] = {
        {ramp, 10, {0, 0.2f, 1, 1}},          // section start
        {ramp, 12, {0.5f, 0.4f, 0.5f, 0.5f}},  // halfway
        {ramp, 11, {0.25f, 0.3f, 0.75f, 0.75f}},
        {ramp, 14, {1, 0.6f, 0, 0}},          // section end
        {ramp, 16, {1.5f, 0.8f, -0.5f, -0.5f}},  // not clamped
        {still, 13, {0.3f, 0.4f, 0.5f, 0.6f}},
    };
    for (const auto& c : cases) {
        fader_colour got = fader_colour_at(c.params, 10, 14, c.time);
        EXPECT_NEAR(got.r, c.want.r, 1e-6f) << c.time;
        EXPECT_NEAR(got.g, c.want.g, 1e-6f) << c.time;
        EXPECT_NEAR(got.b, c.want.b, 1e-6f) << c.time;
        EXPECT_NEAR(got.a, c.want.a, 1e-6f) << c.time;
    }
}

TEST(fader, init_accepts_exactly_eight_params) {
    const struct {
        int params;
        const char* message;
    } cases[] = {
        {8, ""},
        {7, "Script: eight floats are needed in fader effect, line 31"},
        {0, "Script: eight floats are needed in fader effect, line 31"},
        {9, "Script: eight floats are needed in fader effect, line 31"},
    };
    section* saved = current_section;
    for (const auto& c : cases) {
        auto s = make_section(31, c.params, 0, 0, 0);
        current_section = s.get();
        EXPECT_EQ(fatal_message(fader_init), c.message) << c.params;
    }
    current_section = saved;
}

// ---------------------------------------------------------------------------
// efxRadialBlur
// ---------------------------------------------------------------------------

TEST(radial_blur, pass_count_covers_the_integers_below_the_param) {
    const struct {
        float param;
        int passes;
    } cases[] = {
        {-3, 0}, {0, 0}, {0.25f, 1}, {1, 1}, {2, 2}, {2.5f, 3}, {7, 7},
        {NAN, 0}, {1e12f, RADIAL_BLUR_MAX_PASSES},
    };
    for (const auto& c : cases) EXPECT_EQ(radial_blur_pass_count(c.param), c.passes) << c.param;
}

TEST(radial_blur, params_needed_grow_with_syncs_past_the_centre) {
    const int needed[][2] = {{0, 9}, {1, 9}, {2, 9}, {3, 11}, {10, 25}};
    for (const auto& row : needed) EXPECT_EQ(radial_blur_params_needed(row[0]), row[1]) << row[0];
}

TEST(radial_blur, keys_interpolate_between_the_keys_around_the_local_time) {
    // Keys (alpha, step): 0 (0.2, 0.01), 1 (0.6, 0.03), 2 (0.5, 0.5)
    // — key 2 is the centre params 5 and 6.
    const float params[9] = {4, 0.2f, 0.01f, 0.6f, 0.03f, 0.5f, 0.5f, 0.5f, 0.5f};
    const float one_sync[1] = {2};
    const float two_syncs[2] = {2, 4};
    struct {
        const float* syncs;
        int sync_count;
        float t;
        radial_blur_key want;
    } cases[] = {
        // No syncs: keys 0 and 1 across the 10 s section, extrapolated beyond.
        {nullptr, 0, 0, {0.2f, 0.01f}},
        {nullptr, 0, 5, {0.4f, 0.02f}},
        {nullptr, 0, 10, {0.6f, 0.03f}},
        {nullptr, 0, 15, {0.8f, 0.04f}},
        // One sync at 2 s: keys at 0, 2 and 10.
        {one_sync, 1, 1, {0.4f, 0.02f}},
        {one_sync, 1, 2, {0.6f, 0.03f}},
        {one_sync, 1, 6, {0.55f, 0.265f}},
        {one_sync, 1, -1, {0.0f, 0.0f}},  // before key 0: keys 0 and 1
        {one_sync, 1, 10, {1.0f, 0.05f}},  // at the duration
        {one_sync, 1, 12, {1.0f, 0.05f}},
        // Two syncs: keys at 0, 2, 4, 10 (key 3 is params 7, 8).
        {two_syncs, 2, 3, {0.55f, 0.265f}},
        {two_syncs, 2, 7, {0.5f, 0.5f}},
    };
    for (const auto& c : cases) {
        radial_blur_key got = radial_blur_key_at(params, c.syncs, c.sync_count, 10, c.t);
        EXPECT_NEAR(got.alpha, c.want.alpha, 1e-6f) << c.sync_count << " syncs, t " << c.t;
        EXPECT_NEAR(got.step, c.want.step, 1e-6f) << c.sync_count << " syncs, t " << c.t;
    }
}

TEST(radial_blur, centre_moves_linearly_and_sets_the_zoom_window) {
    const float params[9] = {1, 0, 0, 0, 0, 0.2f, 0.4f, 0.6f, 0.8f};
    radial_blur_point start = radial_blur_centre(params, 0, 8);
    radial_blur_point middle = radial_blur_centre(params, 4, 8);
    EXPECT_FLOAT_EQ(start.x, 0.2f);
    EXPECT_FLOAT_EQ(start.y, 0.4f);
    EXPECT_FLOAT_EQ(middle.x, 0.4f);
    EXPECT_FLOAT_EQ(middle.y, 0.6f);

    const struct {
        float s;
        radial_blur_point centre;
        float window[4][2];  // corners (0,0), (0,1), (1,1), (1,0) of the y-down square
    } cases[] = {
        {0, {0.5f, 0.5f}, {{0, 1}, {0, 0}, {1, 0}, {1, 1}}},
        {0.1f, {0.5f, 0.5f}, {{0.1f, 0.9f}, {0.1f, 0.1f}, {0.9f, 0.1f}, {0.9f, 0.9f}}},
        {0.25f, {0.2f, 0.8f}, {{0.1f, 0.75f}, {0.1f, 0.4f}, {0.75f, 0.4f}, {0.75f, 0.75f}}},
    };
    for (const auto& c : cases) {
        float got[4][2];
        radial_blur_window(c.s, c.centre, got);
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(got[i][0], c.window[i][0], 1e-6f) << "s " << c.s << " corner " << i;
            EXPECT_NEAR(got[i][1], c.window[i][1], 1e-6f) << "s " << c.s << " corner " << i;
        }
    }
}

TEST(radial_blur, init_needs_the_params_its_keys_and_centre_read) {
    const struct {
        int params, syncs;
        const char* message;
    } cases[] = {
        {9, 0, ""},
        {8, 0, "efxRadialBlur: section at line 7 needs 9 params, has 8"},
        {9, 2, ""},
        {10, 3, "efxRadialBlur: section at line 7 needs 11 params, has 10"},
        {0, 0, "efxRadialBlur: section at line 7 needs 9 params, has 0"},
    };
    section* saved = current_section;
    for (const auto& c : cases) {
        auto s = make_section(7, c.params, 0, 0, c.syncs);
        current_section = s.get();
        EXPECT_EQ(fatal_message(radial_blur_init), c.message) << c.params << " params, " << c.syncs << " syncs";
    }
    current_section = saved;
}

// ---------------------------------------------------------------------------
// efxRenderMesh
// ---------------------------------------------------------------------------

TEST(render_mesh, mode_is_the_truncated_param_when_it_names_a_mode) {
    const struct {
        float param;
        int mode;
    } cases[] = {
        {0, 0}, {3, 3}, {4.9f, 4}, {6, 6}, {6.99f, 6}, {-0.5f, 0},
        {7, -1}, {-1, -1}, {-3, -1}, {1e20f, -1}, {NAN, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(render_mesh_mode(c.param), c.mode) << c.param;
}

TEST(render_mesh, warp_grid_per_mode_matches_hand_computed_points) {
    const struct {
        int mode;
        double t;
        int i, j;
        double u, v;
    } cases[] = {
        {0, 0, 0, 0, 0.01, 0.01},
        {0, 3, 20, 20, 1.01, 1.01},
        {1, 0, 0, 20, -0.0105, 1.0095},
        {1, 0, 15, 4, 0.7545, 0.1935},
        {2, 0, 20, 0, 0.998026728428272, 0},
        {2, 0, 10, 10, 0.499013364214136, 0.5},
        {2, 0, 4, 16, 0.199605345685654, 0.743821188710601},
        {3, 0, 10, 10, 0.498654248620486, 0.498360197199497},
        {3, 0, 2, 17, -0.0901919035542739, 0.484753427122655},
        {4, 0, 0, 0, 0.460078416051136, -0.205978942416142},
        {4, 0, 15, 5, 0.820393153101844, 0.350506764549502},
        {5, 1, 2, 3, 0.113391832745149, 0.151201442076626},
        {5, 0, 2, 3, 0.1, 0.15},
        {5, 2.5, 7, 9, 0.342648323828114, -4.30771574483728},
        {6, 0.5, 5, 5, 0.27, 0.27},
        {6, 0.25, 3, 12, 0.162363714510028, 0.582222044170213},
        {7, 0, 4, 6, 0.2, 0.3},
        {-1, 5, 4, 6, 0.2, 0.3},
    };
    render_mesh_grid grid;
    for (const auto& c : cases) {
        render_mesh_warp(c.mode, c.t, grid);
        EXPECT_NEAR(grid[c.i][c.j][0], c.u, 1e-9) << "mode " << c.mode << " [" << c.i << "][" << c.j << "]";
        EXPECT_NEAR(grid[c.i][c.j][1], c.v, 1e-6 * std::fabs(c.v) + 1e-9)
            << "mode " << c.mode << " [" << c.i << "][" << c.j << "]";
    }
}

TEST(render_mesh, init_needs_four_params) {
    auto s = make_section(44, 3, 0, 0, 0);
    section* saved = current_section;
    current_section = s.get();
    EXPECT_EQ(fatal_message(render_mesh_init), "efxRenderMesh: section at line 44 needs 4 params, has 3");
    EXPECT_EQ(s->instance_data, nullptr);
    current_section = saved;
}

}  // namespace
