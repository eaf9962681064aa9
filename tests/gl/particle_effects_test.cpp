// The picture-particle type drawn on Mesa through its own init and render,
// under a plain orthographic view that stands in for a camera section: the
// picture assembled upright at its alpha; and a particle whose texture slot
// is outside its list stops the draw.

#include "core/random.h"
#include "effects/image3d.h"
#include "effects/particletex.h"
#include "effects/pathway.h"
#include "resources/spline.h"
#include "tests/image_writers.h"
#include "tests/scene_window.h"

namespace {

struct fxpart_window : scene_window {
    void write_picture(const std::string& name, const picture& p) { write_tga(dir.file(name), p, TGA_TRUE, 24); }
};

picture one_colour(rgba colour, int width, int height) {
    return {width, height, std::vector<rgba>(static_cast<size_t>(width) * height, colour)};
}

// A 2 x 2 picture: red, green on the top row; blue and black below.
picture corner_picture() {
    return {2, 2, {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {0, 0, 0, 255}}};
}

// ---------------------------------------------------------------------------
// genParticletex
// ---------------------------------------------------------------------------

struct particletex_case {
    const char* name;
    float alpha_start, alpha_end, t;
    int strength;  // expected 0..255 of each lit channel
};

TEST_F(fxpart_window, particletex_assembles_the_picture_upright_at_its_alpha) {
    open_view();
    write_picture("corners.tga", corner_picture());
    write_picture("white.tga", one_colour({255, 255, 255, 255}, 8, 8));
    const particletex_case cases[] = {
        {"opaque", 1, 1, 2, 255},
        {"halfway through a fade in", 0, 1, 2, 128},
        {"at the end of a fade out", 1, 0, 4, 0},
    };
    for (const particletex_case& c : cases) {
        SCOPED_TRACE(c.name);
        // Spacing 0.5, half edge 0.15, no scatter, shifted so the four places
        // sit at (+-0.25, +-0.25).
        section& s = add_section(section_type_find("genParticletex"), 0, 4,
                                 {0.5f, 0.15f, 1, 0.25f, -0.25f, 0, c.alpha_start, c.alpha_end});
        set_strings(s, {"corners.tga", "white.tga"});
        section_init(current_section);
        render_cleared(s, c.t, particletex_render);
        int v = c.strength;
        EXPECT_RGB_NEAR(world_pixel(-0.25f, 0.25f), v, 0, 0, 3);   // row 0 at the top, left
        EXPECT_RGB_NEAR(world_pixel(0.25f, 0.25f), 0, v, 0, 3);
        EXPECT_RGB_NEAR(world_pixel(-0.25f, -0.25f), 0, 0, v, 3);
        EXPECT_RGB_NEAR(world_pixel(0.25f, -0.25f), 0, 0, 0, 0);   // the black pixel makes no sprite
        EXPECT_RGB_NEAR(world_pixel(0, 0), 0, 0, 0, 0);            // between the sprites
    }
}

// ---------------------------------------------------------------------------
// genPathway
// ---------------------------------------------------------------------------

// Lit pixels in the render target whose world y lies beyond `band` from 0.
int lit_off_the_line(float band) {
    std::vector<unsigned char> p = scene_window::read_target();
    int lit = 0;
    for (int y = 0; y < gl_rttHeight; ++y) {
        if (std::abs(y / 256.0f - 1) <= band) continue;
        for (int x = 0; x < gl_rttWidth; ++x) lit += p[(static_cast<size_t>(y) * gl_rttWidth + x) * 4] > 8;
    }
    return lit;
}

// Two sprites a second along a path on y = 0 from x = -0.8 to 0.8 over 4 s:
// by 2 s the particles of the path points at 0.5 .. 2.5 s are out, in the
// sprite's colour, and one frame later they have drifted only a little.
TEST_F(fxpart_window, pathway_drops_sprites_along_its_path_up_to_the_time_reached) {
    open_view();
    write_picture("white.tga", one_colour({255, 255, 255, 255}, 8, 8));
    section& s = add_section(section_type_find("genPathway"), 0, 4, {2, 0.03f, 1, 0, 0.5f});
    set_strings(s, {"white.tga"});
    std::string keys;
    for (int k = 0; k <= 8; ++k) keys += "{" + std::to_string(-0.8 + 0.2 * k) + ",0,0,0,0,0,0,0,0}\n";
    add_spline(s, keys, 4);
    rand_restart();
    pathway_init();
    render_cleared(s, 2, pathway_render);
    for (float x : {-0.6f, -0.4f, -0.2f, 0.0f, 0.2f}) EXPECT_RGB_NEAR(world_pixel(x, 0), 255, 0, 128, 3) << x;
    for (float x : {-0.8f, 0.4f, 0.6f}) EXPECT_RGB_NEAR(world_pixel(x, 0), 0, 0, 0, 0) << x;
    EXPECT_EQ(lit_off_the_line(0.05f), 0);
    render_cleared(s, 2.1f, pathway_render);
    EXPECT_GT(share_of(255, 0, 128, 3), 0.002);
    EXPECT_EQ(lit_off_the_line(0.1f), 0);
    expect_clean_state();
}

// Fifty sprites a second from one point, each pushed off by its own small
// drift: after three seconds they spread as far down and left as up and right.
TEST_F(fxpart_window, pathway_sprites_drift_off_to_every_side) {
    open_view();
    write_picture("white.tga", one_colour({255, 255, 255, 255}, 8, 8));
    section& s = add_section(section_type_find("genPathway"), 0, 4, {50, 0.02f, 1, 1, 1});
    set_strings(s, {"white.tga"});
    add_spline(s, "{0,0,0,0,0,0,0,0,0}\n", 4);
    rand_restart();
    pathway_init();
    for (int frame = 1; frame <= 30; ++frame) {
        render_cleared(s, frame * 0.1f, pathway_render);
    }
    lit_pixels l = lit();
    ASSERT_GT(l.count, 300);
    EXPECT_NEAR(l.x, 255.5, 25);
    EXPECT_NEAR(l.y, 255.5, 25);
}

// ---------------------------------------------------------------------------
// gen3Dimage
// ---------------------------------------------------------------------------

// A particle whose texture slot lies outside its system's list stops the
// draw with a message instead of reading past the list.
TEST_F(fxpart_window, particle_with_a_texture_slot_outside_the_list_is_fatal) {
    open();
    write_plain("q.tga", 255, 255, 255);
    int texture = texture_load(dir.file("q.tga").c_str());
    texture_upload(texture);
    particle_system* sys = particles_create(2, 1);
    particles_add_texture(sys, texture);
    sys->particles[1].alive = 1;
    sys->particles[1].texture_slot = 1;
    EXPECT_EQ(fatal_message([&] { particles_draw(sys); }), "particles_draw: texture slot 1 outside a list of 1");
    glDepthMask(GL_TRUE);
    particles_free(sys);
}

}  // namespace
