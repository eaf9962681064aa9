// Models go to GL from their vertex records, which leave GL's current normal
// and texture coordinate alone; the drawing sets them to the last vertex
// drawn, as sending the vertices one by one would, since later lit or
// untextured drawing takes them from there.
#include "resources/model.h"
#include "resources/model_draw.h"
#include "tests/camera_gl_window.h"
#include "tools/assets/model_writer.h"

namespace {

class ModelArrays : public CameraGlWindow {};

// A quad in the z = 0 plane (normal +z, two faces), then a triangle in the
// x = 0 plane (normal +x, one face), both textured with coordinates.
model* two_objects() {
    mesh_model source;
    mesh_material tex;
    tex.name = "tex";
    source.materials = {tex};
    source.objects.resize(2);
    mesh_object& quad = source.objects[0];
    quad.name = "quad";
    quad.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    quad.uvs = {{0, 0}, {1, 0}, {1, 1}, {0.5f, 0.25f}};
    quad.triangles = {{0, 1, 2}, {0, 2, 3}};
    quad.groups = {{"tex", {0, 1}}};
    mesh_object& side = source.objects[1];
    side.name = "side";
    side.vertices = {{0, 0, 0}, {0, 0, -1}, {0, 1, 0}};
    side.uvs = {{0, 0}, {0.75f, 0.125f}, {0.25f, 0.5f}};
    side.triangles = {{0, 1, 2}};
    side.groups = {{"tex", {0}}};
    std::vector<unsigned char> bytes = model_writer_encode(source, "arrays.3ds");
    std::string error;
    model* m = model_parse(bytes.data(), bytes.size(), &error);
    EXPECT_NE(m, nullptr) << error;
    if (m) model_compute_normals(m);
    return m;
}

std::vector<float> current(GLenum what, int count) {
    std::vector<float> v(4);
    glGetFloatv(what, v.data());
    v.resize(count);
    return v;
}

TEST_F(ModelArrays, drawing_leaves_the_last_vertex_current) {
    model* m = two_objects();
    ASSERT_NE(m, nullptr);
    const int texture = texture_create_empty(4, 4, GL_RGB, 3);
    m->materials->texture = texture;
    // Sphere-mapped: the fraction picks the last face drawn. A half draws the
    // quad's first face and nothing of the one-face triangle.
    struct row {
        float fraction;
        std::vector<float> normal;
    };
    const row rows[] = {{1, {1, 0, 0}}, {0.5f, {0, 0, 1}}, {0, {0.25f, 0.5f, 0.75f}}};
    for (const row& r : rows) {
        SCOPED_TRACE(r.fraction);
        glNormal3f(0.25f, 0.5f, 0.75f);
        model_draw_partial(m, r.fraction);
        EXPECT_EQ(current(GL_CURRENT_NORMAL, 3), r.normal);
    }
    // With materials: the coordinate pair of the triangle's last vertex.
    glTexCoord2f(0.5f, 0.5f);
    model_draw_materials(m);
    EXPECT_EQ(current(GL_CURRENT_TEXTURE_COORDS, 2), (std::vector<float>{0.25f, 0.5f}));
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    model_free(m);
}

}  // namespace
