// The model section types drawn on Mesa through their own init and render,
// with small box models the test writes: gen3DS's lit models and their
// spins, genEnvironment's sphere-mapped picture placed by its spline.
#include "effects/environment.h"
#include "effects/gen3ds.h"
#include "tests/image_writers.h"
#include "tests/scene_window.h"

namespace {

TEST_F(scene_window, draws_its_models_lit_with_their_materials) {
    open_view();
    // Model 1 a red box in the middle; model 2 a green bar along X; models 3
    // and 4 far out of the view.
    const mesh_vec3 red = {1, 0, 0}, green = {0, 1, 0}, blue = {0, 0, 1};
    write_boxes("red.3ds", {{{-0.3f, -0.3f, -0.3f}, {0.3f, 0.3f, 0.3f}}}, &red);
    write_boxes("bar.3ds", {{{-0.95f, -0.04f, -0.04f}, {0.95f, 0.04f, 0.04f}}}, &green);
    write_boxes("away.3ds", {{{5, 5, 5}, {6, 6, 6}}}, &blue);
    section& s = add_section(section_type_find("gen3DS"), 0, 100, {});
    set_strings(s, {"./", "red.3ds", "bar.3ds", "away.3ds", "away.3ds"});
    section_init(current_section);
    render_cleared(s, 0, gen3ds_render);
    // Front faces face the light that comes from the viewer.
    EXPECT_RGB_NEAR(world_pixel(0.1f, 0.15f), 255, 0, 0, 3);
    // The bar pokes out on both sides, unturned at t = 0; depth keeps the
    // red box in front of it in the middle.
    EXPECT_RGB_NEAR(world_pixel(0.8f, 0), 0, 255, 0, 3);
    EXPECT_RGB_NEAR(world_pixel(-0.8f, 0), 0, 255, 0, 3);
    EXPECT_RGB_NEAR(world_pixel(0.1f, 0), 255, 0, 0, 3);
    EXPECT_RGB_NEAR(world_pixel(0.6f, 0.6f), 0, 0, 0, 0);

    // Nine seconds later the bar has turned 90 degrees about (-0.5, 0.25,
    // 0.3): its tips are gone from the X axis.
    render_cleared(s, 9, gen3ds_render);
    EXPECT_RGB_NEAR(world_pixel(0.8f, 0), 0, 0, 0, 0);
    EXPECT_RGB_NEAR(world_pixel(0.1f, 0.15f), 255, 0, 0, 3);  // model 1 never turns
}

TEST_F(scene_window, sphere_mapped_model_covers_its_area_in_the_pictures_colour) {
    open_view();
    write_tga(dir.file("teal.tga"), picture{8, 8, std::vector<rgba>(64, {0, 200, 160, 255})}, TGA_TRUE, 24);
    const mesh_vec3 white = {1, 1, 1};
    write_boxes("box.3ds", {{{-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}}}, &white);
    section& s = add_section(section_type_find("genEnvironment"), 0, 10, {});
    set_strings(s, {"./", "box.3ds", "teal.tga"});
    section_init(current_section);
    render_cleared(s, 0, environment_render);
    // The unit box facing the view covers a quarter of the frame.
    EXPECT_NEAR(1 - share_of(0, 0, 0, 20), 1.0 / 4, 8.0 / 512);
    EXPECT_RGB_NEAR(world_pixel(0.2f, -0.3f), 0, 200, 160, 3);
    EXPECT_RGB_NEAR(world_pixel(0.7f, 0), 0, 0, 0, 0);

    // A spline at half scale leaves a quarter of that, moved left: its
    // position (0, 0, -1) turned 90 degrees about Y.
    add_spline(s, "{0.5,0.5,0.5,0,90,0,0,0,-1}\n", 10);
    render_cleared(s, 0, environment_render);
    EXPECT_NEAR(1 - share_of(0, 0, 0, 20), 1.0 / 16, 4.0 / 512);
    EXPECT_RGB_NEAR(world_pixel(-0.5f, 0), 0, 200, 160, 3);
    EXPECT_RGB_NEAR(world_pixel(0, 0), 0, 0, 0, 0);
    EXPECT_EQ(integer_state(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
}

}  // namespace
