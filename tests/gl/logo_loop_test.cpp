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

}  // namespace
