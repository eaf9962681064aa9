// Scenes played in the shipped show folder, on its generated assets: every
// scene that owns a camera hands it to current_camera when it renders, so
// the camera overlay, the free camera and the sections layered after it see
// the scene's own view (each scene from its example script, one frame two
// seconds in); and the painted captions fit the picture once fully painted.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <ostream>
#include <vector>
#include <string>
#include <unistd.h>

#include "core/clock.h"
#include "core/engine.h"
#include "core/loading.h"
#include "core/script.h"
#include "core/section.h"
#include "core/settings.h"
#include "core/timeline.h"
#include "platform/overlay.h"
#include "platform/video.h"
#include "resources/camera.h"
#include "resources/spline.h"
#include "scenes/paintex.h"
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

// Runs in the shipped show folder; each test reads its own script.
struct shipped_show : ::testing::Test {
    std::string old_cwd;

    void SetUp() override {
        char cwd[4096];
        old_cwd = getcwd(cwd, sizeof cwd) ? cwd : ".";
        ASSERT_EQ(chdir(QUILLON_SOURCE_DIR), 0);
    }
    void TearDown() override {
        timeline_reset();
        shut_down();
        script_reset();
        current_camera = nullptr;
        (void)chdir(old_cwd.c_str());
    }
    static section* first_of_type(int type) {
        for (section* s = section_list; s; s = s->next)
            if (s->type == type) return s;
        return nullptr;
    }
};

struct scene_cameras : shipped_show, ::testing::WithParamInterface<scene_camera_row> {};

TEST_P(scene_cameras, render_stores_the_scene_camera_in_current_camera) {
    const scene_camera_row& row = GetParam();
    std::string script = std::string("data/examples/") + row.type + ".txt";
    read_script_file(script.c_str());
    video_start();
    loading_phase();
    camera stale = {};
    current_camera = &stale;
    demo_time = 2;
    frame_delta = 0;
    draw_frame();

    ASSERT_NE(current_camera, nullptr);
    ASSERT_NE(current_camera, &stale) << row.type << " left an earlier camera current";
    EXPECT_EQ(current_camera->fovy, row.fovy);
    float expected[3] = {row.position[0], row.position[1], row.position[2]};
    if (row.position[0] == UNCHECKED) return;
    if (row.position[0] == FROM_SPLINE) {
        const section* s = first_of_type(section_type_find(row.type));
        ASSERT_NE(s, nullptr);
        float key[SPLINE_CHANNELS];
        spline_evaluate(&s->splines[0], s->local_time, key);
        for (int i = 0; i < 3; ++i) expected[i] = key[i];
    }
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(current_camera->position[i], expected[i], 1e-4) << "axis " << i;
}

INSTANTIATE_TEST_SUITE_P(every_scene_camera, scene_cameras, ::testing::ValuesIn(rows),
                         [](const ::testing::TestParamInfo<scene_camera_row>& info) {
                             std::string name = info.param.type;
                             return name[0] >= '0' && name[0] <= '9' ? "t" + name : name;
                         });

// The F overlay prints the camera the painted caption is seen through.
TEST_F(shipped_show, camera_overlay_shows_the_painted_caption_camera) {
    read_script_file("data/examples/paintex.txt");
    video_start();
    loading_phase();
    demo_time = 2;
    frame_delta = 0;
    draw_frame();
    std::string text = overlay_camera_text(60, 1, demo_time, current_camera);
    EXPECT_NE(text.find("Loc x: 0.0 Tgt x: 0.0\nLoc y: 0.0 Tgt y: 0.0\nLoc z: 19.0 Tgt z: 0.0"),
              std::string::npos)
        << text;
}

}  // namespace

namespace {

// A show of one caption painted over two seconds, as the default show
// paints them.
std::string caption_script(int caption) {
    return "gl_fullscreen 0\ngl_width 800\ngl_height 600\ngl_panoramic 1\ngl_info 0\n"
           "snd_enable 0\n[loading]\nstart 0\nend 0.01\nstring data/loading/back.jpg\n"
           "string data/loading/front.jpg\nparam 1\nparam 1\nparam 1\nparam 1\n"
           "[paintex]\nstart 0\nend 4\nparam " +
           std::to_string(caption) + "\nparam 0\nparam 0\nparam 0\nparam 0\nparam 0\nparam 1\n"
           "syncs 2\nsync 2\nsync 3\n[EOF]\n";
}

// The frame at `time`, drawn into the render target and not presented.
void render_target_at(float time) {
    demo_time = time;
    timeline_start_due();
    frame_begin();
    timeline_render_active();
}

// Columns of the render target that hold any channel above `ink`.
std::vector<int> inked_columns(int ink) {
    std::vector<unsigned char> pixels(static_cast<size_t>(gl_rttWidth) * gl_rttHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, gl_rttWidth, gl_rttHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    std::vector<int> columns;
    for (int x = 0; x < gl_rttWidth; ++x)
        for (int y = 0; y < gl_rttHeight; ++y) {
            const unsigned char* p = &pixels[(static_cast<size_t>(y) * gl_rttWidth + x) * 3];
            if (*std::max_element(p, p + 3) > ink) {
                columns.push_back(x);
                break;
            }
        }
    return columns;
}

// The rain's emission walk leaves polygons filled, so the water is drawn
// whole even after a section that left the polygon mode at points.
TEST_F(shipped_show, lake_fills_polygons_whatever_the_mode_it_finds) {
    read_script_file("data/examples/thelake.txt");
    video_start();
    loading_phase();
    demo_time = 2;
    frame_delta = 0;
    glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
    draw_frame();
    GLint modes[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);
    EXPECT_EQ(modes[1], GL_FILL);
}

struct painted_captions : shipped_show, ::testing::WithParamInterface<int> {};

// Fully painted, under the camera of the caption's section, every caption
// but the slow title keeps its first and last letters in the picture: no
// ink in the outer columns, the word across the middle.
TEST_P(painted_captions, keep_clear_of_the_picture_edges_once_painted) {
    temp_dir dir;
    std::string script = dir.write("caption.txt", caption_script(GetParam()));
    read_script_file(script.c_str());
    video_start();
    loading_phase();
    frame_delta = 0;
    render_target_at(1.9999f);   // the last frame of the painting
    render_target_at(2.0f);      // held, as painted
    std::vector<int> inked = inked_columns(16);
    ASSERT_FALSE(inked.empty());
    std::printf("caption %d: ink from column %d to %d of %d\n", GetParam(), inked.front(),
                inked.back(), gl_rttWidth);
    const int edge = 8;
    EXPECT_GE(inked.front(), edge);
    EXPECT_LT(inked.back(), gl_rttWidth - edge);
    EXPECT_GT(inked.back() - inked.front(), gl_rttWidth / 3) << "the word spans the middle";
}

INSTANTIATE_TEST_SUITE_P(but_the_title, painted_captions, ::testing::Range(0, PAINTEX_CAPTIONS - 1));

}  // namespace
