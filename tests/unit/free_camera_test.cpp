// Free camera: mouse look, gliding moves with friction and clamps, target
// nudges, the exact log lines (read back as spline keys) and the log file.
#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <algorithm>
#include <cmath>
#include <string>
#include <unistd.h>

#include "core/engine.h"
#include "core/settings.h"
#include "resources/free_camera.h"
#include "resources/spline.h"
#include "tests/test_support.h"

namespace {

// A look-at camera at the origin looking down -Z, with the vectors a view of
// it would store.
camera* test_camera() {
    camera* c = camera_create(CAMERA_LOOK_AT_MODE);
    camera_set_target(c, 0, 0, -1);
    c->right_vector[0] = 1;
    c->back_vector[2] = 1;
    return c;
}

struct look_case {
    int dx, dy;
    float pitch_before, pitch_after, yaw_after;
};

TEST(FreeCamera, MouseLookTurnsAndClampsPitch) {
    const look_case cases[] = {
        {-16, 0, 0, 0, -1},      // pointer at (336, 240)
        {0, 0, 10, 10, 0},       // pointer at home
        {0, 40, 89, 90, 0},      // clamped at the top
        {0, -40, -89, -90, 0},   // and at the bottom
        {8, 8, 0, 0.5f, 0.5f},
    };
    for (const look_case& l : cases) {
        camera* c = test_camera();
        c->pitch = l.pitch_before;
        camera_mouse_look(c, l.dx, l.dy);
        EXPECT_FLOAT_EQ(c->pitch, l.pitch_after) << l.dx << "," << l.dy;
        EXPECT_FLOAT_EQ(c->yaw, l.yaw_after) << l.dx << "," << l.dy;
        free(c);
    }
}

struct move_case {
    const char* name;
    float forward0, strafe0;
    free_camera_input keys;
    float dt;
    int frames;
    float forward1, strafe1;
    float position[3], target[3];
};

free_camera_input keys_none() { return {}; }
free_camera_input keys_up() { free_camera_input k = {}; k.up = 1; return k; }
free_camera_input keys_down() { free_camera_input k = {}; k.down = 1; return k; }
free_camera_input keys_left() { free_camera_input k = {}; k.left = 1; return k; }
free_camera_input keys_right() { free_camera_input k = {}; k.right = 1; return k; }
free_camera_input keys_lower() { free_camera_input k = {}; k.q = k.w = k.e = 1; return k; }
free_camera_input keys_raise() { free_camera_input k = {}; k.a = k.s = k.d = 1; return k; }

TEST(FreeCamera, MovesGlideClampAndSlowDown) {
    const move_case cases[] = {
        {"up from rest", 0, 0, keys_up(), 0.1f, 1, 0.5f, 0, {0, 0, -0.1f}, {0, 0, -1.1f}},
        {"down from rest", 0, 0, keys_down(), 0.1f, 1, -0.5f, 0, {0, 0, 0.1f}, {0, 0, -0.9f}},
        {"glide stops", 0.3f, 0, keys_none(), 0.1f, 1, 0, 0, {0, 0, -0.03f}, {0, 0, -1.03f}},
        {"backward glide stops", -0.3f, 0, keys_none(), 0.1f, 1, 0, 0, {0, 0, 0.03f},
         {0, 0, -0.97f}},
        {"forward clamp", 5.5f, 0, keys_up(), 0.1f, 1, 5.5f, 0, {0, 0, -0.6f}, {0, 0, -1.6f}},
        {"right from rest", 0, 0, keys_right(), 0.1f, 1, 0, 0.5f, {0.1f, 0, 0}, {0.1f, 0, -1}},
        {"left from rest", 0, 0, keys_left(), 0.1f, 1, 0, -0.5f, {-0.1f, 0, 0}, {-0.1f, 0, -1}},
        {"strafe clamp", 0, 2.5f, keys_right(), 0.1f, 1, 0, 2.5f, {0.3f, 0, 0}, {0.3f, 0, -1}},
        {"nudges down", 0, 0, keys_lower(), 0.2f, 1, 0, 0, {0, 0, 0}, {-1, -1, -2}},
        {"nudges up", 0, 0, keys_raise(), 0.2f, 1, 0, 0, {0, 0, 0}, {1, 1, 0}},
    };
    for (const move_case& m : cases) {
        SCOPED_TRACE(m.name);
        camera* c = test_camera();
        forward_speed = m.forward0;
        strafe_speed = m.strafe0;
        for (int f = 0; f < m.frames; f++) free_camera_step(c, &m.keys, m.dt, 0, nullptr);
        EXPECT_NEAR(forward_speed, m.forward1, 1e-6);
        EXPECT_NEAR(strafe_speed, m.strafe1, 1e-6);
        for (int i = 0; i < 3; i++) {
            EXPECT_NEAR(c->position[i], m.position[i], 1e-6) << i;
            EXPECT_NEAR(c->target[i], m.target[i], 1e-6) << i;
        }
        free(c);
    }
    forward_speed = strafe_speed = 0;
}

TEST(FreeCamera, HeldUpArrowSettlesAtTheClamp) {
    camera* c = test_camera();
    forward_speed = 0;
    free_camera_input up = keys_up();
    for (int f = 0; f < 40; f++) free_camera_step(c, &up, 0.1f, 0, nullptr);
    float z = c->position[2];
    free_camera_step(c, &up, 0.1f, 0, nullptr);
    EXPECT_NEAR(c->position[2] - z, -0.6f, 1e-5);   // moved at 6 units per second
    EXPECT_NEAR(forward_speed, 5.5f, 1e-6);          // 6 - 5 * dt after friction
    forward_speed = 0;
    free(c);
}

TEST(FreeCamera, LogLineIsASplineKey) {
    camera* c = test_camera();
    camera_set_position(c, 1, 2, 3);
    camera_set_angles(c, 10, 20, 0);
    camera_set_target(c, 0, 0, 0);
    std::string line = free_camera_log_line(c, 12.5f);
    EXPECT_EQ(line, "{1.000000, 2.000000, 3.000000, 10.000000, 20.000000, 0.000000, "
                    "0.000000, 0.000000, 0.000000},\n; demo time 12.500 s\n");
    // Pasted as it stands (twice, with a "//" note), it reads as two keys.
    std::string pasted = line + "// the same again\n" + line;
    spline read = spline_load_memory(pasted.data(), pasted.size(), "pasted");
    ASSERT_EQ(read.count, 2);
    const float want[SPLINE_CHANNELS] = {1, 2, 3, 10, 20, 0, 0, 0, 0};
    for (int i = 0; i < SPLINE_CHANNELS; i++) EXPECT_EQ(read.keys[1].values[i], want[i]) << i;
    spline_free(&read);
    float v[SPLINE_CHANNELS];

    // Huge values are written in full rather than cut off.
    camera_set_position(c, -3e30f, 0, 0);
    line = free_camera_log_line(c, 0);
    EXPECT_NE(line.find("},\n; demo time 0.000 s\n"), std::string::npos);
    ASSERT_EQ(spline_parse_line(line.c_str(), v), 1);
    EXPECT_FLOAT_EQ(v[0], -3e30f);
    free(c);
}

TEST(FreeCamera, LoggedLineIsTakenAfterLookAndBeforeMoving) {
    camera* c = test_camera();
    forward_speed = 0;
    free_camera_input in = keys_up();
    in.log = 1;
    in.mouse_dx = -16;
    std::string line;
    free_camera_step(c, &in, 0.1f, 3, &line);
    EXPECT_EQ(line, "{0.000000, 0.000000, 0.000000, 0.000000, -1.000000, 0.000000, "
                    "0.000000, 0.000000, -1.000000},\n; demo time 3.000 s\n");
    EXPECT_NEAR(c->position[2], -0.1f, 1e-6);
    forward_speed = 0;
    free(c);
}

// Runs the free camera in a fresh folder, so "camera.log" is the test's own.
struct FreeCameraUpdate : testing::Test {
    temp_dir dir;
    std::string old_cwd;
    void SetUp() override {
        char cwd[4096];
        old_cwd = getcwd(cwd, sizeof cwd) ? cwd : ".";
        ASSERT_EQ(chdir(dir.path.c_str()), 0);
        settings_reset();
        forward_speed = strafe_speed = 0;
    }
    void TearDown() override {
        key_state[SDLK_SPACE] = 0;
        key_state[SDLK_UP] = 0;
        settings_reset();
        (void)chdir(old_cwd.c_str());
    }
    bool log_exists() { return access("camera.log", F_OK) == 0; }
};

TEST_F(FreeCameraUpdate, DebugOffChangesNothing) {
    debug = 0;
    camera* c = test_camera();
    key_state[SDLK_SPACE] = 1;
    key_state[SDLK_UP] = 1;
    free_camera_update(c, 0.1f);
    EXPECT_FALSE(log_exists());
    EXPECT_EQ(key_state[SDLK_SPACE], 1);
    EXPECT_EQ(forward_speed, 0.0f);
    EXPECT_EQ(c->position[2], 0.0f);
    EXPECT_EQ(c->yaw, 0.0f);
    free(c);
}

TEST_F(FreeCameraUpdate, OneSpacePressWritesOneLine) {
    debug = 1;
    camera* c = test_camera();
    key_state[SDLK_SPACE] = 1;
    free_camera_update(c, 0.1f);
    EXPECT_EQ(key_state[SDLK_SPACE], 0);
    free_camera_update(c, 0.1f);
    std::string log = read_file("camera.log");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << log;
    // Keys accumulate across runs.
    free_camera_append_log(c, 1, "camera.log");
    log = read_file("camera.log");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 4) << log;
    free(c);
}

TEST_F(FreeCameraUpdate, UnopenableLogIsSkipped) {
    camera* c = test_camera();
    free_camera_append_log(c, 0, "no/such/folder/camera.log");
    EXPECT_EQ(access("no", F_OK), -1);
    free(c);
}

}  // namespace
