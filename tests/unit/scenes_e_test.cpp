// Unit tests of the loop and final logo scenes' own arithmetic, without a
// window (turn angles, camera sweeps, the mirror's size), and of what the
// generator builds for them: swept tubes that are closed and consistently
// wound, models that clear themselves while they turn, skies and
// reflections the right way up.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <utility>

#include "resources/model.h"
#include "scenes/logofinal.h"
#include "scenes/loop.h"
#include "tools/assets/swept_tubes.h"

namespace {

// ---------------------------------------------------------------------------
// loop
// ---------------------------------------------------------------------------

TEST(scenes_e_loop, turn_angle_and_camera_angles_follow_the_time_since_the_start) {
    const struct {
        float t;
        float pitch, yaw, twist, turn;
    } cases[] = {
        {0, 0, 50, 0, -30},         // at rest, -30 degrees
        {2, -20, 52, 100, -28},     // 4 / 2 - 30
        {10, -100, 60, 500, 20},    // 100 / 2 - 30
        {-1, 10, 49, -50, -29.5f},  // a frame just before the start
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.t);
        loop_frame f = loop_frame_at(c.t);
        EXPECT_FLOAT_EQ(f.pitch, c.pitch);
        EXPECT_FLOAT_EQ(f.yaw, c.yaw);
        EXPECT_FLOAT_EQ(f.twist, c.twist);
        EXPECT_FLOAT_EQ(f.turn, c.turn);
        EXPECT_FLOAT_EQ(loop_turn_angle(c.t), c.turn);
    }
    // The turn passes 0 at sqrt(60), about 7.746 s, rising.
    EXPECT_NEAR(loop_turn_angle(std::sqrt(60.0f)), 0, 1e-4);
    EXPECT_LT(loop_turn_angle(7.7f), 0);
    EXPECT_GT(loop_turn_angle(7.8f), 0);
}

// ---------------------------------------------------------------------------
// logofinal
// ---------------------------------------------------------------------------

// The camera from the clock the frame before left; the frame model square
// to the camera at u = 8.
TEST(scenes_e_logofinal, camera_and_frame_turn_follow_the_scene_clock) {
    const struct {
        float clock;
        float y, z, turn;
    } cases[] = {{0, 0, 300, 160}, {2, -20, 360, 120}, {8, -80, 540, 0}, {10, -100, 600, -40}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clock);
        float p[3] = {9, 9, 9};
        logofinal_camera_position(c.clock, p);
        EXPECT_FLOAT_EQ(p[0], 0);
        EXPECT_FLOAT_EQ(p[1], c.y);
        EXPECT_FLOAT_EQ(p[2], c.z);
        EXPECT_FLOAT_EQ(logofinal_frame_turn(c.clock), c.turn);
    }
}

TEST(scenes_e_logofinal, mirror_is_the_largest_centred_power_of_two_inside_target_and_window) {
    const struct {
        const char* name;
        int tw, th, ww, wh;
        int w, h, x, y;
    } cases[] = {
        {"square target", 512, 512, 800, 600, 512, 512, 0, 0},
        {"wide target", 640, 480, 800, 600, 512, 256, 64, 112},
        {"odd sizes", 300, 200, 800, 600, 256, 128, 22, 36},
        {"target larger than the window", 1024, 1024, 800, 600, 512, 512, 144, 44},
        {"one pixel", 1, 1, 1, 1, 1, 1, 0, 0},
        {"nothing", 0, -3, 800, 600, 1, 1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int w = -1, h = -1, x = -1, y = -1;
        logofinal_mirror_size(c.tw, c.th, c.ww, c.wh, &w, &h, &x, &y);
        EXPECT_EQ(w, c.w);
        EXPECT_EQ(h, c.h);
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.y);
    }
}

// ---------------------------------------------------------------------------
// Swept tubes
// ---------------------------------------------------------------------------

double length(mesh_vec3 v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
double dot(mesh_vec3 a, mesh_vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
mesh_vec3 minus(mesh_vec3 a, mesh_vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

// Every directed edge appears once and its reverse once: the surface is
// closed and all its triangles turn the same way.
void expect_closed_and_consistent(const mesh_object& o) {
    std::map<std::pair<int, int>, int> edges;
    for (const mesh_triangle& t : o.triangles) {
        ++edges[{t.a, t.b}];
        ++edges[{t.b, t.c}];
        ++edges[{t.c, t.a}];
    }
    int bad = 0;
    for (const auto& e : edges) {
        auto back = edges.find({e.first.second, e.first.first});
        if (e.second != 1 || back == edges.end() || back->second != 1) ++bad;
    }
    EXPECT_EQ(bad, 0) << o.name;
}

// Outward: the signed volume of a closed, outward-wound surface is positive
// (and about the tube's own volume).
double signed_volume(const mesh_object& o) {
    double v = 0;
    for (const mesh_triangle& t : o.triangles) {
        mesh_vec3 a = o.vertices[t.a], b = o.vertices[t.b], c = o.vertices[t.c];
        v += (a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) + a.z * (b.x * c.y - b.y * c.x)) / 6;
    }
    return v;
}

TEST(scenes_e_sweep, frames_are_orthonormal_and_close_on_a_closed_curve) {
    sweep_path knot = scene_e_loop_core();
    std::vector<sweep_frame> frames = sweep_frames(knot.points, true);
    ASSERT_EQ(frames.size(), knot.points.size());
    for (const sweep_frame& f : frames) {
        ASSERT_NEAR(length(f.tangent), 1, 1e-5);
        ASSERT_NEAR(length(f.normal), 1, 1e-5);
        ASSERT_NEAR(dot(f.tangent, f.normal), 0, 1e-5);
        ASSERT_NEAR(dot(f.normal, f.binormal), 0, 1e-5);
    }
    // Neighbouring normals, the last and the first included, differ by no
    // more than a small turn: no twisted seam where the tube closes.
    double worst = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        const sweep_frame& a = frames[i];
        const sweep_frame& b = frames[(i + 1) % frames.size()];
        worst = std::fmax(worst, std::acos(std::fmin(1.0, dot(a.normal, b.normal))));
    }
    EXPECT_LT(worst, 0.12);
}

TEST(scenes_e_sweep, tubes_are_closed_consistently_wound_and_outward) {
    sweep_path ring = scene_e_ring_path(40, 10, 1);
    mesh_object closed = mesh_build_sweep(ring, 8, "ring");
    EXPECT_EQ(closed.vertices.size(), 40u * 8);
    EXPECT_EQ(closed.triangles.size(), 2u * 40 * 8);
    expect_closed_and_consistent(closed);
    // A torus of radii 10 and 1: 2 pi^2 R r^2, less a little for the facets.
    double torus = 2 * M_PI * M_PI * 10;
    EXPECT_GT(signed_volume(closed), 0.8 * torus);
    EXPECT_LT(signed_volume(closed), torus);

    sweep_path letter = scene_e_letter_path(60, 5, 1);
    mesh_object open = mesh_build_sweep(letter, 6, "letter");
    // The path's rings, three more at each rounded end, and the two tips.
    EXPECT_EQ(open.vertices.size(), (60u + 6) * 6 + 2);
    expect_closed_and_consistent(open);
    EXPECT_GT(signed_volume(open), 0);

    // Too few points builds nothing rather than reading past the path.
    sweep_path two;
    two.points.resize(2);
    two.radii.assign(2, 1);
    EXPECT_TRUE(mesh_build_sweep(two, 6, "short").triangles.empty());
    two.closed = false;
    EXPECT_FALSE(mesh_build_sweep(two, 6, "short").triangles.empty());
    EXPECT_TRUE(mesh_build_sweep(ring, 2, "flat").triangles.empty());
}

// ---------------------------------------------------------------------------
// Models
// ---------------------------------------------------------------------------

model* parse(const mesh_model& m, const char* name) {
    std::vector<unsigned char> bytes = model_writer_encode(m, name);
    std::string error;
    model* parsed = model_parse(bytes.data(), bytes.size(), &error);
    EXPECT_NE(parsed, nullptr) << name << ": " << error;
    return parsed;
}

double farthest_from_origin(const model* m) {
    double far = 0;
    for (int i = 0; i < m->object_count; ++i)
        for (int k = 0; k < m->objects[i].vertex_count; ++k) {
            const model_vertex& v = m->objects[i].vertices[k];
            far = std::fmax(far, std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z));
        }
    return far;
}

double nearest_to_origin(const model* m) {
    double near = 1e30;
    for (int i = 0; i < m->object_count; ++i)
        for (int k = 0; k < m->objects[i].vertex_count; ++k) {
            const model_vertex& v = m->objects[i].vertices[k];
            near = std::fmin(near, std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z));
        }
    return near;
}

// The frame turns about the letter: every point of the letter lies nearer
// the centre than any point of the frame, so they never cut each other.
TEST(scenes_e_models, logo_frame_clears_the_letter_whatever_its_turn) {
    model* frame = parse(scene_e_frame_model(), "marco.3d");
    model* letter = parse(scene_e_letter_model(), "s.3d");
    ASSERT_TRUE(frame && letter);
    EXPECT_EQ(frame->object_count, 2);
    EXPECT_EQ(letter->object_count, 1);
    EXPECT_LT(farthest_from_origin(letter) + 5, nearest_to_origin(frame));
    // Big enough to fill a good part of the picture from 300 units away.
    EXPECT_GT(farthest_from_origin(frame), 300);
    // The letter faces the camera: it lies in a thin slab about z = 0.
    for (int k = 0; k < letter->objects[0].vertex_count; ++k)
        ASSERT_LE(std::fabs(letter->objects[0].vertices[k].z), 30.01f);
    model_free(frame);
    model_free(letter);
}

// Where the figure of eight crosses itself the two passes of the tube, with
// the strands wound round them, stay apart.
TEST(scenes_e_models, loop_passes_over_itself_without_touching) {
    sweep_path core = scene_e_loop_core();
    double reach = 0;  // the farthest a strand's surface gets from the core line
    for (float r : core.radii) reach = std::fmax(reach, r + SCENE_E_STRAND_GAP + SCENE_E_STRAND_TUBE);
    // Points of the core a quarter of the loop or more apart along it.
    double closest = 1e30;
    int n = static_cast<int>(core.points.size());
    for (int i = 0; i < n; ++i)
        for (int j = i + n / 4; j < i + 3 * n / 4; ++j)
            closest = std::fmin(closest, length(minus(core.points[i], core.points[j % n])));
    EXPECT_GT(closest, 2 * reach);
    model* loop = parse(scene_e_loop_model(), "loop.3d");
    ASSERT_TRUE(loop);
    EXPECT_EQ(loop->object_count, 3);
    EXPECT_LT(farthest_from_origin(loop), 53);  // the camera stands 53.9 away
    model_free(loop);
}

// ---------------------------------------------------------------------------
// Pictures
// ---------------------------------------------------------------------------

double brightness(const rgb_image& im, int x, int y) {
    rgb_image& m = const_cast<rgb_image&>(im);
    const unsigned char* p = m.at(x, y);
    return (p[0] + p[1] + p[2]) / 3.0;
}

double mean_over(const rgb_image& im, int x0, int y0, int x1, int y1, int channel) {
    rgb_image& m = const_cast<rgb_image&>(im);
    double sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) sum += m.at(x, y)[channel];
    return sum / ((x1 - x0) * (y1 - y0));
}

TEST(scenes_e_pictures, sky_has_clouds_inside_stars_everywhere_and_deep_edges) {
    sky_palette palette{{0.02f, 0.03f, 0.1f}, {0.3f, 0.4f, 0.95f}, {0.9f, 0.75f, 1.0f}, 41};
    rgb_image sky = scene_e_sky(256, palette);
    ASSERT_EQ(sky.width, 256);
    // Every edge, where the faces meet, is mostly the deep colour (stars
    // aside), so neighbouring faces join without a seam of cloud.
    int deep = 0, edge = 0;
    for (int i = 0; i < 256; ++i)
        for (auto xy : {std::make_pair(i, 0), std::make_pair(i, 255), std::make_pair(0, i), std::make_pair(255, i)}) {
            ++edge;
            unsigned char* p = sky.at(xy.first, xy.second);
            if (std::abs(p[2] - 26) <= 6 && p[0] < 20) ++deep;
        }
    EXPECT_GT(deep, edge * 8 / 10);
    // The middle holds clouds: on average twice as blue as the edge.
    EXPECT_GT(mean_over(sky, 64, 64, 192, 192, 2), 2 * 26);
    // Stars: a few bright pixels in the dark ring round the clouds.
    int stars = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 256; ++x) stars += brightness(sky, x, y) > 120;
    EXPECT_GT(stars, 5);
    // The same picture every time.
    EXPECT_EQ(scene_e_sky(256, palette).pixels, sky.pixels);
}

TEST(scenes_e_pictures, reflection_has_its_sky_at_the_bottom_rows_and_ground_at_the_top) {
    reflection_palette palette{{0.35f, 0.55f, 0.95f}, {0.95f, 0.97f, 1.0f}, {0.12f, 0.1f, 0.14f},
                               {1, 1, 1}, 43};
    rgb_image r = scene_e_reflection(128, palette);
    double top = mean_over(r, 40, 4, 88, 24, 2), bottom = mean_over(r, 40, 104, 88, 124, 2);
    EXPECT_LT(top, 0.25 * 255);     // the ground's dark blue
    EXPECT_GT(bottom, 0.6 * 255);   // the sky's
    // The horizon band across the middle is the brightest part.
    EXPECT_GT(mean_over(r, 0, 62, 128, 66, 0), mean_over(r, 0, 100, 128, 104, 0));
    rgb_image sheen = scene_e_sheen(128, 59);
    EXPECT_GT(mean_over(sheen, 0, 0, 128, 128, 2), mean_over(sheen, 0, 0, 128, 128, 0));
}

}  // namespace
