// The scenes' moving parts read back as properties of the frame rather than
// exact pixels: a mirrored copy balances the frame left and right, a fade
// and a growth show in the peak and the lit area at two times, a turn in
// where the lit pixels gather from one time to the next, a colour in the
// balance of its channels, a picture laid on the water in which of its
// halves shows where.
#include "scenes/flare.h"
#include "scenes/gears.h"
#include "scenes/logofinal.h"
#include "scenes/redsun.h"
#include "scenes/thelake.h"
#include "tests/scene_window.h"

namespace {

// The side train and its copy turned half round about the upright axis
// stand either side of the middle wheels, seen from the front: the lit
// pixels balance about the middle column.
TEST_F(scene_window, gears_side_train_and_its_turned_copy_balance_the_frame) {
    open();
    const std::string folder = GEARS_MODEL_DIR;
    write_boxes(folder + GEARS_MODEL_FILES[0], {{{-0.005f, -0.005f, -0.005f}, {0.005f, 0.005f, 0.005f}}});
    write_boxes(folder + GEARS_MODEL_FILES[1], {{{-0.05f, -0.01f, -0.03f}, {0.05f, 0.01f, 0.03f}}});
    write_boxes(folder + GEARS_MODEL_FILES[2], {{{-0.03f, -0.01f, -0.02f}, {0.03f, 0.01f, 0.02f}}});
    write_plain(GEARS_TEXTURE, 255, 255, 255);
    gears_load();
    section& s = add_section(section_type_find("gears"), 0, 10, {});
    add_spline(s, "{0,0,2,0,0,0,0,0,0}\n", 10);
    for (float t : {0.5f, 3.0f}) {
        render_cleared(s, t, gears_render);
        lit_pixels l = lit();
        EXPECT_GT(l.count, 150) << t;
        EXPECT_NEAR(l.x, (gl_rttWidth - 1) / 2.0, 4) << t;
    }
}

// Half strength at the start, nothing at the end, growing as the square of
// time: bright and small early, wide and faint late.
TEST_F(scene_window, flare_grows_while_it_fades_out) {
    open();
    write_picture(FLARE_IMAGE, 64, 64, [](int x, int y) {
        return (x - 31.5f) * (x - 31.5f) + (y - 31.5f) * (y - 31.5f) < 64 ? rgb{255, 255, 255} : rgb{0, 0, 0};
    });
    flare_load();
    section& s = add_section(section_type_find("flare"), 0, 10, {});
    flare_start();
    lit_pixels at[3];
    const float times[3] = {0.5f, 1.5f, 9};
    for (int i = 0; i < 3; ++i) {
        render_cleared(s, times[i], flare_render);
        at[i] = lit(8);
    }
    EXPECT_GE(at[0].peak, 0.475 * 255 - 2);
    EXPECT_LE(at[2].peak, 3 * 0.05 * 255 + 2);
    EXPECT_GT(at[1].count, 3 * at[0].count);
    expect_clean_state();
}

// Red, green and blue each from their own wave: red at 0.15, green at
// 0.08, blue at nothing, added by six overlapping flares.
TEST_F(scene_window, redsun_tints_its_flares_channel_by_channel) {
    open();
    write_plain(REDSUN_FLARE_IMAGE, 255, 255, 255);
    redsun_load();
    section& s = add_section(section_type_find("redsun"), 0, 10, {0, 0.15f, 0, 1, 0.08f, 0, 2, 0, 0, 3, 1, 0});
    add_spline(s, "{0,0,4,0,0,0,0,0,0}\n", 10);
    render_at(s, 1, redsun_render);  // the spline's camera shows from the next frame
    render_cleared(s, 1, redsun_render);
    lit_pixels l = lit(8);
    ASSERT_GT(l.count, 1000);
    EXPECT_LE(l.sum[2], l.count);
    EXPECT_NEAR(l.sum[1] / l.sum[0], 0.08 / 0.15, 0.06);
    expect_clean_state();
}

// The mirror picture lies on the water the way up it is seen: its top half
// between the middle of the frame and the far shore under the sky strip,
// its bottom half nearer the camera.
TEST_F(scene_window, lake_shows_the_mirror_picture_upright_on_the_water) {
    open();
    write_picture("data/thelake/mirror.jpg", 64, 64, [](int, int y) { return y < 32 ? rgb{255, 0, 0} : rgb{0, 0, 255}; });
    write_picture("data/thelake/cielo.jpg", 64, 64, [](int, int y) { return y < 32 ? rgb{0, 0, 0} : rgb{0, 255, 0}; });
    write_plain("drop.jpg", 0, 0, 0);
    thelake_load();
    section& s = add_section(section_type_find("thelake"), 0, 10, {1, 0.5f, 0, 0, 0});
    set_strings(s, {"drop.jpg"});
    add_spline(s, "{0,-50,0,0,0,0,0,0,0}\n", 10);
    section_init(current_section);
    render_cleared(s, 1, thelake_render);
    EXPECT_RGB_NEAR(pixel_at(256, 288), 255, 0, 0, 24);
    EXPECT_RGB_NEAR(pixel_at(256, 128), 0, 0, 255, 24);
    for (int x : {8, 256, 504})  // the sky strip: the sky picture's lower half
        for (int y : {316, 412, 504}) EXPECT_RGB_NEAR(pixel_at(x, y), 0, 255, 0, 24) << x << "," << y;
}

// The frame model, a bar out on +x seen from the front, turns back towards
// the middle over time while the letter at the origin stands still.
TEST_F(scene_window, logofinal_frame_turns_towards_the_middle) {
    open();
    const std::string folder = LOGOFINAL_MODEL_DIR;
    write_boxes(folder + LOGOFINAL_FRAME_FILE, {{{100, -20, -10}, {200, 20, 10}}});
    write_boxes(folder + LOGOFINAL_LETTER_FILE, {{{-2, -2, -2}, {2, 2, 2}}});
    write_plain(LOGOFINAL_SKYBOX_IMAGE, 0, 0, 0);
    write_plain(LOGOFINAL_LOGO_IMAGE, 255, 255, 255);
    logofinal_load();
    section& s = add_section(section_type_find("logofinal"), 0, 10, {});
    render_at(s, 0, logofinal_render);  // the camera stands where the last clock put it
    render_cleared(s, 0, logofinal_render);
    lit_pixels early = lit();
    render_cleared(s, 2, logofinal_render);
    lit_pixels late = lit();
    ASSERT_GT(early.count, 100);
    EXPECT_LT(early.x, gl_rttWidth / 2 - 20);
    EXPECT_GT(late.x, early.x + 8);
}

}  // namespace
