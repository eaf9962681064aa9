// The camera and model section types drawn on Mesa through their own init
// and render: where genCamera's spline puts the view, the ghost copies
// genMacroBox adds over the frame, and the state each leaves behind.
#include <GL/glu.h>
#include <algorithm>
#include <cmath>

#include "effects/camera_fx.h"
#include "effects/macro_box.h"
#include "resources/camera.h"
#include "resources/spline.h"
#include "tests/effect_window.h"
#include "tests/image_writers.h"

namespace {

struct fx3d_window : effect_window {
    void TearDown() override {
        current_camera = nullptr;
        for (section_ptr_spline& p : spline_owners) spline_free(&p.owner->splines[p.index]);
        effect_window::TearDown();
    }
    struct section_ptr_spline {
        section* owner;
        int index;
    };
    std::vector<section_ptr_spline> spline_owners;

    // Gives the section one spline of the given key lines running over
    // `duration` seconds.
    void give_spline(section& s, const std::string& keys, float duration) {
        std::string name = "spline" + std::to_string(spline_owners.size()) + ".txt";
        dir.write(name, keys);
        s.splines[s.spline_count] = spline_load(name.c_str());
        spline_spread_times(&s.splines[s.spline_count], duration);
        spline_owners.push_back({&s, s.spline_count});
        s.spline_count++;
    }
    static void set_strings(section& s, std::initializer_list<const char*> names) {
        for (const char* name : names) s.strings[s.string_count++] = const_cast<char*>(name);
    }
    static void render_at(section& s, float t, void (*render)()) {
        s.local_time = t;
        current_section = &s;
        render();
    }
    section& camera_section(std::initializer_list<float> params = {60, 0.1f, 100}) {
        section& s = add_section(section_type_find("genCamera"), 0, 10, params);
        camera_fx_init();
        return s;
    }
    // A fat point in one colour at a world point, in the view as it stands.
    static void draw_point(float x, float y, float z, float r, float g, float b) {
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
    static rgb centre() { return pixel_at(gl_rttWidth / 2, gl_rttHeight / 2); }
    static void expect_modelview_of(camera* c) {
        float gl[16], ours[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, gl);
        camera_view_matrix(c, ours);
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(gl[i], ours[i], 1e-4) << "modelview " << i;
    }
};

template <typename F> std::string fatal_message(F call) {
    catch_fatal guard;
    try {
        call();
    } catch (const fatal_exception& e) {
        return e.what();
    }
    return "(no fatal error)";
}

// ---------------------------------------------------------------------------
// genCamera
// ---------------------------------------------------------------------------

TEST_F(fx3d_window, camera_frame_shows_the_spline_view_one_frame_late) {
    open();
    section& s = camera_section();
    // One key: eye at (2, 0, 5) looking at (2, 0, 0).
    give_spline(s, "{2,0,5,0,0,0,2,0,0}\n", 10);
    camera* c = static_cast<camera*>(s.instance_data);

    // The first frame still looks from (3, 3, 3) at the origin.
    clear_to(0, 0, 0);
    render_at(s, 0.5f, camera_fx_render);
    EXPECT_EQ(current_camera, c);
    draw_point(0, 0, 0, 0, 1, 0);
    draw_point(2, 0, 0, 1, 0, 0);
    EXPECT_RGB_NEAR(centre(), 0, 255, 0, 2);
    // ...but the camera has already moved for the sections after it.
    EXPECT_EQ(c->position[0], 2);
    EXPECT_EQ(c->position[2], 5);
    EXPECT_EQ(c->target[0], 2);

    clear_to(0, 0, 0);
    render_at(s, 1.0f, camera_fx_render);
    expect_modelview_of(c);
    draw_point(0, 0, 0, 0, 1, 0);
    draw_point(2, 0, 0, 1, 0, 0);
    EXPECT_RGB_NEAR(centre(), 255, 0, 0, 2);
    // The origin is 2 units left of the axis at depth 5.
    EXPECT_RGB_NEAR(pixel_at(gl_rttWidth / 2 - 3, gl_rttHeight / 2), 255, 0, 0, 2);

    float p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    float f = 1.0f / std::tan(30.0f * static_cast<float>(M_PI) / 180.0f);
    EXPECT_NEAR(p[5], f, 1e-4);
    EXPECT_NEAR(p[0], f / aspect_ratio, 1e-4);
    EXPECT_NEAR(p[10], (100.0f + 0.1f) / (0.1f - 100.0f), 1e-4);
    EXPECT_EQ(integer_state(GL_MATRIX_MODE), GL_MODELVIEW);
}

// ---------------------------------------------------------------------------
// genMacroBox
// ---------------------------------------------------------------------------

struct macro_box_window : fx3d_window {
    section& box_section(const char* image) {
        section& s = add_section(section_type_find("genMacroBox"), 0, 10, {});
        set_strings(s, {image});
        macro_box_init();
        return s;
    }
};

TEST_F(macro_box_window, copies_are_turned_against_each_other) {
    open();
    // Top half white, bottom half black: unturned copies would all agree,
    // giving only 0 or five layers; turned ones disagree somewhere.
    // A large picture keeps the filtered seam between the halves thin.
    picture half{128, 128, {}};
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x)
            half.pixels.push_back(y < 64 ? rgba{255, 255, 255, 255} : rgba{0, 0, 0, 255});
    write_tga(dir.file("half.tga"), half, TGA_TRUE, 24);
    section& cam = camera_section();
    section& box = box_section("half.tga");
    clear_to(0, 0, 0);
    render_at(cam, 0, camera_fx_render);
    render_at(box, 0, macro_box_render);
    std::vector<unsigned char> pixels = read_target();
    int partial = 0, brightest = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) {
        if (pixels[i] > 10 && pixels[i] < 80) ++partial;
        brightest = std::max(brightest, static_cast<int>(pixels[i]));
    }
    // Unturned, only the filtered seam (a few hundred pixels) is partial.
    EXPECT_GT(partial, 20000);
    EXPECT_LE(brightest, 5 * 18 + 3);  // never more than the five copies
}

}  // namespace
