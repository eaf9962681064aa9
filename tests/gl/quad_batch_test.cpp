// Quads gathered into one batch on Mesa against the same quads drawn one by
// one under GL's own matrices: the matrices built beside GL equal GL's bit
// for bit, and the batch lands on the same pixels (a colour that GL
// interpolates instead of holding may still round one level apart).
#include <cstring>

#include "effects/quad_batch.h"
#include "resources/camera.h"
#include "resources/texture.h"
#include "tests/scene_window.h"

namespace {

struct quad_batch_window : scene_window {};

struct turn {
    float angle, x, y, z;
};

// General axes, the three coordinate axes either way round, odd angles.
const turn TURNS[] = {{33.3f, 1, -0.5f, 0.75f}, {-271.9f, -2, 0.5f, 0.75f}, {95.7f, 0, 0, 1},
                      {-12.25f, 0, 0, -3},      {201.5f, 0, 2, 0},          {-64.1f, 0, -1, 0},
                      {7.75f, 1, 0, 0},         {130.2f, -0.5f, 0, 0},      {1234.5f, 0.9f, -0.23f, 0.8f}};

TEST_F(quad_batch_window, matrices_built_beside_gl_equal_gl_bit_for_bit) {
    open();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.3f, -1.7f, -4.1f);
    float ours[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, ours);
    for (const turn& t : TURNS) {
        glRotatef(t.angle, t.x, t.y, t.z);
        glTranslatef(t.z, t.x * 3, -t.y);
        mat4_rotate(ours, t.angle, t.x, t.y, t.z);
        mat4_translate(ours, t.z, t.x * 3, -t.y);
        float gl[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, gl);
        EXPECT_EQ(std::memcmp(gl, ours, sizeof gl), 0) << "after the turn of " << t.angle << " degrees";
    }
    glLoadIdentity();
}

TEST_F(quad_batch_window, batch_lands_on_the_pixels_of_quads_drawn_one_by_one) {
    write_picture("glow.tga", 32, 32, [](int x, int y) { return rgb{x * 8, y * 8, 255 - x * 4}; });
    open("gl_rttWidth 256\ngl_rttHeight 256\n");
    int texture = texture_load("glow.tga");
    ASSERT_GE(texture, 0);
    texture_set_options(texture, TEXTURE_MODULATE);
    texture_upload(texture);
    textured_quad quad;
    quad_init(&quad, texture, 3, 3);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.1, 0.1, -0.1, 0.1, 0.1, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -12);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);

    clear_to(0, 0, 0);
    for (const turn& t : TURNS) {
        glColor4f(0.9f, 0.6f, 0.3f, 0.4f);
        glRotatef(t.angle, t.x, t.y, t.z);
        glTranslatef(t.x, t.y, t.z);
        quad_draw(&quad);
    }
    std::vector<unsigned char> one_by_one = read_target();

    glLoadIdentity();
    glTranslatef(0, 0, -12);
    float view[16], projection[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, view);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    quad_batch batch;
    const float colour[4] = {0.9f, 0.6f, 0.3f, 0.4f};
    for (const turn& t : TURNS) {
        mat4_rotate(view, t.angle, t.x, t.y, t.z);
        mat4_translate(view, t.x, t.y, t.z);
        float mvp[16];
        std::memcpy(mvp, projection, sizeof mvp);
        mat4_multiply(mvp, view);
        quad_batch_add(&batch, &quad, mvp, colour);
    }
    clear_to(0, 0, 0);
    quad_batch_draw(&batch, texture);
    std::vector<unsigned char> batched = read_target();

    int largest = 0, differing = 0, lit = 0;
    for (size_t i = 0; i < batched.size(); i += 4) {
        int worst = 0;
        for (size_t c = 0; c < 3; ++c) worst = std::max(worst, std::abs(batched[i + c] - one_by_one[i + c]));
        largest = std::max(largest, worst);
        differing += worst > 0;
        lit += one_by_one[i] + one_by_one[i + 1] + one_by_one[i + 2] > 0;
    }
    EXPECT_GT(lit, 256 * 256 / 40) << "the quads cover too little to compare";
    EXPECT_LE(largest, 1);
    EXPECT_LE(differing, 256 * 256 / 200);
    float left[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, left);
    EXPECT_EQ(left[14], -12) << "the modelview is left as it was";
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

}  // namespace
