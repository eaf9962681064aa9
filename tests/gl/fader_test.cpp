// efxFader drawn on Mesa over a known background and read back: the colour
// at its interpolated alpha, confined to the render target.
#include "effects/fader.h"
#include "tests/effect_window.h"

namespace {

struct fader_case {
    const char* name;
    std::initializer_list<float> params;
    float demo_time;  // the section runs from 10 to 14
    rgb want;         // over a blue background
};

TEST_F(effect_window, fader_blends_its_colour_at_its_alpha_over_the_picture) {
    open();
    const fader_case cases[] = {
        // (1, 0, 0, 0.4) halfway: 0.4 red + 0.6 blue.
        {"halfway", {1, 0, 0, 0.2f, 1, 0, 0, 0.6f}, 12, {102, 0, 153}},
        {"at the start", {0, 1, 0, 0.5f, 0, 0, 0, 0}, 10, {0, 128, 128}},
        {"transparent", {1, 1, 1, 0, 1, 1, 1, 0}, 13, {0, 0, 255}},
        {"opaque white", {1, 1, 1, 1, 1, 1, 1, 1}, 11, {255, 255, 255}},
        // Black fading in over the span: a quarter of the way, alpha 0.75.
        {"fade in", {0, 0, 0, 1, 0, 0, 0, 0}, 11, {0, 0, 64}},
    };
    fader_load();
    for (const fader_case& c : cases) {
        SCOPED_TRACE(c.name);
        add_section(section_type_find("efxFader"), 10, 14, c.params);
        section_init(current_section);
        clear_to(0, 0, 1);
        demo_time = c.demo_time;
        fader_render();
        for (int xy : {2, 256, 509}) EXPECT_RGB_NEAR(pixel_at(xy, xy), c.want.r, c.want.g, c.want.b, 2);
        // Outside the render target the window keeps its background.
        EXPECT_RGB_NEAR(pixel_at(700, 300), 0, 0, 255, 0);
    }
}

}  // namespace
