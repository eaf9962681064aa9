// The model builder, column and paranoia scenes drawn on Mesa through their
// own callbacks, from small models and plain pictures the tests write at the
// scenes' fixed paths, and read back: how much of the model is built, what
// the sky layers add, that the column's second reflection is a copy of the
// previous frame while the presentation's frame copy keeps its own options.
#include <cmath>

#include "resources/texture.h"
#include "scenes/3Dbuilder.h"
#include "scenes/columna.h"
#include "scenes/paranoia.h"
#include "tests/effect_window.h"
#include "tools/assets/asset_io.h"
#include "tools/assets/meshes.h"
#include "tools/assets/model_writer.h"

namespace {

struct scenes_d_window : effect_window {
    // A 16 x 16 picture in one colour at `name` under the test's folder.
    void write_plain(const std::string& name, int r, int g, int b) {
        rgb_image image(16, 16, 3);
        for (size_t i = 0; i < image.pixels.size(); i += 3) {
            image.pixels[i] = static_cast<unsigned char>(r);
            image.pixels[i + 1] = static_cast<unsigned char>(g);
            image.pixels[i + 2] = static_cast<unsigned char>(b);
        }
        std::string path = dir.file(name);
        asset_make_parent(path);
        asset_write_jpeg(path, image, 100);
    }
    // One object of axis-aligned boxes, in order, each 12 faces.
    void write_boxes(const std::string& name, std::initializer_list<std::pair<mesh_vec3, mesh_vec3>> boxes) {
        mesh_model m;
        mesh_object o;
        o.name = "boxes";
        for (const auto& b : boxes) mesh_append_box(o, b.first, b.second, false);
        m.objects.push_back(o);
        std::string path = dir.file(name);
        asset_make_parent(path);
        model_writer_save(path, m);
    }
    // A square in the z = 0 plane facing +Z, two faces.
    void write_square(const std::string& name, float half) {
        mesh_model m;
        mesh_object o;
        o.name = "square";
        o.vertices = {{-half, -half, 0}, {half, -half, 0}, {half, half, 0}, {-half, half, 0}};
        mesh_triangle lower, upper;
        lower.a = 0, lower.b = 1, lower.c = 2;
        upper.a = 0, upper.b = 2, upper.c = 3;
        o.triangles = {lower, upper};
        m.objects.push_back(o);
        std::string path = dir.file(name);
        asset_make_parent(path);
        model_writer_save(path, m);
    }
    static void render_at(section& s, float t, void (*render)()) {
        demo_time = s.start + t;
        s.local_time = t;
        current_section = &s;
        render();
    }
};

mesh_vec3 v3(float x, float y, float z) {
    mesh_vec3 v;
    v.x = x, v.y = y, v.z = z;
    return v;
}

// ---------------------------------------------------------------------------
// 3Dbuilder
// ---------------------------------------------------------------------------

// Two boxes, left one first in the file: half the faces is the left box,
// solid in the (white) front picture; none at the start, both with no length.
TEST_F(scenes_d_window, builder_draws_the_leading_faces_of_the_model) {
    open();
    write_boxes(std::string(BUILDER3D_MODEL_DIR) + BUILDER3D_MODEL_FILE,
                {{v3(-1.2f, -0.5f, -0.5f), v3(-0.2f, 0.5f, 0.5f)}, {v3(0.2f, -0.5f, -0.5f), v3(1.2f, 0.5f, 0.5f)}});
    write_plain(BUILDER3D_FRONT_IMAGE, 255, 255, 255);
    write_plain(BUILDER3D_BACK_IMAGE, 0, 0, 0);
    builder3d_load();
    const struct {
        const char* name;
        float end, t;
        bool left, right;
    } cases[] = {
        {"at the start", 8, 0, false, false},
        {"halfway", 8, 4, true, false},
        {"just before the end", 8, 7.99f, true, true},
        {"no length", 0, 0, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        section& s = add_section(section_type_find("3Dbuilder"), 0, c.end, {});
        s.duration = c.end;
        builder3d_start();
        clear_to(0, 0, 0);
        render_at(s, c.t, builder3d_render);
        // Box centres at x = +-0.7 land about 56 pixels either side of the middle.
        EXPECT_EQ(pixel_at(200, 256).r, c.left ? 255 : 0);
        EXPECT_EQ(pixel_at(312, 256).r, c.right ? 255 : 0);
        EXPECT_RGB_NEAR(pixel_at(256, 480), 0, 0, 0, 0);
        float size = 0;
        glGetFloatv(GL_POINT_SIZE, &size);
        EXPECT_EQ(size, 2.0f);
        GLint modes[2] = {0, 0};
        glGetIntegerv(GL_POLYGON_MODE, modes);
        EXPECT_EQ(modes[0], GL_FILL);
        EXPECT_EQ(modes[1], GL_FILL);
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

// ---------------------------------------------------------------------------
// columna
// ---------------------------------------------------------------------------

struct scenes_d_columna_window : scenes_d_window {
    void load_column() {
        write_plain(COLUMNA_SKY_IMAGE, 200, 100, 40);
        write_plain(COLUMNA_REFLECTION_IMAGE, 255, 255, 255);
        // 20 units on a side after the scene's scale of 0.2.
        write_boxes(std::string(COLUMNA_MODEL_DIR) + COLUMNA_MODEL_FILE, {{v3(-50, -50, -50), v3(50, 50, 50)}});
        columna_load();
    }
};

// The first frame: five sky layers at a twentieth each; the column adds 0.4
// of its white reflection, then the second pass keeps 0.4 of that and adds
// 0.4 of the still-black feedback texture.
TEST_F(scenes_d_columna_window, column_adds_reflections_over_five_sky_layers) {
    open();
    load_column();
    section& s = add_section(section_type_find("columna"), 1, 11, {});
    columna_start();
    clear_to(0, 0, 0);
    render_at(s, 0.5f, columna_render);
    EXPECT_RGB_NEAR(pixel_at(5, 5), 50, 25, 10, 3);
    EXPECT_RGB_NEAR(pixel_at(256, 256), 0.4f * (50 + 102), 0.4f * (25 + 102), 0.4f * (10 + 102), 4);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint dst = 0;
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(dst, GL_SRC_ALPHA);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// After a frame the second texture holds that frame, so the next frame's
// second pass reflects it; the frame copy the presentation uses is neither
// the second texture nor changed, and still shows the picture.
TEST_F(scenes_d_columna_window, second_reflection_is_the_previous_frame_and_presentation_keeps_working) {
    open();
    GLuint rtt_name = texture_table[rtt_texture]->gl_name;
    load_column();
    int second = columna_second_texture();
    ASSERT_GE(second, 0);
    EXPECT_NE(second, rtt_texture);
    EXPECT_NE(texture_table[second]->gl_name, rtt_name);
    const texture* rtt = texture_table[rtt_texture];
    EXPECT_EQ(rtt->gl_name, rtt_name);
    EXPECT_EQ(rtt->filter, static_cast<GLenum>(GL_LINEAR));
    EXPECT_EQ(rtt->env_mode, static_cast<GLenum>(GL_REPLACE));
    EXPECT_EQ(texture_table[second]->env_mode, static_cast<GLenum>(GL_MODULATE));

    section& s = add_section(section_type_find("columna"), 0, 10, {});
    columna_start();
    clear_to(0, 0, 0);
    render_at(s, 2, columna_render);
    std::vector<unsigned char> frame = read_target();
    std::vector<unsigned char> copy(512 * 512 * 3);
    texture_bind(second);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, copy.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    for (int y : {5, 256, 400})
        for (int x : {5, 256, 300}) {
            size_t i = (static_cast<size_t>(y) * 512 + x);
            EXPECT_NEAR(copy[i * 3], frame[i * 4], 1) << x << ", " << y;
            EXPECT_NEAR(copy[i * 3 + 1], frame[i * 4 + 1], 1) << x << ", " << y;
        }
    // The smaller levels follow the copy: the one-texel level is the mean of
    // a frame that is nowhere black.
    unsigned char smallest[3] = {0, 0, 0};
    glGetTexImage(GL_TEXTURE_2D, 9, GL_RGB, GL_UNSIGNED_BYTE, smallest);
    EXPECT_GT(smallest[0], 30);
    GLint rtt_filter = 0;
    texture_bind(rtt_texture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &rtt_filter);
    EXPECT_EQ(rtt_filter, GL_LINEAR);

    // A second frame reflects the first: brighter than the black feedback gave.
    rgb first = pixel_at(256, 256);
    clear_to(0, 0, 0);
    render_at(s, 2, columna_render);
    rgb second_frame = pixel_at(256, 256);
    EXPECT_GT(second_frame.r, first.r + 10);
    // The window's band (800 x 450 at y = 75) shows the render target.
    frame_present();
    EXPECT_RGB_NEAR(pixel_at(400, 300), second_frame.r, second_frame.g, second_frame.b, 6);
    EXPECT_RGB_NEAR(pixel_at(400, 30), 0, 0, 0, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// ---------------------------------------------------------------------------
// paranoia
// ---------------------------------------------------------------------------

struct scenes_d_paranoia_window : scenes_d_window {
    void load_paranoia() {
        write_plain(PARANOIA_SKY_IMAGE, 100, 60, 200);
        write_plain(PARANOIA_IMAGE, 255, 255, 255);
        // 96 units across after the scene's scale of 0.03.
        write_square(std::string(PARANOIA_MODEL_DIR) + PARANOIA_MODEL_FILE, 1600);
        paranoia_load();
    }
};

// The generated sky draws: five layers at a tenth each. At the start nothing
// of the model is built; a section of no length shows all of it, its white
// surface added at a half over the sky.
TEST_F(scenes_d_paranoia_window, paranoia_adds_its_model_over_five_sky_layers) {
    open();
    load_paranoia();
    const struct {
        const char* name;
        float end;
        bool built;
    } cases[] = {{"at the start", 10, false}, {"no length", 0, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        section& s = add_section(section_type_find("paranoia"), 0, c.end, {});
        paranoia_start();
        clear_to(0, 0, 0);
        render_at(s, 0, paranoia_render);
        EXPECT_RGB_NEAR(pixel_at(5, 5), 50, 30, 100, 3);
        int add = c.built ? 128 : 0;
        EXPECT_RGB_NEAR(pixel_at(256, 256), 50 + add, 30 + add, 100 + add, 4);
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
        GLint modes[2] = {0, 0};
        glGetIntegerv(GL_POLYGON_MODE, modes);
        EXPECT_EQ(modes[0], GL_FILL);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

// Half way through, one of the square's two faces is built: the lower right
// triangle (the file's first face) shows, the upper left one does not.
TEST_F(scenes_d_paranoia_window, paranoia_builds_its_faces_in_file_order) {
    open();
    load_paranoia();
    section& s = add_section(section_type_find("paranoia"), 0, 0.2f, {});
    clear_to(0, 0, 0);
    render_at(s, 0.1f, paranoia_render);
    // Seen from (20, 0, 50) the square covers the middle third of the frame,
    // its diagonal from the lower left to the upper right.
    EXPECT_RGB_NEAR(pixel_at(384, 128), 178, 158, 228, 4);
    EXPECT_RGB_NEAR(pixel_at(224, 352), 50, 30, 100, 3);
}

}  // namespace
