// gen3Dimage's picture quad and genWireframe's line model drawn on Mesa
// through their own init and render: where the quad lands, its two scales
// and the strength it is added with at a time; the wireframe's lines (not
// faces) in the colour its waves give at a time.
#include <cmath>

#include "effects/image3d.h"
#include "effects/wireframe.h"
#include "tests/scene_window.h"

namespace {

// A 16-pixel white picture scaled by (0.05, 0.025) at x = 0.1: 0.8 wide,
// 0.4 high; its alpha runs from 1 to 0 over ten seconds.
TEST_F(scene_window, picture_quad_lands_scaled_and_added_at_its_alpha) {
    open_view();
    write_plain("white.jpg", 255, 255, 255);
    section& s = add_section(section_type_find("gen3Dimage"), 0, 10, {0.05f, 0.025f, 0.1f, 0, 0, 1, 0});
    set_strings(s, {"white.jpg"});
    section_init(current_section);
    render_cleared(s, 2.5f, image3d_render);
    const int a = 191;  // three quarters of full strength
    const struct {
        float x, y;
        int level;
    } points[] = {{0.1f, 0, a}, {0.45f, 0.15f, a}, {-0.25f, -0.15f, a}, {-0.35f, 0, 0}, {0.55f, 0, 0},
                  {0.1f, 0.3f, 0}, {0.1f, -0.3f, 0}};
    for (const auto& p : points)
        EXPECT_RGB_NEAR(world_pixel(p.x, p.y), p.level, p.level, p.level, 2) << p.x << "," << p.y;
    expect_clean_state();
}

// A cube ahead of the type's camera, drawn as lines: a thin share of the
// frame, in red 1 and green 0.4 + 0.4 sin(T) at T = pi / 2.
TEST_F(scene_window, wireframe_draws_lines_in_the_colour_of_its_waves) {
    open();
    write_boxes("cube.3ds", {{{-0.5f, -0.5f, 2.5f}, {0.5f, 0.5f, 3.5f}}});
    const float T = static_cast<float>(M_PI / 2);
    section& s = add_section(section_type_find("genWireframe"), 0, 10, {1, 1, 0, 0, 0.4f, 0.4f, 1, 0, 0, 0, 1, 0, 0});
    set_strings(s, {"./", "cube.3ds"});
    wireframe_load();
    section_init(current_section);
    render_cleared(s, T, wireframe_render);
    lit_pixels l = lit();
    EXPECT_GT(l.count, 300);
    EXPECT_LT(l.count, 0.02 * gl_rttWidth * gl_rttHeight);
    EXPECT_NEAR(l.sum[0] / l.count, 255, 2);
    EXPECT_NEAR(l.sum[1] / l.count, 204, 3);
    EXPECT_LE(l.sum[2], l.count);
    GLint modes[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);
}

}  // namespace
