// A window for the scenes' GL tests: pictures and models written at the
// scenes' fixed paths, a section rendered at a time of its own, and where a
// world point lands in the render target.
#pragma once

#include <GL/glu.h>

#include <cmath>
#include <functional>
#include <string>
#include <utility>

#include "resources/spline.h"
#include "tests/effect_window.h"
#include "assetlib/asset_io.h"
#include "assetlib/meshes.h"
#include "assetlib/model_writer.h"

struct scene_window : effect_window {
    // A picture painted pixel by pixel (row 0 at the top), written as a JPEG
    // or a TGA by its name.
    void write_picture(const std::string& name, int width, int height,
                       const std::function<rgb(int x, int y)>& colour) {
        rgb_image image(width, height, 3);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                rgb c = colour(x, y);
                unsigned char* p = image.at(x, y);
                p[0] = static_cast<unsigned char>(c.r);
                p[1] = static_cast<unsigned char>(c.g);
                p[2] = static_cast<unsigned char>(c.b);
            }
        std::string path = dir.file(name);
        asset_make_parent(path);
        if (name.find(".jpg") != std::string::npos) asset_write_jpeg(path, image, 100);
        else asset_write_tga(path, image);
    }
    void write_plain(const std::string& name, int r, int g, int b) {
        write_picture(name, 16, 16, [=](int, int) { return rgb{r, g, b}; });
    }
    void write_model(const std::string& name, const mesh_model& m) {
        std::string path = dir.file(name);
        asset_make_parent(path);
        model_writer_save(path, m);
    }
    // One object of axis-aligned boxes (corner pairs), in order, 12 faces
    // each; given a colour, all of them painted in that lit colour.
    void write_boxes(const std::string& name, std::initializer_list<std::pair<mesh_vec3, mesh_vec3>> boxes,
                     const mesh_vec3* paint = nullptr) {
        mesh_model m;
        m.objects.emplace_back();
        mesh_object& o = m.objects[0];
        o.name = "boxes";
        for (const auto& b : boxes) mesh_append_box(o, b.first, b.second, false);
        if (paint) {
            m.materials.emplace_back();
            m.materials[0].name = "paint";
            m.materials[0].diffuse = *paint;
            o.groups.push_back({"paint", {}});
            for (size_t i = 0; i < o.triangles.size(); ++i) o.groups[0].faces.push_back(static_cast<int>(i));
        }
        write_model(name, m);
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
    static void set_strings(section& s, std::initializer_list<const char*> names) {
        for (const char* name : names) s.strings[s.string_count++] = const_cast<char*>(name);
    }
    void add_spline(section& s, const std::string& keys, float duration) {
        std::string path = dir.write("spline" + std::to_string(splines_written++) + ".txt", keys);
        s.splines = static_cast<spline*>(realloc(s.splines, sizeof(spline) * (s.spline_count + 1)));
        s.splines[s.spline_count] = spline_load(path.c_str());
        spline_spread_times(&s.splines[s.spline_count++], duration);
    }
    int splines_written = 0;
    void TearDown() override {
        for (auto& s : sections) {
            for (int i = 0; i < s->spline_count; ++i) spline_free(&s->splines[i]);
            free(s->splines);
        }
        effect_window::TearDown();
    }
    // One frame of a section `t` seconds after its start, as the timeline
    // renders it.
    static void render_at(section& s, float t, void (*render)()) {
        demo_time = s.start + t;
        frame_delta = 0;
        s.local_time = t;
        current_section = &s;
        render();
    }
    // The same on a target cleared to black.
    static void render_cleared(section& s, float t, void (*render)()) {
        clear_to(0, 0, 0);
        render_at(s, t, render);
    }
    // Render-target pixel of world point p under the current matrices, after
    // turning it `degrees` about Y.
    static rgb projected(const float p[3], float degrees = 0) {
        double a = degrees * M_PI / 180;
        double x = p[0] * std::cos(a) + p[2] * std::sin(a), z = -p[0] * std::sin(a) + p[2] * std::cos(a);
        double model[16], projection[16], wx, wy, wz;
        GLint viewport[4] = {0, 0, gl_rttWidth, gl_rttHeight};
        glGetDoublev(GL_MODELVIEW_MATRIX, model);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        gluProject(x, p[1], z, model, projection, viewport, &wx, &wy, &wz);
        EXPECT_TRUE(wx >= 0 && wx < gl_rttWidth && wy >= 0 && wy < gl_rttHeight) << wx << "," << wy;
        return pixel_at(static_cast<int>(wx), static_cast<int>(wy));
    }
    // Share of the render target's pixels within `tolerance` of a colour.
    static double share_of(int r, int g, int b, int tolerance = 4) {
        std::vector<unsigned char> p = read_target();
        size_t hits = 0, n = p.size() / 4;
        for (size_t i = 0; i < n; ++i)
            hits += std::abs(p[i * 4] - r) <= tolerance && std::abs(p[i * 4 + 1] - g) <= tolerance &&
                    std::abs(p[i * 4 + 2] - b) <= tolerance;
        return static_cast<double>(hits) / n;
    }
    // What a scene leaves for the next section: blending off, the modelview
    // matrix current at the bottom of its stack, no GL error.
    static void expect_clean_state() {
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_EQ(integer_state(GL_MATRIX_MODE), GL_MODELVIEW);
        EXPECT_EQ(integer_state(GL_MODELVIEW_STACK_DEPTH), 1);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
};
