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

}  // namespace
