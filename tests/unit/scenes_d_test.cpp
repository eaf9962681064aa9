// Unit tests of the model builder, column and paranoia scenes' arithmetic,
// without a window: build fractions (a build of no length is finished), the
// column's spin and sky angles, the feedback square, the paranoia turn and
// camera drift; and the models and pictures the generator makes for them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "resources/model.h"
#include "scenes/3Dbuilder.h"
#include "scenes/columna.h"
#include "scenes/paranoia.h"
#include "tools/assets/scene_assets_d.h"

namespace {

// ---------------------------------------------------------------------------
// Build fraction (3Dbuilder and paranoia)
// ---------------------------------------------------------------------------

TEST(scenes_d_build, fraction_runs_from_nothing_to_whole_and_no_length_is_whole) {
    const struct {
        const char* name;
        float t, duration, fraction;
    } cases[] = {
        {"at the start", 0, 8, 0},
        {"a quarter in", 2, 8, 0.25f},
        {"at the end", 8, 8, 1},
        {"zero duration at its start", 0, 0, 1},
        {"zero duration later", 3, 0, 1},
        // A section without an end line: end 0 before its start.
        {"negative length", 1, -2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        float f = build_fraction(c.t, c.duration);
        EXPECT_TRUE(std::isfinite(f));
        EXPECT_FLOAT_EQ(f, c.fraction);
    }
}

// ---------------------------------------------------------------------------
// columna
// ---------------------------------------------------------------------------

TEST(scenes_d_columna, spin_grows_by_a_tenth_of_t_every_frame) {
    // Frames at t = 0.5, 1, 1.5: -30 + 0.1 * 3.
    float spin = COLUMNA_SPIN_START;
    for (float t : {0.5f, 1.0f, 1.5f}) spin = columna_spin_step(spin, t);
    EXPECT_NEAR(spin, -29.7f, 1e-5);
    // The first frame after start stands at -30 + t / 10.
    EXPECT_FLOAT_EQ(columna_spin_step(COLUMNA_SPIN_START, 4), -29.6f);
}

TEST(scenes_d_columna, feedback_square_is_a_power_of_two_centred_in_the_target) {
    const struct {
        const char* name;
        int tw, th, ww, wh;
        int size, x, y;
    } cases[] = {
        {"default target", 512, 512, 800, 600, 512, 0, 0},
        {"wide target", 640, 480, 800, 600, 256, 192, 112},
        {"odd target", 300, 200, 800, 600, 128, 86, 36},
        {"window smaller than the target", 512, 512, 400, 300, 256, 128, 128},
        {"one pixel", 1, 1, 1, 1, 1, 0, 0},
        {"no target", 0, 512, 800, 600, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        columna_feedback f = columna_feedback_region(c.tw, c.th, c.ww, c.wh);
        EXPECT_EQ(f.size, c.size);
        EXPECT_EQ(f.x, c.x);
        EXPECT_EQ(f.y, c.y);
    }
}

// ---------------------------------------------------------------------------
// paranoia
// ---------------------------------------------------------------------------

TEST(scenes_d_paranoia, turn_is_half_the_square_of_t_and_the_camera_drifts) {
    EXPECT_FLOAT_EQ(paranoia_turn_angle(0), 0);
    EXPECT_FLOAT_EQ(paranoia_turn_angle(2), 2);
    EXPECT_FLOAT_EQ(paranoia_turn_angle(3), 4.5f);
    EXPECT_NEAR(paranoia_turn_angle(std::sqrt(60.0f)), 30, 1e-4);
    float eye[3];
    paranoia_camera_position(0, eye);
    EXPECT_FLOAT_EQ(eye[0], 20);
    EXPECT_FLOAT_EQ(eye[1], 0);
    EXPECT_FLOAT_EQ(eye[2], 50);
    paranoia_camera_position(10, eye);
    EXPECT_FLOAT_EQ(eye[0], 19);
    EXPECT_FLOAT_EQ(eye[1], 1);
    EXPECT_FLOAT_EQ(eye[2], 49);
}

// ---------------------------------------------------------------------------
// Generated models, read back through the player's parser
// ---------------------------------------------------------------------------

model* parse(const mesh_model& m, const char* name) {
    std::vector<unsigned char> bytes = model_writer_encode(m, name);
    std::string error;
    model* parsed = model_parse(bytes.data(), bytes.size(), &error);
    EXPECT_NE(parsed, nullptr) << error;
    if (parsed) model_compute_normals(parsed);
    return parsed;
}

struct extent {
    float low[3] = {1e30f, 1e30f, 1e30f}, high[3] = {-1e30f, -1e30f, -1e30f};
    float radius = 0;
};

extent measure(const model* m) {
    extent e;
    for (int i = 0; i < m->object_count; ++i)
        for (int v = 0; v < m->objects[i].vertex_count; ++v) {
            const model_vertex& p = m->objects[i].vertices[v];
            const float xyz[3] = {p.x, p.y, p.z};
            for (int k = 0; k < 3; ++k) {
                e.low[k] = std::fmin(e.low[k], xyz[k]);
                e.high[k] = std::fmax(e.high[k], xyz[k]);
            }
            e.radius = std::fmax(e.radius, std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z));
        }
    return e;
}

// Every face of a closed mesh around the origin faces away from it, so the
// averaged normals the sphere map reads point outwards.
void expect_faces_outward(const model_object& o) {
    int inward = 0;
    for (int f = 0; f < o.face_count; ++f) {
        const model_face& face = o.faces[f];
        const model_vertex& a = o.vertices[face.a];
        const model_vertex& b = o.vertices[face.b];
        const model_vertex& c = o.vertices[face.c];
        float cx = a.x + b.x + c.x, cy = a.y + b.y + c.y, cz = a.z + b.z + c.z;
        if (face.nx * cx + face.ny * cy + face.nz * cz <= 0) ++inward;
    }
    EXPECT_EQ(inward, 0);
}

TEST(scenes_d_assets, spiked_ball_has_three_spike_faces_per_triangle_rising_from_the_bottom) {
    spiked_ball_params p;
    p.radius = 2;
    p.subdivisions = 2;
    mesh_model m;
    m.objects.push_back(scene_d_spiked_ball(p, "ball"));
    m.materials.push_back(mesh_material());
    m.materials[0].name = "m";
    model* ball = parse(m, "ball.3d");
    ASSERT_NE(ball, nullptr);
    const model_object& o = ball->objects[0];
    EXPECT_EQ(o.face_count, 20 * 16 * 3);
    expect_faces_outward(o);
    // Spike feet on the sphere, tips between 1.06 and 1.55 radii out.
    extent e = measure(ball);
    EXPECT_GT(e.radius, 2 * 1.06f);
    EXPECT_LE(e.radius, 2 * 1.55f + 1e-3f);
    // The build rises: the first spike's foot is at the bottom, the last one's
    // at the top.
    EXPECT_LT(o.vertices[o.faces[0].a].y, -1.8f);
    EXPECT_GT(o.vertices[o.faces[o.face_count - 1].a].y, 1.8f);
    model_free(ball);
}

// Each model fits its scene's camera: 100 degrees of view, looked at from 2
// units (the builder, whole model in front of the near plane) or about 54
// units after the scene's scale (columna 0.2, paranoia 0.03), so it fills a
// good part of the frame without leaving it (64 units half-height there).
TEST(scenes_d_assets, models_fit_their_scene_cameras) {
    model* cubes = parse(scene_d_cubes_model(), "cubez.3ds");
    model* column = parse(scene_d_column_model(), "columna.3d");
    model* ball = parse(scene_d_paranoia_model(), "paranoia.3d");
    ASSERT_TRUE(cubes && column && ball);
    extent c = measure(cubes);
    EXPECT_GT(c.radius, 0.8f);
    EXPECT_LT(c.high[2], 2 - 0.4f);  // well clear of the camera at z = 2
    EXPECT_GT(cubes->objects[0].face_count, 1000);
    EXPECT_EQ(cubes->materials != nullptr, true);

    extent k = measure(column);
    float height = (k.high[1] - k.low[1]) * 0.2f;
    EXPECT_NEAR(k.high[1], -k.low[1], 1e-2);  // centred on its turning point
    EXPECT_GT(height, 60);
    EXPECT_LT(height, 110);

    extent b = measure(ball);
    EXPECT_GT(b.radius * 0.03f, 35);
    EXPECT_LT(b.radius * 0.03f, 60);
    for (model* m : {cubes, column, ball}) model_free(m);
}

// ---------------------------------------------------------------------------
// Generated pictures
// ---------------------------------------------------------------------------

float mean_channel(rgb_image& image, int x0, int y0, int w, int h, int channel) {
    double sum = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) sum += image.at(x, y)[channel];
    return static_cast<float>(sum / (w * h));
}

// The one-picture skies meet themselves at every cube edge: their borders
// hold one plain base colour, while the middle has clouds to show.
TEST(scenes_d_assets, sky_pictures_have_seamless_borders_and_detail_inside) {
    for (rgb_image sky : {scene_d_column_sky(128), scene_d_paranoia_sky(128)}) {
        int spread = 0, inner_min = 255, inner_max = 0;
        for (int i = 0; i < 128; ++i)
            for (const unsigned char* p : {sky.at(i, 0), sky.at(0, i), sky.at(127, i), sky.at(i, 127)})
                spread = std::max(spread, std::abs(p[0] - sky.at(0, 0)[0]) + std::abs(p[2] - sky.at(0, 0)[2]));
        for (int y = 40; y < 88; ++y)
            for (int x = 40; x < 88; ++x) {
                int v = sky.at(x, y)[0] + sky.at(x, y)[1] + sky.at(x, y)[2];
                inner_min = std::min(inner_min, v);
                inner_max = std::max(inner_max, v);
            }
        EXPECT_LE(spread, 6);  // JPEG-free: these are the raw pixels
        EXPECT_GT(inner_max - inner_min, 60);
    }
}

// The sphere maps put their sky in the lower half (what faces up reflects)
// and the chrome's ground in the upper half; the iris is dark in its pupil.
TEST(scenes_d_assets, reflection_pictures_are_laid_out_for_sphere_mapping) {
    rgb_image chrome = scene_d_chrome_front(64);
    EXPECT_GT(mean_channel(chrome, 16, 40, 32, 16, 2), mean_channel(chrome, 16, 8, 32, 16, 2) + 40);
    EXPECT_GT(mean_channel(chrome, 16, 8, 32, 16, 0), mean_channel(chrome, 16, 8, 32, 16, 2));
    rgb_image iris = scene_d_paranoia_map(64);
    EXPECT_LT(mean_channel(iris, 30, 30, 4, 4, 0), 40);
    EXPECT_GT(mean_channel(iris, 12, 30, 4, 4, 0), 80);
    rgb_image julia = scene_d_fractal_reflection(64);
    float low = 255, high = 0;
    for (int y = 0; y < 64; y += 4)
        for (int x = 0; x < 64; x += 4) {
            low = std::fmin(low, julia.at(x, y)[1]);
            high = std::fmax(high, julia.at(x, y)[1]);
        }
    EXPECT_GT(high - low, 100);
}

}  // namespace
