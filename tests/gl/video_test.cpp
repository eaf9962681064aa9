// The render target and its presentation on a real window, read back: the
// picture stretched upright.
#include "tests/effect_window.h"

namespace {

TEST_F(effect_window, render_target_picture_is_stretched_upright) {
    open("gl_width 800\ngl_height 600\ngl_panoramic 1\n");
    // Red in the lower half of the render target, green in the upper half.
    fill_rect(0, 0, gl_rttWidth, gl_rttHeight / 2, 1, 0, 0);
    fill_rect(0, gl_rttHeight / 2, gl_rttWidth, gl_rttHeight / 2, 0, 1, 0);
    glColor4f(1, 1, 1, 1);
    frame_present();
    rgb low = pixel_at(400, 100), high = pixel_at(400, 500);
    EXPECT_GT(low.r, 200);
    EXPECT_LT(low.g, 50);
    EXPECT_GT(high.g, 200);
    EXPECT_LT(high.r, 50);
}

}  // namespace
