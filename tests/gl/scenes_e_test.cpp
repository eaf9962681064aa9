// The loop and final logo scenes drawn on Mesa through their own callbacks,
// from one-colour pictures and box models the tests write at the scenes'
// fixed paths, and read back: the strength of the sky layers and the model
// passes, where the camera puts the models, the logo's own mirror texture
// and the presentation that still works beside it.
#include <cmath>

#include "resources/camera.h"
#include "resources/texture.h"
#include "scenes/logofinal.h"
#include "scenes/loop.h"
#include "tests/effect_window.h"
#include "tools/assets/asset_io.h"
#include "tools/assets/meshes.h"

namespace {

struct point2 {
    int x, y;
};

struct scenes_e_window : effect_window {
    void write_colour(const std::string& name, int r, int g, int b) {
        rgb_image image(16, 16, 3);
        for (int i = 0; i < 16 * 16; ++i) {
            image.pixels[3 * i] = static_cast<unsigned char>(r);
            image.pixels[3 * i + 1] = static_cast<unsigned char>(g);
            image.pixels[3 * i + 2] = static_cast<unsigned char>(b);
        }
        std::string path = dir.file(name);
        asset_make_parent(path);
        asset_write_jpeg(path, image, 100);
    }
    // A cube of half side `half` centred on (x, 0, 0), as a model file.
    void write_box(const std::string& name, float x, float half) {
        mesh_model m;
        mesh_object o;
        o.name = "box";
        mesh_append_box(o, {x - half, -half, -half}, {x + half, half, half}, false);
        m.objects.push_back(o);
        std::string path = dir.file(name);
        asset_make_parent(path);
        model_writer_save(path, m);
    }
    // Where a world point lands in the 512 x 512 target under a look-at
    // camera built here from the values the scene should use.
    static point2 project(const camera& c, const float p[3]) {
        float m[16];
        camera_view_matrix(&c, m);
        float e[3];
        for (int r = 0; r < 3; ++r) e[r] = m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r];
        if (e[2] >= 0) return {-1, -1};  // behind the eye
        double f = 1 / std::tan(c.fovy * M_PI / 360);
        double nx = f / c.aspect * e[0] / -e[2], ny = f * e[1] / -e[2];
        return {static_cast<int>((nx + 1) * 256), static_cast<int>((ny + 1) * 256)};
    }
    static camera look_at(float fovy, float x, float y, float z) {
        camera c = {};
        c.mode = CAMERA_LOOK_AT_MODE;
        c.fovy = fovy;
        c.aspect = aspect_ratio;
        c.position[0] = x;
        c.position[1] = y;
        c.position[2] = z;
        return c;
    }
    static void render_at(section& s, float t, void (*render)()) {
        demo_time = s.start + t;
        s.local_time = t;
        current_section = &s;
        render();
    }
    static GLint bound_name() { return integer_state(GL_TEXTURE_BINDING_2D); }
};

bool inside(point2 p) { return p.x >= 0 && p.x < 512 && p.y >= 0 && p.y < 512; }

// Of the four corners of the target, the one farthest from p.
point2 far_corner(point2 p) {
    return {p.x < 256 ? 500 : 11, p.y < 256 ? 500 : 11};
}

// ---------------------------------------------------------------------------
// loop
// ---------------------------------------------------------------------------

// A red sky, a green gold map and a blue second map: every pixel gets five
// sky layers of a tenth each (127 red), the model adds a fifth of each map
// over it, and it sits where the swept camera angles put the origin.
TEST_F(scenes_e_window, loop_adds_five_sky_layers_and_two_passes_where_the_camera_looks) {
    open();
    write_colour(LOOP_SKYBOX_IMAGE, 255, 0, 0);
    write_colour(LOOP_GOLD_IMAGE, 0, 255, 0);
    write_colour(LOOP_SECOND_IMAGE, 0, 0, 255);
    write_box(std::string(LOOP_MODEL_DIR) + LOOP_MODEL_FILE, 0, 6);
    loop_load();
    section& s = add_section(section_type_find("loop"), 2, 30, {});
    const float origin[3] = {0, 0, 0};
    for (float t : {0.0f, 1.0f, 2.0f}) {
        SCOPED_TRACE(t);
        camera c = look_at(120, 20, 0, 50);
        c.pitch = t * -10;
        c.yaw = t + 50;
        c.twist = t * 50;
        point2 p = project(c, origin);
        ASSERT_TRUE(inside(p)) << p.x << "," << p.y;
        clear_to(0, 0, 0);
        render_at(s, t, loop_render);
        EXPECT_RGB_NEAR(pixel_at(p.x, p.y), 127, 51, 51, 6);
        point2 away = far_corner(p);
        EXPECT_RGB_NEAR(pixel_at(away.x, away.y), 127, 0, 0, 6);
    }
    // Left behind: blending off, the second map bound, the model's colour.
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(bound_name(), static_cast<GLint>(texture_table[texture_count - 1]->gl_name));
    float colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[3], 0.2f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// ---------------------------------------------------------------------------
// logofinal
// ---------------------------------------------------------------------------

// The frame model is a box 150 units along +X, the letter one at the
// origin; at u = 8 the frame is square to the camera, so the box stays on
// +X, scaled by 0.7 to 105.
TEST_F(scenes_e_window, logofinal_camera_follows_last_frames_clock_over_sky_and_logo) {
    open();
    write_colour(LOGOFINAL_SKYBOX_IMAGE, 255, 0, 0);
    write_colour(LOGOFINAL_LOGO_IMAGE, 0, 100, 0);
    write_box(std::string(LOGOFINAL_MODEL_DIR) + LOGOFINAL_FRAME_FILE, 150, 40);
    write_box(std::string(LOGOFINAL_MODEL_DIR) + LOGOFINAL_LETTER_FILE, 0, 20);
    logofinal_load();
    ASSERT_EQ(logofinal_clock(), 0.0f) << "an earlier test rendered logofinal";
    section& s = add_section(section_type_find("logofinal"), 1, 20, {});
    const float frame_centre[3] = {105, 0, 0};
    point2 near = project(look_at(100, 0, 0, 300), frame_centre);
    point2 far = project(look_at(100, 0, -80, 540), frame_centre);
    ASSERT_GT(near.x - far.x, 12);  // the two places do not overlap
    // First frame: the camera of load, whatever the clock.
    clear_to(0, 0, 0);
    render_at(s, 8, logofinal_render);
    EXPECT_FLOAT_EQ(logofinal_clock(), 8);
    rgb first = pixel_at(near.x, near.y);
    EXPECT_NEAR(first.g, 100, 12);
    // Both passes: the opaque logo map, then 7 % of the mirror added on top.
    EXPECT_GE(first.r + first.g, 100 + 4);
    EXPECT_RGB_NEAR(pixel_at(far.x - 1, far.y), 127, 0, 0, 6);
    EXPECT_RGB_NEAR(pixel_at(12, 12), 127, 0, 0, 6);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    // Second frame at the same clock: the camera has risen and backed away.
    clear_to(0, 0, 0);
    render_at(s, 8, logofinal_render);
    EXPECT_RGB_NEAR(pixel_at(near.x, near.y), 127, 0, 0, 6);
    EXPECT_NEAR(pixel_at(far.x, far.y).g, 100, 12);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The mirror is the scene's own texture, filled with the frame so far and
// its mipmaps with it; the frame copy keeps its options, and presenting the
// frame shows the logo in the middle of the band.
TEST_F(scenes_e_window, logofinal_mirror_is_its_own_and_the_presentation_still_works) {
    open();
    write_colour(LOGOFINAL_SKYBOX_IMAGE, 255, 0, 0);
    write_colour(LOGOFINAL_LOGO_IMAGE, 0, 100, 0);
    write_box(std::string(LOGOFINAL_MODEL_DIR) + LOGOFINAL_FRAME_FILE, 150, 40);
    write_box(std::string(LOGOFINAL_MODEL_DIR) + LOGOFINAL_LETTER_FILE, 0, 20);
    logofinal_load();
    const texture* frame_copy = texture_table[rtt_texture];
    EXPECT_EQ(frame_copy->filter, static_cast<GLenum>(GL_LINEAR));
    EXPECT_EQ(frame_copy->env_mode, static_cast<GLenum>(GL_REPLACE));
    section& s = add_section(section_type_find("logofinal"), 0, 20, {});
    clear_to(0, 0, 0);
    render_at(s, 8, logofinal_render);
    GLint mirror = bound_name();
    EXPECT_NE(mirror, static_cast<GLint>(frame_copy->gl_name));
    GLint width = 0, half = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &half);
    ASSERT_EQ(width, 512);
    ASSERT_EQ(half, 256);
    // A sky corner in the copy, at full size and at half size.
    std::vector<unsigned char> level0(512 * 512 * 4), level1(256 * 256 * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, level0.data());
    glGetTexImage(GL_TEXTURE_2D, 1, GL_RGBA, GL_UNSIGNED_BYTE, level1.data());
    EXPECT_NEAR(level0[(10 * 512 + 10) * 4], 127, 6);
    EXPECT_NEAR(level1[(5 * 256 + 5) * 4], 127, 6);
    // The copy holds the first pass only: the logo's own green in the middle.
    EXPECT_NEAR(level0[(256 * 512 + 256) * 4 + 1], 100, 12);
    // The frame copy's GL object kept its filter.
    texture_bind(rtt_texture);
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);
    frame_present();
    // 800 x 600 window, 16:9 band from y = 75 to 525.
    EXPECT_GE(pixel_at(400, 300).g, 95);
    EXPECT_RGB_NEAR(pixel_at(8, 300), 127, 0, 0, 8);
    EXPECT_RGB_NEAR(pixel_at(400, 40), 0, 0, 0, 2);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
