// Models drawn on Mesa and read back: sphere-mapped texture coordinates, the
// leading fraction of each object's faces, and per-material batches (lit
// colours, textures uploaded on first use, objects without UVs drawn lit)
// with the state they leave behind.
#include <cmath>
#include <memory>

#include "resources/model.h"
#include "resources/model_draw.h"
#include "tests/camera_gl_window.h"
#include "tools/assets/model_writer.h"

namespace {

struct model_deleter {
    void operator()(model* m) const { model_free(m); }
};
typedef std::unique_ptr<model, model_deleter> model_ptr;

model_ptr make_model(const mesh_model& source) {
    std::vector<unsigned char> bytes = model_writer_encode(source, "test.3ds");
    std::string error;
    model* m = model_parse(bytes.data(), bytes.size(), &error);
    EXPECT_NE(m, nullptr) << error;
    model_compute_normals(m);
    return model_ptr(m);
}

// Adds the quad (x0, y0)-(x1, y1) at z = 0 facing +z as two triangles: the
// lower right one first, then the upper left one.
void add_quad(mesh_object& o, float x0, float y0, float x1, float y1) {
    const int base = (int)o.vertices.size();
    o.vertices.push_back({x0, y0, 0});
    o.vertices.push_back({x1, y0, 0});
    o.vertices.push_back({x1, y1, 0});
    o.vertices.push_back({x0, y1, 0});
    o.uvs.push_back({0, 0});
    o.uvs.push_back({1, 0});
    o.uvs.push_back({1, 1});
    o.uvs.push_back({0, 1});
    o.triangles.push_back({base, base + 1, base + 2});
    o.triangles.push_back({base, base + 2, base + 3});
}

class ModelGl : public CameraGlWindow {
protected:
    static int lit_pixels() {
        std::vector<unsigned char> p(SIZE * SIZE * 4);
        glReadPixels(0, 0, SIZE, SIZE, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
        int lit = 0;
        for (size_t i = 0; i < p.size(); i += 4) lit += p[i] + p[i + 1] + p[i + 2] > 60;
        return lit;
    }
    // Window pixel of the world coordinate v under the identity projection.
    static int to_pixel(float v) { return (int)((v + 1) * 0.5f * SIZE); }
    // Whether triangle `index` of a strip of `columns` quads over y0..y1 is lit.
    static bool triangle_lit(int index, int columns, float y0, float y1) {
        const float width = 2.0f / columns, x0 = -1 + (index / 2) * width;
        const bool lower_right = index % 2 == 0;
        const float x = x0 + width * (lower_right ? 0.8f : 0.2f);
        const float y = y0 + (y1 - y0) * (lower_right ? 0.2f : 0.8f);
        return read(to_pixel(x), SIZE - 1 - to_pixel(y)).r > 128;
    }
};

TEST_F(ModelGl, sphere_mapping_generates_coordinates_from_the_view_and_normals) {
    mesh_model source;
    source.objects.push_back({});
    source.objects[0].name = "plate";
    add_quad(source.objects[0], -0.8f, -0.8f, 0.8f, 0.8f);
    model_ptr m = make_model(source);

    // A map red on its left half, green on its right.
    int map = texture_create_empty(64, 1, GL_RGB, 3);
    for (int x = 0; x < 64; ++x) {
        texture_table[map]->pixels[3 * x] = x < 32 ? 255 : 0;
        texture_table[map]->pixels[3 * x + 1] = x < 32 ? 0 : 255;
    }
    texture_set_options(map, TEXTURE_LINEAR | TEXTURE_CLAMP);
    texture_upload(map);
    texture_bind(map);
    glEnable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glOrtho(-1, 1, -1, 1, 0.1, 10);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(0, 0, -1);

    model_draw_sphere_mapped(m.get());
    glDisable(GL_TEXTURE_2D);

    // The quad covers 0.8 x 0.8 of the window's half-sides.
    EXPECT_NEAR(lit_pixels(), 0.64 * SIZE * SIZE, 0.03 * SIZE * SIZE);
    // Seen straight on, the left of the plate reflects the map's left half.
    expect_colour(to_pixel(-0.6f), SIZE / 2, {255, 0, 0, 255}, 8);
    expect_colour(to_pixel(0.6f), SIZE / 2, {0, 255, 0, 255}, 8);
    expect_colour(2, SIZE / 2, {0, 0, 0, 255}, 0);
    EXPECT_FALSE(get_bool(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(get_bool(GL_TEXTURE_GEN_T));
    GLint mode = 0;
    glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &mode);
    EXPECT_EQ(mode, GL_SPHERE_MAP);
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

// Two objects: a strip of 16 triangles on the upper half of the window, and
// one of 7 on the lower half.
mesh_model two_strips() {
    mesh_model source;
    source.objects.resize(2);
    source.objects[0].name = "upper";
    for (int i = 0; i < 8; ++i) add_quad(source.objects[0], -1 + i * 0.25f, 0.1f, -0.75f + i * 0.25f, 0.9f);
    source.objects[1].name = "lower";
    for (int i = 0; i < 4; ++i) add_quad(source.objects[1], -1 + i * 0.5f, -0.9f, -0.5f + i * 0.5f, -0.1f);
    source.objects[1].triangles.pop_back();
    return source;
}

TEST_F(ModelGl, partial_drawing_draws_the_leading_fraction_of_each_object) {
    model_ptr m = make_model(two_strips());
    struct partial_case {
        float fraction;
        int upper, lower;  // faces drawn
    } cases[] = {{0, 0, 0},   {0.5f, 8, 3}, {0.3f, 4, 2},  {0.34f, 5, 2},
                 {1, 16, 7},  {1.5f, 16, 7}, {-1, 0, 0},   {std::nanf(""), 0, 0}};
    for (const partial_case& c : cases) {
        SCOPED_TRACE(c.fraction);
        glClear(GL_COLOR_BUFFER_BIT);
        model_draw_partial(m.get(), c.fraction);
        for (int i = 0; i < 16; ++i) EXPECT_EQ(triangle_lit(i, 8, 0.1f, 0.9f), i < c.upper) << "upper " << i;
        for (int i = 0; i < 7; ++i) EXPECT_EQ(triangle_lit(i, 4, -0.9f, -0.1f), i < c.lower) << "lower " << i;
    }
    // Each strip covers 2 x 0.8 of the window's 2 x 2: half the upper one
    // and 3 of the lower one's 8 triangle places.
    glClear(GL_COLOR_BUFFER_BIT);
    model_draw_partial(m.get(), 0.5f);
    const float strip = 0.4f * SIZE * SIZE;
    EXPECT_NEAR(lit_pixels(), strip * (0.5f + 3 / 8.0f), 0.03f * strip);
    EXPECT_FALSE(get_bool(GL_TEXTURE_GEN_S));
}

}  // namespace
