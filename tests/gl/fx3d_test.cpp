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

TEST_F(fx3d_window, camera_follows_a_moving_spline_and_ignores_extra_splines) {
    open();
    section& moving = camera_section();
    give_spline(moving, "{0,0,2,0,0,0,0,0,0}\n{0,0,8,0,0,0,0,0,0}\n", 4);
    render_at(moving, 4, camera_fx_render);
    camera* c = static_cast<camera*>(moving.instance_data);
    EXPECT_NEAR(c->position[2], 8, 1e-5);

    // Two splines: the free camera has it, and with debug off it stays put.
    section& two = camera_section();
    give_spline(two, "{0,0,2,0,0,0,0,0,0}\n", 4);
    give_spline(two, "{0,0,9,0,0,0,0,0,0}\n", 4);
    for (float t : {0.1f, 0.2f, 3.0f}) render_at(two, t, camera_fx_render);
    camera* still = static_cast<camera*>(two.instance_data);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(still->position[i], 3);
        EXPECT_EQ(still->target[i], 0);
    }
    expect_modelview_of(still);
}

TEST_F(fx3d_window, later_camera_section_wins_the_frame) {
    open();
    section& first = camera_section({60, 0.1f, 100});
    give_spline(first, "{0,0,4,0,0,0,0,0,0}\n", 4);
    section& second = camera_section({90, 0.5f, 50});
    give_spline(second, "{5,0,0,0,0,0,0,0,0}\n", 4);
    for (float t : {1.0f, 1.1f}) {
        render_at(first, t, camera_fx_render);
        render_at(second, t, camera_fx_render);
    }
    camera* c = static_cast<camera*>(second.instance_data);
    EXPECT_EQ(current_camera, c);
    float p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(p[5], 1.0f, 1e-4);  // 90 degrees
    expect_modelview_of(c);
    EXPECT_EQ(c->position[0], 5);
}

TEST_F(fx3d_window, camera_needs_exactly_three_params) {
    open();
    add_section(section_type_find("genCamera"), 0, 1, {60, 0.1f});
    EXPECT_EQ(fatal_message(camera_fx_init), "Script: three params are needed in genCamera section, line 1");
    section& s = add_section(section_type_find("genCamera"), 0, 1, {60, 0.1f, 100, 4});
    EXPECT_EQ(fatal_message(camera_fx_init), "Script: three params are needed in genCamera section, line 1");
    EXPECT_EQ(s.instance_data, nullptr);
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

TEST_F(macro_box_window, five_faint_copies_brighten_every_pixel) {
    open();
    write_tga(dir.file("white.tga"), picture{4, 4, std::vector<rgba>(16, {255, 255, 255, 255})}, TGA_TRUE, 24);
    section& cam = camera_section();
    section& box = box_section("white.tga");
    clear_to(0.5f, 0, 0);
    render_at(cam, 0, camera_fx_render);
    render_at(box, 3, macro_box_render);
    // Each copy adds 0.07 of white; all five cover the whole frame.
    for (int x : {5, 128, 256, 400, 506})
        for (int y : {5, 256, 506}) {
            SCOPED_TRACE("pixel " + std::to_string(x) + "," + std::to_string(y));
            EXPECT_RGB_NEAR(pixel_at(x, y), 128 + 89, 89, 89, 6);
        }
}

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

TEST_F(macro_box_window, leaves_the_camera_view_applied_and_blending_off) {
    open();
    write_tga(dir.file("white.tga"), picture{4, 4, std::vector<rgba>(16, {255, 255, 255, 255})}, TGA_TRUE, 24);
    section& cam = camera_section({70, 0.2f, 60});
    give_spline(cam, "{1,2,6,10,20,0,0,0,0}\n", 10);
    section& box = box_section("white.tga");
    render_at(cam, 0, camera_fx_render);  // moves the camera after applying it
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    render_at(box, 7, macro_box_render);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(integer_state(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(integer_state(GL_BLEND_DST), GL_ONE);
    EXPECT_EQ(integer_state(GL_DEPTH_WRITEMASK), GL_TRUE);
    EXPECT_EQ(integer_state(GL_PROJECTION_STACK_DEPTH), 1);
    EXPECT_EQ(integer_state(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(integer_state(GL_MATRIX_MODE), GL_MODELVIEW);
    expect_modelview_of(current_camera);  // the moved camera, from the spline
    EXPECT_EQ(current_camera->position[2], 6);
    float got[16], want[16];
    glGetFloatv(GL_PROJECTION_MATRIX, got);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(70, aspect_ratio, 0.2, 60);
    glGetFloatv(GL_PROJECTION_MATRIX, want);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(got[i], want[i], 1e-5) << "projection " << i;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(macro_box_window, faults_are_reported_not_crashed_on) {
    open();
    write_tga(dir.file("white.tga"), picture{4, 4, std::vector<rgba>(16, {255, 255, 255, 255})}, TGA_TRUE, 24);
    add_section(section_type_find("genMacroBox"), 0, 1, {});
    EXPECT_EQ(fatal_message(macro_box_init), "genMacroBox: section at line 1 needs 1 strings, has 0");
    section& png = add_section(section_type_find("genMacroBox"), 0, 1, {});
    set_strings(png, {"sky.gif"});
    EXPECT_EQ(fatal_message(macro_box_init), "genMacroBox: Error loading skybox sky.gif");
    // Drawn with no camera section before it in the frame.
    section& box = box_section("white.tga");
    box.line = 12;
    current_camera = nullptr;
    EXPECT_EQ(fatal_message([&] { render_at(box, 0, macro_box_render); }),
              "genMacroBox: section at line 12 needs a genCamera section drawn before it");
}

}  // namespace
