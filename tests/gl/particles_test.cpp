// Billboards, textured quads and the debug axes drawn on a real driver: a
// billboard is a square of the expected size where its particle is, upright,
// whichever way the camera looks; depth writes come back on; quad corners;
// the axes' colours and the state they leave.
#include <cmath>

#include "core/settings.h"
#include "effects/particles.h"
#include "effects/quads.h"
#include "resources/camera.h"
#include "tests/camera_gl_window.h"
#include "tests/test_support.h"

namespace {

const rgba RED = {255, 0, 0, 255}, GREEN = {0, 255, 0, 255}, BLUE = {0, 0, 255, 255},
           WHITE = {255, 255, 255, 255}, BLACK = {0, 0, 0, 255};

class GlParticles : public CameraGlWindow {
protected:
    temp_dir dir;

    // The quadrant picture (red, green / blue, white), linear, clamped.
    int quadrant_texture() {
        std::string path = dir.file("q.tga");
        write_tga(path, quadrant_picture(32, 32), TGA_TRUE, 24);
        int index = texture_load(path.c_str());
        texture_set_options(index, TEXTURE_LINEAR | TEXTURE_CLAMP);
        texture_upload(index);
        return index;
    }

    // The four quadrants of a square whose corners are (x0, y0) and (x1, y1)
    // (rows from the top), and black just outside it.
    void expect_square(int x0, int y0, int x1, int y1) {
        int xm = (x0 + x1) / 2, ym = (y0 + y1) / 2;
        expect_colour(x0 + 1, y0 + 1, RED);
        expect_colour(x1 - 2, y0 + 1, GREEN);
        expect_colour(x0 + 1, y1 - 2, BLUE);
        expect_colour(x1 - 2, y1 - 2, WHITE);
        expect_colour(x0 - 2, ym, BLACK);
        expect_colour(x1 + 1, ym, BLACK);
        expect_colour(xm, y0 - 2, BLACK);
        expect_colour(xm, y1 + 1, BLACK);
    }
};

TEST_F(GlParticles, BillboardFacesTheCamera) {
    int texture = quadrant_texture();
    particle_system* sys = particles_create(3, 0.5f);
    particles_add_texture(sys, texture);
    sys->particles[1].alive = 1;   // 0 and 2 stay dead and must not draw
    particle_set_colour(sys, 1, 1, 1, 1, 1);
    particle_set_position(sys, 0, 0.3f, 0.3f, 0);
    float d = 2 / std::sqrt(3.0f);
    struct view { float eye[3]; float roll; } views[] = {
        {{0, 0, 2}, 0}, {{2, 0, 0}, 0}, {{0, 0, -2}, 0}, {{d, d, d}, 0}, {{0, 0, 2}, 30},
    };
    for (const view& v : views) {
        SCOPED_TRACE(testing::Message() << v.eye[0] << "," << v.eye[1] << "," << v.eye[2]);
        camera* c = camera_create(CAMERA_LOOK_AT_MODE);
        camera_set_position(c, v.eye[0], v.eye[1], v.eye[2]);
        camera_set_roll(c, v.roll);
        camera_set_perspective(c, 90, 1);
        camera_apply_projection(c);
        camera_apply_view(c);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_TEXTURE_2D);
        // At distance 2 with a 90 degree view, half an edge of 0.5 is a
        // quarter of the half frame: a 16 pixel square in the middle.
        particle_set_position(sys, 1, 0, 0, 0);
        particles_draw(sys);
        glFinish();
        expect_square(24, 24, 40, 40);
        // Half a unit along the camera's right moves it 8 pixels right.
        glClear(GL_COLOR_BUFFER_BIT);
        particle_set_position(sys, 1, 0.5f * c->right_vector[0], 0.5f * c->right_vector[1],
                              0.5f * c->right_vector[2]);
        particles_draw(sys);
        glFinish();
        expect_square(32, 24, 48, 40);
        glDisable(GL_TEXTURE_2D);
        free(c);
    }
}

TEST_F(GlParticles, TextureSlotOutsideTheListIsFatal) {
    particle_system* sys = particles_create(2, 1);
    particles_add_texture(sys, quadrant_texture());
    sys->particles[1].alive = 1;
    sys->particles[1].texture_slot = 1;
    catch_fatal guard;
    EXPECT_THROW(particles_draw(sys), fatal_exception);
    glDepthMask(GL_TRUE);
}

}  // namespace
