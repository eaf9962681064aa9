// The frame effects drawn on Mesa over known pictures and read back:
// efxRadialBlur's unzoomed pass equal to adding an upright copy of the
// frame, and a small bright centre smeared out to larger radii with falling
// strength; efxRenderMesh's warps and the last frame it feeds back.
#include "effects/radial_blur.h"
#include "effects/frame_copy.h"
#include "effects/render_mesh.h"
#include "resources/texture.h"
#include "tests/effect_window.h"

namespace {

int blur_type() { return section_type_find("efxRadialBlur"); }

// Red channel along the row through the middle of the 512 x 512 target, from
// the middle to the right edge.
std::vector<int> middle_row_outward() {
    std::vector<unsigned char> pixels = effect_window::read_target();
    std::vector<int> row;
    for (int x = 256; x < gl_rttWidth; ++x) row.push_back(pixels[(256 * gl_rttWidth + x) * 4]);
    return row;
}

// The unzoomed pass adds the frame to itself through the blend, without a
// copy; it must land where adding an upright copy of the frame at alpha
// does, on a picture holding every level of every channel and a square
// that tells up from down.
TEST_F(effect_window, radial_blur_pass_zero_matches_adding_an_upright_copy) {
    open();
    radial_blur_load();
    int copy = frame_copy_create(TEXTURE_LINEAR);
    auto paint = [] {
        for (int i = 0; i < 256; ++i)
            fill_rect(2 * i, 0, 2, gl_rttHeight, i / 255.0f, (255 - i) / 255.0f, (i * 7 % 256) / 255.0f);
        fill_rect(64, 384, 64, 64, 0.4f, 0.4f, 0.4f);
    };
    for (float alpha : {0.07f, 0.3f, 0.85f}) {
        SCOPED_TRACE(alpha);
        paint();
        frame_copy_take(copy);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glColor4f(1, 1, 1, alpha);
        glBegin(GL_QUADS);  // identity matrices: the copy over the whole target
        for (int c : {0, 1, 3, 2}) glTexCoord2i(c & 1, c / 2), glVertex2i(c & 1 ? 1 : -1, c / 2 ? 1 : -1);
        glEnd();
        std::vector<unsigned char> copied = read_target();
        add_section(blur_type(), 0, 4, {1, alpha, 0, alpha, 0, 0.5f, 0.5f, 0.5f, 0.5f});
        paint();
        current_section->local_time = 1;
        radial_blur_render();
        std::vector<unsigned char> blended = read_target();
        int differing = 0, largest = 0;
        for (size_t i = 0; i < copied.size(); ++i) {
            int d = i % 4 == 3 ? 0 : std::abs(copied[i] - blended[i]);
            largest = std::max(largest, d);
            differing += d > 0;
        }
        EXPECT_LE(largest, 1);
        EXPECT_LE(differing, gl_rttWidth * gl_rttHeight / 200);
    }
}

TEST_F(effect_window, radial_blur_smears_a_bright_centre_outward_with_falling_strength) {
    open();
    radial_blur_load();
    // Four passes, alpha 0.5, step 0.04, zoomed about the middle.
    add_section(blur_type(), 0, 4, {4, 0.5f, 0.04f, 0.5f, 0.04f, 0.5f, 0.5f, 0.5f, 0.5f});
    clear_to(0, 0, 0);
    fill_rect(248, 248, 16, 16, 0.25f, 0.25f, 0.25f);
    ASSERT_EQ(middle_row_outward()[10], 0);
    current_section->local_time = 1;
    radial_blur_render();
    std::vector<int> row = middle_row_outward();
    // The square (radius 8) is brighter than before, and light now reaches
    // radii it did not cover, weaker the further out.
    EXPECT_GT(row[2], 64 + 10);
    EXPECT_GT(row[10], 0);
    EXPECT_GT(row[2], row[10]);
    int last_lit = 0;
    for (int r = 8; r < static_cast<int>(row.size()); ++r) {
        if (row[r] > 0) last_lit = r;
        if (r > 8) {
            EXPECT_LE(row[r], row[r - 1] + 1) << "radius " << r;
        }
    }
    EXPECT_GE(last_lit, 11);
    EXPECT_LT(last_lit, 40);
    // The smear runs outward on the left and below as on the right and
    // above (pixel 255 - r mirrors pixel 256 + r about the middle).
    for (int r : {9, 11, 13}) {
        EXPECT_NEAR(pixel_at(255 - r, 256).r, pixel_at(256 + r, 256).r, 3) << "radius " << r;
        EXPECT_NEAR(pixel_at(256, 255 - r).r, pixel_at(256, 256 + r).r, 3) << "radius " << r;
    }
}

// Mode 0 drifts the picture a hundredth of the frame (5 pixels) left and
// down; with "add" 0 only the warped copy shows. The next frame adds the
// copy the last one took, upright, at the alpha of its time, and draws the
// warped result at that alpha too. Mode 1 zooms about the middle, which
// stays put.
TEST_F(effect_window, render_mesh_warps_the_frame_and_feeds_the_last_one_back) {
    open();
    int type = section_type_find("efxRenderMesh");
    add_section(type, 0, 4, {0, 0, 1, 0});
    render_mesh_init();
    clear_to(0, 0, 0);
    fill_rect(256, 300, 128, 128, 1, 0, 0);
    current_section->local_time = 0;
    render_mesh_render();
    EXPECT_RGB_NEAR(pixel_at(253, 350), 255, 0, 0, 2);
    EXPECT_RGB_NEAR(pixel_at(381, 350), 0, 0, 0, 0);
    EXPECT_RGB_NEAR(pixel_at(300, 297), 255, 0, 0, 2);
    EXPECT_RGB_NEAR(pixel_at(300, 425), 0, 0, 0, 0);
    EXPECT_RGB_NEAR(pixel_at(270, 298), 255, 0, 0, 2);
    clear_to(0, 0, 0);
    current_section->local_time = 2;  // alpha halfway from 0 to 1
    render_mesh_render();
    EXPECT_RGB_NEAR(pixel_at(253, 350), 64, 0, 0, 3);  // half of half
    EXPECT_RGB_NEAR(pixel_at(381, 350), 0, 0, 0, 0);
    EXPECT_RGB_NEAR(pixel_at(300, 150), 0, 0, 0, 0);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));

    add_section(type, 0, 4, {1, 0, 0, 0});
    render_mesh_init();
    clear_to(0, 0, 0);
    fill_rect(256, 256, 128, 128, 0, 1, 0);
    glColor4f(1, 1, 1, 1);
    current_section->local_time = 0;
    render_mesh_render();
    EXPECT_RGB_NEAR(pixel_at(253, 300), 0, 0, 0, 0);
    EXPECT_RGB_NEAR(pixel_at(259, 300), 0, 255, 0, 2);
    EXPECT_RGB_NEAR(pixel_at(300, 253), 0, 0, 0, 0);
    EXPECT_RGB_NEAR(pixel_at(300, 259), 0, 255, 0, 2);
}

// Mode 4 twirls the picture clockwise about the middle, more the further
// out: a red mark east of the middle swings below it, a green one north of
// it swings to the east.
TEST_F(effect_window, render_mesh_twirl_turns_marks_by_their_distance) {
    open();
    add_section(section_type_find("efxRenderMesh"), 0, 4, {4, 0, 1, 0});
    render_mesh_init();
    clear_to(0, 0, 0);
    fill_rect(396, 246, 20, 20, 1, 0, 0);
    fill_rect(246, 396, 20, 20, 0, 1, 0);
    glColor4f(1, 1, 1, 1);
    current_section->local_time = 0;
    render_mesh_render();
    lit_pixels red = lit(128, 0), green = lit(128, 1);
    ASSERT_GT(std::min(red.count, green.count), 200);
    EXPECT_LT(red.y, 256 - 20) << "red below the middle";
    EXPECT_GT(green.x, 256 + 20) << "green east of the middle";
}

}  // namespace
