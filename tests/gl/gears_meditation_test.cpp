// The gears and meditation scenes drawn on Mesa through their own
// callbacks, from models the generator makes and plain pictures the tests
// write at the scenes' fixed paths, then read back: where the wheels and the
// sky land, that the gears' look does not hang on the colour left current
// before them, the random numbers a meditation frame takes, and the render
// state each leaves.
#include <cmath>
#include <functional>

#include "core/random.h"
#include "scenes/gears.h"
#include "scenes/meditation.h"
#include "tests/effect_window.h"
#include "tools/assets/asset_io.h"
#include "tools/assets/model_writer.h"
#include "tools/assets/gears_cairn.h"

namespace {

struct scenes_c_window : effect_window {
    void write_plain(const std::string& name, int level) {
        rgb_image image(16, 16, 3);
        for (unsigned char& c : image.pixels) c = static_cast<unsigned char>(level);
        std::string path = dir.file(name);
        asset_make_parent(path);
        asset_write_jpeg(path, image, 100);
    }
    void write_gears(int models) {
        for (int i = 0; i < models; ++i)
            model_writer_save(dir.file(std::string(GEARS_MODEL_DIR) + GEARS_MODEL_FILES[i]), scene_c_gear_model(i));
        write_plain(GEARS_TEXTURE, 255);
    }
    section& gears_section(const std::string& key) {
        std::string path = dir.write("camera.txt", key + "\n");
        section& s = add_section(section_type_find("gears"), 0, 5, {});
        s.splines[0] = spline_load(path.c_str());
        spline_spread_times(&s.splines[0], 5);
        s.spline_count = 1;
        return s;
    }
    static int lit_pixels(const std::vector<unsigned char>& rgba) {
        int lit = 0;
        for (size_t i = 0; i < rgba.size(); i += 4) lit += rgba[i] + rgba[i + 1] + rgba[i + 2] > 150;
        return lit;
    }
    static void render_at(section& s, float t, void (*render)()) {
        demo_time = s.start + t;
        s.local_time = t;
        current_section = &s;
        render();
    }
};

// ---------------------------------------------------------------------------
// gears
// ---------------------------------------------------------------------------

// Seen from +Z, the near wheel's spoke cross sits on the centre of the
// frame in the white picture at full strength, whatever colour the section
// before left current: a zero alpha or a tint give the same frame.
TEST_F(scenes_c_window, gears_draw_the_clockwork_in_white_whatever_colour_came_before) {
    open();
    write_gears(GEARS_MODELS);
    gears_load();
    section& s = gears_section("{0,0,1.2,0,0,0,0,0,0}");
    gears_init();
    glColor4f(1, 1, 1, 0);
    clear_to(0, 0, 0);
    render_at(s, 0, gears_render);
    std::vector<unsigned char> first = read_target();
    EXPECT_RGB_NEAR(pixel_at(256, 256), 255, 255, 255, 3);
    EXPECT_RGB_NEAR(pixel_at(2, 2), 0, 0, 0, 0);
    int lit = lit_pixels(first);
    EXPECT_GT(lit, 4000);
    EXPECT_LT(lit, 512 * 512 / 2);
    glColor4f(0.2f, 0.5f, 1, 0.4f);
    clear_to(0, 0, 0);
    render_at(s, 0, gears_render);
    EXPECT_TRUE(read_target() == first);
    // A later time turns the wheels: the picture changes.
    clear_to(0, 0, 0);
    render_at(s, 0.1f, gears_render);
    EXPECT_FALSE(read_target() == first);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(integer_state(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(integer_state(GL_BLEND_DST), GL_ONE);
    EXPECT_EQ(integer_state(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    spline_free(&s.splines[0]);
}

// ---------------------------------------------------------------------------
// meditation
// ---------------------------------------------------------------------------

struct meditation_window : scenes_c_window {
    void load(int sky, int flare) {
        open();
        model_writer_save(dir.file(std::string(MEDITATION_MODEL_DIR) + MEDITATION_MODEL_FILE),
                          scene_c_meditation_model());
        write_plain(MEDITATION_SKY_IMAGE, sky);
        write_plain(MEDITATION_FLARE_IMAGE, flare);
        write_plain(MEDITATION_REFLECTION_IMAGE, 0);
        write_plain(MEDITATION_CIRCLE_IMAGE, 0);
        rand_restart();
        meditation_load();
    }
};

}  // namespace
