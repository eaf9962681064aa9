// The render target, its letterboxed presentation, the driver report and the
// loading screen, drawn on a real window and read back.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <unistd.h>
#include <vector>

#include "core/engine.h"
#include "core/loading.h"
#include "core/script.h"
#include "core/section.h"
#include "core/settings.h"
#include "core/timeline.h"
#include "platform/video.h"
#include "tests/test_support.h"

namespace {

struct rgb {
    int r, g, b;
};

rgb pixel_at(int x, int y) {
    unsigned char p[4] = {0, 0, 0, 0};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

// Rows (from the bottom) whose middle pixel is black.
int black_rows(int from, int to) {
    int count = 0;
    for (int y = from; y < to; ++y) {
        rgb p = pixel_at(gl_width / 2, y);
        if (p.r == 0 && p.g == 0 && p.b == 0) ++count;
    }
    return count;
}

struct video_fixture : ::testing::Test {
    temp_dir dir;
    std::string old_cwd;
    void SetUp() override {
        char cwd[4096];
        old_cwd = getcwd(cwd, sizeof cwd) ? cwd : ".";
        ASSERT_EQ(chdir(dir.path.c_str()), 0);
    }
    void TearDown() override {
        timeline_reset();
        shut_down();
        script_reset();
        (void)chdir(old_cwd.c_str());
    }
    void start(const std::string& head) {
        dir.write("data/script.txt", "gl_fullscreen 0\n" + head + "[EOF]\n");
        read_script_file("data/script.txt");
        video_start();
    }
    // A white render target, presented.
    void present_white() {
        frame_begin();
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0, 0, 0, 0);
        glColor4f(1, 1, 1, 1);
        frame_present();
        glFinish();
    }
};

TEST_F(video_fixture, panoramic_frame_has_75_black_rows_above_and_below) {
    start("gl_width 800\ngl_height 600\ngl_panoramic 1\ngl_info 0\n");
    EXPECT_EQ(present_height, 450);
    present_white();
    EXPECT_EQ(black_rows(0, 75), 75);
    EXPECT_EQ(black_rows(75, 525), 0);
    EXPECT_EQ(black_rows(525, 600), 75);
    rgb middle = pixel_at(400, 300);
    EXPECT_GT(middle.r, 250);
}

TEST_F(video_fixture, four_by_three_frame_fills_the_window) {
    start("gl_width 800\ngl_height 600\ngl_panoramic 0\ngl_info 0\n");
    EXPECT_EQ(present_height, 600);
    present_white();
    EXPECT_EQ(black_rows(0, 600), 0);
}

TEST_F(video_fixture, render_target_picture_is_stretched_upright) {
    start("gl_width 800\ngl_height 600\ngl_panoramic 1\ngl_info 0\n");
    frame_begin();
    // Red in the lower half of the render target, green in the upper half.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, gl_rttWidth, gl_rttHeight / 2);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glScissor(0, gl_rttHeight / 2, gl_rttWidth, gl_rttHeight / 2);
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 0);
    glColor4f(1, 1, 1, 1);
    frame_present();
    rgb low = pixel_at(400, 100), high = pixel_at(400, 500);
    EXPECT_GT(low.r, 200);
    EXPECT_LT(low.g, 50);
    EXPECT_GT(high.g, 200);
    EXPECT_LT(high.r, 50);
}

TEST_F(video_fixture, picture_edges_do_not_bleed_onto_the_opposite_side) {
    start("gl_width 800\ngl_height 600\ngl_panoramic 1\ngl_info 0\n");
    frame_begin();
    // A red column along the left edge and a green row along the top.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 4, gl_rttHeight);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glScissor(0, gl_rttHeight - 4, gl_rttWidth, 4);
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 0);
    glColor4f(1, 1, 1, 1);
    frame_present();
    EXPECT_GT(pixel_at(0, 300).r, 200);
    EXPECT_GT(pixel_at(400, 524).g, 200);
    // The last column and the bottom row show only their own black texels.
    EXPECT_EQ(pixel_at(799, 300).r, 0);
    EXPECT_EQ(pixel_at(400, 75).g, 0);
}

TEST_F(video_fixture, driver_report_lists_the_driver_strings) {
    start("gl_info 1\n");
    std::string report = read_file("opengl.log");
    EXPECT_EQ(report.rfind("\n// OpenGL driver information\n// ---------------------------\n\n", 0), 0u);
    EXPECT_NE(report.find("vendor :\n"), std::string::npos);
    EXPECT_NE(report.find("renderer :\n"), std::string::npos);
    EXPECT_NE(report.find("version : \n"), std::string::npos);
    EXPECT_NE(report.find("standard extensions : \n"), std::string::npos);
    EXPECT_NE(report.find("ARB extensions : \n"), std::string::npos);
    EXPECT_EQ(has_extension("GL_NO_SUCH_EXTENSION_AT_ALL"), 0);
}

TEST_F(video_fixture, render_target_larger_than_window_is_reduced_to_fit) {
    dir.write("data/script.txt", "gl_fullscreen 0\ngl_width 320\ngl_height 240\ngl_info 0\n[EOF]\n");
    read_script_file("data/script.txt");
    video_start();
    EXPECT_EQ(gl_rttWidth, 240);
    EXPECT_EQ(gl_rttHeight, 240);
}

// The filled part of the loading bar, measured by a test section type's init,
// which runs right after the previous step's screen was swapped. Xvfb's front
// buffer cannot be read back; Mesa swaps by copying, so the back buffer still
// holds the screen just shown.
std::vector<int> bar_widths;

int green_pixels_in_bar_row() {
    int y = static_cast<int>(gl_height * 0.19f);
    std::vector<unsigned char> row(static_cast<size_t>(gl_width) * 4);
    glReadPixels(0, y, gl_width, 1, GL_RGBA, GL_UNSIGNED_BYTE, row.data());
    int count = 0;
    for (int x = 0; x < gl_width; ++x)
        if (row[x * 4 + 1] > 200 && row[x * 4] < 60 && row[x * 4 + 2] < 60) ++count;
    return count;
}

void measuring_init() { bar_widths.push_back(green_pixels_in_bar_row()); }

void write_black_bmp(const std::string& path) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, 24, 0xff, 0xff00, 0xff0000, 0);
    SDL_FillRect(s, nullptr, 0);
    SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
}

TEST_F(video_fixture, loading_bar_grows_in_its_colour_with_each_step) {
    write_black_bmp(dir.file("back.bmp"));
    write_black_bmp(dir.file("front.bmp"));
    std::string script = "gl_width 800\ngl_height 600\ngl_info 0\n"
                         "[loading]\nstart 0\nend 1\nstring back.bmp\nstring front.bmp\n"
                         "param 0\nparam 1\nparam 0\nparam 1\n";
    for (int i = 1; i <= 3; ++i)
        script += "[lines]\nstart " + std::to_string(i) + "\nend 10\n";
    section_callback saved = section_types[1].init;
    section_types[1].init = measuring_init;
    bar_widths.clear();
    start(script);
    loading_phase();
    section_types[1].init = saved;
    // Six steps in all (two types, four sections); the inits of the three
    // test sections see the screens drawn after steps 2, 3 and 4.
    ASSERT_EQ(bar_widths.size(), 3u);
    const float full = 0.7f * 800;
    for (size_t i = 0; i < bar_widths.size(); ++i) {
        float expected = full * static_cast<float>(i + 2) / 6.0f;
        EXPECT_NEAR(bar_widths[i], expected, 3.0) << "after step " << i + 2;
    }
    EXPECT_NEAR(loading_fraction(), 5.0f / 6.0f, 1e-6);
}

int inits_after_quit = 0;

void push_quit_on_load() {
    SDL_Event event = {};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

void count_init() { ++inits_after_quit; }

TEST_F(video_fixture, window_close_during_loading_stops_before_the_next_step) {
    write_black_bmp(dir.file("back.bmp"));
    write_black_bmp(dir.file("front.bmp"));
    std::string script = "gl_info 0\n[loading]\nstart 0\nend 1\nstring back.bmp\nstring front.bmp\n"
                         "param 0\nparam 1\nparam 0\nparam 1\n[lines]\nstart 1\nend 2\n";
    section_type saved = section_types[1];
    section_types[1].load = push_quit_on_load;
    section_types[1].init = count_init;
    inits_after_quit = 0;
    start(script);
    loading_phase();
    section_types[1] = saved;
    EXPECT_EQ(quit_requested, 1);
    EXPECT_EQ(inits_after_quit, 0);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u) << "the loading phase shuts the program down";
}

}  // namespace
