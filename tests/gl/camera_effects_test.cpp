// Cameras on Mesa: genCamera's spline places the view from the next frame on
// (the frame it moves in still shows the old view), with the projection its
// params give; a new camera's clip planes.
#include "effects/camera_fx.h"
#include "resources/camera.h"
#include "tests/scene_window.h"

namespace {

// A fat point in one colour at a world point, in the view as it stands.
void draw_point(float x, float y, float z, float r, float g, float b) {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glPointSize(9);
    glColor3f(r, g, b);
    glBegin(GL_POINTS);
    glVertex3f(x, y, z);
    glEnd();
    glPointSize(1);
    glEnable(GL_TEXTURE_2D);
}

// Which of a green point at the origin and a red one at (2, 0, 0) lands in
// the middle of the frame.
rgb centre_of_two_points() {
    draw_point(0, 0, 0, 0, 1, 0);
    draw_point(2, 0, 0, 1, 0, 0);
    return scene_window::pixel_at(gl_rttWidth / 2, gl_rttHeight / 2);
}

TEST_F(scene_window, camera_frame_shows_the_spline_view_one_frame_late) {
    open();
    section& s = add_section(section_type_find("genCamera"), 0, 10, {60, 0.1f, 100});
    section_init(current_section);
    add_spline(s, "{2,0,5,0,0,0,2,0,0}\n", 10);  // eye at (2, 0, 5) looking at (2, 0, 0)
    camera* c = static_cast<camera*>(s.instance_data);
    // The first frame still looks from (3, 3, 3) at the origin, but the
    // camera has already moved for the sections after it.
    render_cleared(s, 0.5f, camera_fx_render);
    EXPECT_EQ(current_camera, c);
    EXPECT_RGB_NEAR(centre_of_two_points(), 0, 255, 0, 2);
    EXPECT_EQ(c->position[0], 2);
    EXPECT_EQ(c->position[2], 5);
    EXPECT_EQ(c->target[0], 2);
    render_cleared(s, 1.0f, camera_fx_render);
    float gl[16], ours[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, gl);
    camera_view_matrix(c, ours);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(gl[i], ours[i], 1e-4) << "modelview " << i;
    EXPECT_RGB_NEAR(centre_of_two_points(), 255, 0, 0, 2);
    // The origin is 2 units left of the axis at depth 5.
    EXPECT_RGB_NEAR(pixel_at(gl_rttWidth / 2 - 3, gl_rttHeight / 2), 255, 0, 0, 2);
    float p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    float f = 1.0f / std::tan(30.0f * static_cast<float>(M_PI) / 180.0f);
    EXPECT_NEAR(p[5], f, 1e-4);
    EXPECT_NEAR(p[0], f / aspect_ratio, 1e-4);
    EXPECT_NEAR(p[10], (100.0f + 0.1f) / (0.1f - 100.0f), 1e-4);
    EXPECT_EQ(integer_state(GL_MATRIX_MODE), GL_MODELVIEW);
    current_camera = nullptr;
}

// A new camera's default clip planes: a point 50 units ahead shows, one
// closer than a tenth of a unit does not.
TEST_F(scene_window, new_camera_sees_from_a_tenth_to_a_hundred_units) {
    open();
    camera* c = camera_create(CAMERA_LOOK_AT_MODE);
    camera_set_target(c, 0, 0, -1);
    camera_set_perspective(c, 60, 1);
    clear_to(0, 0, 0);
    camera_apply_projection(c);
    camera_apply_view(c);
    draw_point(0, 0, -50, 1, 0, 0);
    draw_point(0, 0, -0.05f, 0, 1, 0);
    EXPECT_RGB_NEAR(pixel_at(gl_rttWidth / 2, gl_rttHeight / 2), 255, 0, 0, 2);
    free(c);
}

}  // namespace
