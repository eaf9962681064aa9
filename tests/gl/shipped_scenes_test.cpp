// Scenes played in the shipped show folder, on its generated assets: every
// scene that owns a camera hands it to current_camera when it renders, so
// the camera overlay, the free camera and the sections layered after it see
// the scene's own view (each scene from its example script, one frame two
// seconds in); the lake leaves polygons filled; and the painted captions fit
// the picture once fully painted.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/script.h"
#include "core/section.h"
#include "core/settings.h"
#include "platform/overlay.h"
#include "platform/video.h"
#include "resources/camera.h"
#include "resources/spline.h"
#include "scenes/paintex.h"
#include "show/engine.h"
#include "show/loading.h"
#include "show/timeline.h"
#include "tests/test_support.h"

namespace {

const float FROM_SPLINE = -1;   // position: the section's first spline at t
const float UNCHECKED = -2;     // position moves by phase; fovy checked only

struct scene_camera_row {
    const char* type;
    float fovy;
    float position[3];   // at two seconds; or FROM_SPLINE / UNCHECKED in [0]
};

const scene_camera_row rows[] = {
    {"gears", 60, {FROM_SPLINE}},
    {"knots", 100, {UNCHECKED}},
    {"flash", 100, {1, 0, 8}},
    {"meditation", 60, {0, 0, 2}},
    {"particletitle", 100, {UNCHECKED}},
    {"paintex", 90, {0, 0, 19}},   // z = t + 17
    {"3Dbuilder", 100, {0, 0, 2}},
    {"columna", 100, {20, 0, 50}},
    {"flare", 90, {0, 0, 22}},     // z = t + 20
    {"logofinal", 100, {UNCHECKED}},
    {"loop", 120, {UNCHECKED}},
    {"paranoia", 100, {19.8f, 0.2f, 49.8f}},
    {"redsun", 60, {FROM_SPLINE}},
    {"thelake", 30, {0, 500, 1}},   // the overhead camera
};

void PrintTo(const scene_camera_row& row, std::ostream* out) { *out << row.type; }

// Runs in the shipped show folder; each test loads a script of its own.
struct shipped_show : ::testing::Test {
    working_folder in_source{QUILLON_SOURCE_DIR};

    void TearDown() override {
        timeline_reset();
        shut_down();
        script_reset();
        current_camera = nullptr;
    }
    static void load(const std::string& script) {
        read_script_file(script.c_str());
        video_start();
        loading_phase();
        frame_delta = 0;
    }
    // The frame at `time`, drawn into the render target and not presented.
    static void render_at(float time) {
        demo_time = time;
        timeline_start_due();
        frame_begin();
        timeline_render_active();
    }
};

struct scene_cameras : shipped_show, ::testing::WithParamInterface<scene_camera_row> {};

TEST_P(scene_cameras, render_stores_the_scene_camera_in_current_camera) {
    const scene_camera_row& row = GetParam();
    load(std::string("data/examples/") + row.type + ".txt");
    camera stale = {};
    current_camera = &stale;
    render_at(2);
    ASSERT_NE(current_camera, nullptr);
    ASSERT_NE(current_camera, &stale) << row.type << " left an earlier camera current";
    EXPECT_EQ(current_camera->fovy, row.fovy);
    float expected[3] = {row.position[0], row.position[1], row.position[2]};
    if (row.position[0] == UNCHECKED) return;
    if (row.position[0] == FROM_SPLINE) {
        const section* s = active_head;
        float key[SPLINE_CHANNELS];
        spline_evaluate(&s->splines[0], s->local_time, key);
        std::copy(key, key + 3, expected);
    }
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(current_camera->position[i], expected[i], 1e-4) << "axis " << i;
    // The F overlay prints that camera.
    if (row.type == std::string("paintex")) {
        EXPECT_NE(overlay_camera_text(60, 1, 2, current_camera).find("Loc z: 19.0 Tgt z: 0.0"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(every_scene_camera, scene_cameras, ::testing::ValuesIn(rows),
                         [](const ::testing::TestParamInfo<scene_camera_row>& info) {
                             std::string name = info.param.type;
                             return name[0] >= '0' && name[0] <= '9' ? "t" + name : name;
                         });

// The rain's emission walk leaves polygons filled, so the water is drawn
// whole even after a section that left the polygon mode at points.
TEST_F(shipped_show, lake_fills_polygons_whatever_the_mode_it_finds) {
    load("data/examples/thelake.txt");
    glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
    render_at(2);
    GLint modes[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);
    EXPECT_EQ(modes[1], GL_FILL);
}

struct painted_captions : shipped_show, ::testing::WithParamInterface<int> {};

// Fully painted (over two seconds, as the default show paints them), every
// caption but the slow title keeps its first and last letters in the
// picture: no ink in the outer columns, the word across the middle.
TEST_P(painted_captions, keep_clear_of_the_picture_edges_once_painted) {
    temp_dir dir;
    load(dir.write("caption.txt", e2e_show("[paintex]\nstart 1\nend 5\nparam " + std::to_string(GetParam()) +
                                           "\n" + e2e_params(5, "0") + "param 1\n" + e2e_syncs({"2", "3"}))));
    render_at(2.9999f);   // the last frame of the painting
    render_at(3.0f);      // held, as painted
    std::vector<unsigned char> pixels(static_cast<size_t>(gl_rttWidth) * gl_rttHeight * 3);
    glReadPixels(0, 0, gl_rttWidth, gl_rttHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    int first = gl_rttWidth, last = -1;
    for (size_t i = 0; i < pixels.size(); ++i)
        if (pixels[i] > 16) {
            int x = static_cast<int>(i / 3 % gl_rttWidth);
            first = std::min(first, x), last = std::max(last, x);
        }
    std::printf("caption %d: ink from column %d to %d of %d\n", GetParam(), first, last, gl_rttWidth);
    const int edge = gl_rttWidth / 64;
    EXPECT_GE(first, edge);
    EXPECT_LT(last, gl_rttWidth - edge);
    EXPECT_GT(last - first, gl_rttWidth / 3) << "the word spans the middle";
}

INSTANTIATE_TEST_SUITE_P(but_the_title, painted_captions, ::testing::Range(0, PAINTEX_CAPTIONS - 1));

}  // namespace
