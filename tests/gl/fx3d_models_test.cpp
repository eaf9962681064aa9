// The model section types drawn on Mesa through their own init and render,
// with small box models the test writes: gen3DS's lit models and their spins,
// genEnvironment's sphere-mapped picture, genWireframe's lines without their
// surfaces, and the state each leaves for the next section.
#include <cstring>
#include <cmath>

#include "core/clock.h"
#include "core/random.h"
#include "effects/environment.h"
#include "effects/gen3ds.h"
#include "effects/wireframe.h"
#include "resources/spline.h"
#include "tests/effect_window.h"
#include "tests/image_writers.h"
#include "tools/assets/meshes.h"
#include "tools/assets/model_writer.h"

namespace {

template <typename F> std::string fatal_message(F call) {
    catch_fatal guard;
    try {
        call();
    } catch (const fatal_exception& e) {
        return e.what();
    }
    return "(no fatal error)";
}

struct model_window : effect_window {
    std::vector<spline*> owned_splines;

    void TearDown() override {
        for (spline* s : owned_splines) spline_free(s);
        effect_window::TearDown();
    }
    // World x, y in -1..1 fill the 512 x 512 render target, looking down -Z.
    void open_view() {
        open();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-1, 1, -1, 1, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    static rgb world_pixel(float x, float y) {
        return pixel_at(static_cast<int>((x + 1) * 256), static_cast<int>((y + 1) * 256));
    }
    // A box model in one lit colour, written as `name` in the test folder.
    void write_box(const std::string& name, mesh_vec3 low, mesh_vec3 high, mesh_vec3 colour) {
        mesh_model m;
        mesh_material paint;
        paint.name = "paint";
        paint.diffuse = colour;
        m.materials.push_back(paint);
        mesh_object o;
        o.name = "box";
        mesh_append_box(o, low, high, false);
        mesh_face_group group{"paint", {}};
        for (size_t i = 0; i < o.triangles.size(); ++i) group.faces.push_back(static_cast<int>(i));
        o.groups.push_back(group);
        m.objects.push_back(o);
        model_writer_save(dir.file(name), m);
    }
    void give_spline(section& s, const std::string& keys, float duration) {
        std::string name = "spline" + std::to_string(owned_splines.size()) + ".txt";
        dir.write(name, keys);
        s.splines[s.spline_count] = spline_load(name.c_str());
        spline_spread_times(&s.splines[s.spline_count], duration);
        owned_splines.push_back(&s.splines[s.spline_count]);
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
    // Pixels of the render target whose brightest channel passes `level`.
    static int lit_pixels(int level, int x0 = 0, int x1 = 1 << 30) {
        std::vector<unsigned char> p = read_target();
        int count = 0;
        for (int y = 0; y < gl_rttHeight; ++y)
            for (int x = std::max(0, x0); x < std::min(gl_rttWidth, x1); ++x) {
                const unsigned char* q = &p[(static_cast<size_t>(y) * gl_rttWidth + x) * 4];
                if (std::max({q[0], q[1], q[2]}) > level) ++count;
            }
        return count;
    }
};

// ---------------------------------------------------------------------------
// gen3DS
// ---------------------------------------------------------------------------

struct gen3ds_window : model_window {
    // Model 1 a red box in the middle; model 2 a green bar along X; models 3
    // and 4 far out of the view.
    section& four_models() {
        write_box("red.3ds", {-0.3f, -0.3f, -0.3f}, {0.3f, 0.3f, 0.3f}, {1, 0, 0});
        write_box("bar.3ds", {-0.95f, -0.04f, -0.04f}, {0.95f, 0.04f, 0.04f}, {0, 1, 0});
        write_box("away.3ds", {5, 5, 5}, {6, 6, 6}, {0, 0, 1});
        section& s = add_section(section_type_find("gen3DS"), 0, 100, {});
        set_strings(s, {"./", "red.3ds", "bar.3ds", "away.3ds", "away.3ds"});
        gen3ds_init();
        return s;
    }
};

TEST_F(gen3ds_window, draws_its_models_lit_with_their_materials) {
    open_view();
    section& s = four_models();
    clear_to(0, 0, 0);
    render_at(s, 0, gen3ds_render);
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
    clear_to(0, 0, 0);
    render_at(s, 9, gen3ds_render);
    EXPECT_RGB_NEAR(world_pixel(0.8f, 0), 0, 0, 0, 0);
    EXPECT_RGB_NEAR(world_pixel(0.1f, 0.15f), 255, 0, 0, 3);  // model 1 never turns
}

TEST_F(gen3ds_window, spline_places_the_models_and_only_a_single_spline_counts) {
    open_view();
    section& s = four_models();
    // Half size, moved 1.2 right before scaling: the box lands at x = 0.6.
    give_spline(s, "{0.5,0.5,0.5,0,0,0,1.2,0,0}\n", 100);
    clear_to(0, 0, 0);
    render_at(s, 0, gen3ds_render);
    EXPECT_RGB_NEAR(world_pixel(0.6f, 0.1f), 255, 0, 0, 3);
    EXPECT_RGB_NEAR(world_pixel(0, 0.1f), 0, 0, 0, 0);
    EXPECT_RGB_NEAR(world_pixel(0.6f, 0.2f), 0, 0, 0, 0);  // half of 0.3 tall

    give_spline(s, "{2,2,2,0,0,0,0,0,0}\n", 100);  // two splines: neither is used
    clear_to(0, 0, 0);
    render_at(s, 0, gen3ds_render);
    EXPECT_RGB_NEAR(world_pixel(0.1f, 0.15f), 255, 0, 0, 3);
    EXPECT_RGB_NEAR(world_pixel(0.1f, 0.4f), 0, 0, 0, 0);
}

TEST_F(gen3ds_window, leaves_lighting_culling_and_blending_off_texturing_on) {
    open_view();
    section& s = four_models();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    render_at(s, 2, gen3ds_render);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(integer_state(GL_BLEND_SRC), GL_ONE);
    EXPECT_EQ(integer_state(GL_BLEND_DST), GL_ONE);
    EXPECT_EQ(integer_state(GL_MODELVIEW_STACK_DEPTH), 1);
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], i % 5 == 0 ? 1 : 0) << i;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(gen3ds_window, needs_five_strings_and_readable_models) {
    open_view();
    write_box("red.3ds", {-0.3f, -0.3f, -0.3f}, {0.3f, 0.3f, 0.3f}, {1, 0, 0});
    dir.write("broken.3ds", "not a model");
    struct row {
        std::initializer_list<const char*> strings;
        const char* message;
    } rows[] = {
        {{"./", "red.3ds", "red.3ds", "red.3ds"}, "gen3DS: section at line 1 needs 5 strings, has 4"},
        {{"./", "red.3ds", "red.3ds", "red.3ds", "red.3ds", "red.3ds"},
         "gen3DS: section at line 1 needs 5 strings, has 6"},
        {{"./", "red.3ds", "red.3ds", "missing.3ds", "red.3ds"},
         "gen3DS: Error loading model 'missing.3ds' (./missing.3ds: No such file or directory)"},
        {{"./", "broken.3ds", "red.3ds", "red.3ds", "red.3ds"}, "gen3DS: Error loading model 'broken.3ds' (./broken.3ds: "},
    };
    for (const row& r : rows) {
        section& s = add_section(section_type_find("gen3DS"), 0, 1, {});
        set_strings(s, r.strings);
        // Load failures end with the loader's reason, which names the file.
        std::string message = fatal_message(gen3ds_init);
        if (std::string(r.message).back() == ' ')
            EXPECT_EQ(message.substr(0, std::strlen(r.message)), r.message) << message;
        else
            EXPECT_EQ(message, r.message);
        EXPECT_EQ(s.instance_data, nullptr);
    }
}

// ---------------------------------------------------------------------------
// genEnvironment
// ---------------------------------------------------------------------------

struct environment_window : model_window {
    section& environment_section(const char* picture_name) {
        write_box("box.3ds", {-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}, {1, 1, 1});
        section& s = add_section(section_type_find("genEnvironment"), 0, 10, {});
        set_strings(s, {"./", "box.3ds", picture_name});
        environment_init();
        return s;
    }
};

TEST_F(environment_window, sphere_mapped_model_covers_its_area_in_the_pictures_colour) {
    open_view();
    write_tga(dir.file("teal.tga"), picture{8, 8, std::vector<rgba>(64, {0, 200, 160, 255})}, TGA_TRUE, 24);
    section& s = environment_section("teal.tga");
    clear_to(0, 0, 0);
    render_at(s, 0, environment_render);
    // The unit box facing the view covers a quarter of the frame.
    int covered = lit_pixels(20);
    EXPECT_NEAR(covered, 512 * 512 / 4, 512 * 8);
    EXPECT_RGB_NEAR(world_pixel(0.2f, -0.3f), 0, 200, 160, 3);
    EXPECT_RGB_NEAR(world_pixel(0.7f, 0), 0, 0, 0, 0);

    // A spline at half scale leaves a quarter of that, moved left.
    give_spline(s, "{0.5,0.5,0.5,0,0,0,-1,0,0}\n", 10);
    clear_to(0, 0, 0);
    render_at(s, 0, environment_render);
    EXPECT_NEAR(lit_pixels(20), 512 * 512 / 16, 512 * 4);
    EXPECT_RGB_NEAR(world_pixel(-0.5f, 0), 0, 200, 160, 3);
    EXPECT_RGB_NEAR(world_pixel(0, 0), 0, 0, 0, 0);
    EXPECT_EQ(integer_state(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
}

TEST_F(environment_window, picture_is_looked_up_by_the_normals) {
    open_view();
    // Left half red, right half blue: a face turned to the left reflects
    // another part of the picture than one turned to the right.
    picture halves{16, 16, {}};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) halves.pixels.push_back(x < 8 ? rgba{255, 0, 0, 255} : rgba{0, 0, 255, 255});
    write_tga(dir.file("halves.tga"), halves, TGA_TRUE, 24);
    section& s = environment_section("halves.tga");
    give_spline(s, "{1,1,1,0,45,0,0,0,0}\n", 10);  // two faces seen, at +-45 degrees
    clear_to(0, 0, 0);
    render_at(s, 0, environment_render);
    rgb left = world_pixel(-0.3f, 0), right = world_pixel(0.3f, 0);
    EXPECT_TRUE((left.r > 200 && right.b > 200) || (left.b > 200 && right.r > 200))
        << left.r << "," << left.b << " / " << right.r << "," << right.b;
}

TEST_F(environment_window, bad_sections_are_reported_before_drawing) {
    open_view();
    write_box("box.3ds", {-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}, {1, 1, 1});
    write_tga(dir.file("teal.tga"), picture{8, 8, std::vector<rgba>(64, {0, 200, 160, 255})}, TGA_TRUE, 24);
    struct row {
        std::initializer_list<const char*> strings;
        const char* message;
    } rows[] = {
        {{"./", "box.3ds"}, "Script: three strings are needed in genEnvironment section, line 1"},
        {{"./", "box.3ds", "teal.tga", "extra"}, "Script: three strings are needed in genEnvironment section, line 1"},
        {{"./", "none.3ds", "teal.tga"}, "genEnvironment: Error loading model 'none.3ds' (./none.3ds: No such file or directory)"},
        {{"./", "box.3ds", "teal.gif"}, "genEnvironment: Error loading texture teal.gif"},
    };
    for (const row& r : rows) {
        section& s = add_section(section_type_find("genEnvironment"), 0, 1, {});
        set_strings(s, r.strings);
        EXPECT_EQ(fatal_message(environment_init), r.message);
        EXPECT_EQ(s.instance_data, nullptr);
    }
}

// ---------------------------------------------------------------------------
// genWireframe
// ---------------------------------------------------------------------------

struct wireframe_window : model_window {
    // A box from z 3 to 5 ahead of the type's camera, which sits at the
    // origin looking down +Z.
    section& wireframe_section(std::initializer_list<float> params, const char* file = "ahead.3ds") {
        write_box("ahead.3ds", {-1, -1, 3}, {1, 1, 5}, {1, 1, 1});
        write_box("left.3ds", {0.5f, -1, 3}, {2.5f, 1, 5}, {1, 1, 1});
        section& s = add_section(section_type_find("genWireframe"), 0, 100, params);
        set_strings(s, {"./", file});
        wireframe_init();
        return s;
    }
    void render_at_demo_time(section& s, float T) {
        demo_time = T;
        clear_to(0, 0, 0);
        render_at(s, 0, wireframe_render);
    }
};

// Width 2, orange lines (red 1, green 0.5, blue 0), alpha 0.5 + flicker.
const std::initializer_list<float> ORANGE = {2, 1, 0, 0, 0.5f, 0, 0, 0, 0, 0, 0.5f, 0.5f, 0};

TEST_F(wireframe_window, draws_the_edges_not_the_surfaces) {
    open();
    wireframe_load();
    section& s = wireframe_section(ORANGE);
    render_at_demo_time(s, 0);
    int lines = lit_pixels(60);
    EXPECT_GT(lines, 1500);
    // The front face alone would cover about a sixth of the frame filled.
    EXPECT_LT(lines, 512 * 512 / 12);
    // Inside the far face, off its diagonals: dark.
    EXPECT_RGB_NEAR(pixel_at(256 + 30, 256), 0, 0, 0, 0);
    EXPECT_RGB_NEAR(pixel_at(256, 256 - 30), 0, 0, 0, 0);
    // A line pixel is in the pulsing colour.
    std::vector<unsigned char> p = read_target();
    int orange = 0;
    for (size_t i = 0; i < p.size(); i += 4)
        if (std::abs(p[i] - 255) <= 2 && std::abs(p[i + 1] - 128) <= 2 && p[i + 2] <= 2) ++orange;
    EXPECT_GT(orange, lines / 2);
}

TEST_F(wireframe_window, exactly_one_culls_the_far_edges) {
    open();
    wireframe_load();
    std::vector<float> params(ORANGE);
    struct row {
        float value;
        bool culls;
    } rows[] = {{0, false}, {0.99f, false}, {2, false}, {1, true}};
    render_at_demo_time(wireframe_section(ORANGE), 0);
    int all_edges = lit_pixels(60);
    for (const row& r : rows) {
        section& s = wireframe_section(ORANGE);
        s.params[12] = r.value;
        s.param_count = 13;
        render_at_demo_time(s, 0);
        int seen = lit_pixels(60);
        if (r.culls) EXPECT_LT(seen, all_edges * 3 / 4) << r.value;
        else EXPECT_EQ(seen, all_edges) << r.value;
        EXPECT_FALSE(glIsEnabled(GL_CULL_FACE)) << r.value;
    }
}

TEST_F(wireframe_window, turns_with_the_demo_clock_and_draws_one_random_number) {
    open();
    wireframe_load();
    section& s = wireframe_section(ORANGE);
    rand_restart();
    render_at_demo_time(s, 0);
    EXPECT_EQ(rand_next(), 5758);  // the frame took the first draw
    // Nine seconds of demo time turn it a quarter round, out of the view,
    // whatever the section's own time.
    render_at_demo_time(s, 9);
    EXPECT_EQ(lit_pixels(20), 0);
    render_at_demo_time(s, 36);
    EXPECT_GT(lit_pixels(60), 1500);
    EXPECT_EQ(integer_state(GL_POLYGON_MODE), GL_FILL);
    EXPECT_EQ(integer_state(GL_LINE_WIDTH), 1);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(integer_state(GL_MODELVIEW_STACK_DEPTH), 1);
}

TEST_F(wireframe_window, every_section_draws_the_model_loaded_last) {
    open();
    wireframe_load();
    section& first = wireframe_section(ORANGE, "ahead.3ds");
    wireframe_section(ORANGE, "left.3ds");
    render_at_demo_time(first, 0);
    // Camera looking down +Z with up +Y: world +X is on the screen's left.
    EXPECT_GT(lit_pixels(60, 0, 200), 1000);
    EXPECT_EQ(lit_pixels(20, 300), 0);
}

TEST_F(wireframe_window, needs_two_strings_and_a_model) {
    open();
    wireframe_load();
    section& one = add_section(section_type_find("genWireframe"), 0, 1, {});
    set_strings(one, {"./"});
    EXPECT_EQ(fatal_message(wireframe_init), "genWireframe: section at line 1 needs 2 strings, has 1");
    section& none = add_section(section_type_find("genWireframe"), 0, 1, {});
    set_strings(none, {"./", "gone.3ds"});
    EXPECT_EQ(fatal_message(wireframe_init), "Error loading model 'gone.3ds' (./gone.3ds: No such file or directory)");
}

}  // namespace
