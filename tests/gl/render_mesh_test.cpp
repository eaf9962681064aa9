// efxRenderMesh drawn on Mesa and read back: a picture whose red and green
// encode the texture coordinate, fed through the warp grid of each mode and
// compared with the grid's own points.
#include <cmath>

#include "effects/render_mesh.h"
#include "tests/effect_window.h"

namespace {

int mesh_type() { return section_type_find("efxRenderMesh"); }

// Red rising with x and green with y across the render target, so a pixel's
// colour tells which texture coordinate was sampled there.
void draw_coordinate_picture() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glBegin(GL_QUADS);
    glColor3f(0, 0, 0); glVertex2f(0, 0);
    glColor3f(1, 0, 0); glVertex2f(1, 0);
    glColor3f(1, 1, 0); glVertex2f(1, 1);
    glColor3f(0, 1, 0); glVertex2f(0, 1);
    glEnd();
    glShadeModel(GL_FLAT);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);
}

TEST_F(effect_window, render_mesh_warps_the_picture_by_the_grid_of_each_mode) {
    open();
    const struct {
        float mode;
        float time;
    } cases[] = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0.25f}, {6, 0.3f}, {7, 0}, {-2, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode);
        section& s = add_section(mesh_type(), 0, 4, {c.mode, 1, 1, 0});
        render_mesh_init();
        clear_to(0, 0, 0);
        draw_coordinate_picture();
        s.local_time = c.time;
        render_mesh_render();
        std::vector<unsigned char> pixels = read_target();
        render_mesh_grid grid;
        render_mesh_warp(render_mesh_mode(c.mode), c.time, grid);
        double worst = 0, total = 0;
        int points = 0;
        for (int i = 1; i < RENDER_MESH_CELLS; ++i) {
            for (int j = 1; j < RENDER_MESH_CELLS; ++j) {
                double u = grid[i][j][0], v = grid[i][j][1];
                if (u < 0.01 || u > 0.99 || v < 0.01 || v > 0.99) continue;
                int x = i * gl_rttWidth / RENDER_MESH_CELLS, y = j * gl_rttHeight / RENDER_MESH_CELLS;
                const unsigned char* p = &pixels[(static_cast<size_t>(y) * gl_rttWidth + x) * 4];
                double error = std::fmax(std::fabs(p[0] - u * 255), std::fabs(p[1] - v * 255));
                worst = std::fmax(worst, error);
                total += error;
                ++points;
            }
        }
        ASSERT_GT(points, 100);
        EXPECT_LT(worst, 3.0);
        // A grid off by the smallest deformation (0.01, mode 0) would be 2.5
        // levels out on average.
        EXPECT_LT(total / points, 1.0);
    }
}

}  // namespace
