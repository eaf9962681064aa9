// Models go to GL from their vertex records, which leave GL's current normal
// and texture coordinate alone; the drawing sets them to the last vertex
// drawn, as sending the vertices one by one would, since later lit or
// untextured drawing takes them from there.
#include "resources/model.h"
#include "resources/model_draw.h"
#include "resources/texture.h"
#include "tests/effect_window.h"
#include "assetlib/model_writer.h"

namespace {

using ModelArrays = effect_window;

std::vector<float> current(GLenum what, int count) {
    std::vector<float> v(4);
    glGetFloatv(what, v.data());
    v.resize(count);
    return v;
}

TEST_F(ModelArrays, drawing_leaves_the_last_vertex_current) {
    open();
    mesh_model source;
    source.materials = {mesh_material{"tex", {}, {1, 1, 1}, {}, 0, ""}};
    source.objects = {{"quad", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2}, {0, 2, 3}},
                       {{0, 0}, {1, 0}, {1, 1}, {0.5f, 0.25f}}, {{"tex", {0, 1}}}}};
    std::vector<unsigned char> bytes = model_writer_encode(source, "quad.3ds");
    model* m = model_parse(bytes.data(), bytes.size(), nullptr);
    ASSERT_NE(m, nullptr);
    model_compute_normals(m);
    m->materials->texture = texture_create_empty(4, 4, GL_RGB, 3);
    for (float fraction : {1.0f, 0.5f, 0.0f}) {
        glNormal3f(0.25f, 0.5f, 0.75f);
        model_draw_partial(m, fraction);
        const std::vector<float> drawn{0, 0, 1}, before{0.25f, 0.5f, 0.75f};
        EXPECT_EQ(current(GL_CURRENT_NORMAL, 3), fraction > 0 ? drawn : before) << fraction;
    }
    glTexCoord2f(0.75f, 0.75f);
    model_draw_materials(m);
    EXPECT_EQ(current(GL_CURRENT_TEXTURE_COORDS, 2), (std::vector<float>{0.5f, 0.25f}));
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    model_free(m);
}

}  // namespace
