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
