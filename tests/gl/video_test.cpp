// The render target and its presentation on a real window, read back: the
// picture stretched upright, edges that do not bleed, and a target larger
// than the window refused.
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

TEST_F(video_fixture, render_target_larger_than_window_is_refused) {
    catch_fatal guard;
    dir.write("data/script.txt", "gl_fullscreen 0\ngl_width 320\ngl_height 240\ngl_info 0\n[EOF]\n");
    read_script_file("data/script.txt");
    try {
        video_start();
        FAIL() << "a 512x512 render target in a 320x240 window was accepted";
    } catch (const fatal_exception& e) {
        EXPECT_NE(std::string(e.what()).find("does not fit"), std::string::npos) << e.what();
    }
}

}  // namespace
