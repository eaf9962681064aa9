// The gears and meditation scenes' arithmetic without a window: the wheels'
// placements and whether their teeth really pass between each other, the
// meditation colours, scatter and turns, and the generated models they load.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "core/random.h"
#include "resources/camera.h"
#include "resources/model.h"
#include "scenes/gears.h"
#include "scenes/meditation.h"
#include "tools/assets/model_writer.h"
#include "tools/assets/scene_assets_c.h"

namespace {

// ---------------------------------------------------------------------------
// gears
// ---------------------------------------------------------------------------

// Angle of a wheel's turning rotation: the second one when it has one.
float spin_of(const gears_wheel& w) { return w.second.axis[1] != 0 ? w.second.angle : w.first.angle; }

TEST(gears_scene, wheels_stand_at_their_rest_angles_and_turn_at_their_ratios) {
    gears_wheel w[GEARS_WHEELS];
    gears_wheels(0, w);
    const float rest[GEARS_WHEELS] = {4.5f, 0, 0, 4.5f, 12, 0, 0, 12, 0, 0};
    const int models[GEARS_WHEELS] = {0, 0, 0, 0, 1, 1, 2, 1, 1, 2};
    for (int i = 0; i < GEARS_WHEELS; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(spin_of(w[i]), rest[i]);
        EXPECT_EQ(w[i].model, models[i]);
        EXPECT_EQ(w[i].turn, i < 7 ? 0.0f : 180.0f);
    }
    // t = 2: a = 60, b = 60 * 2.66667 = 160.0002 in single precision.
    gears_wheels(2, w);
    EXPECT_EQ(spin_of(w[1]), 60.0f);
    EXPECT_EQ(spin_of(w[0]), 64.5f);
    EXPECT_FLOAT_EQ(spin_of(w[5]), 160.0002f);
    EXPECT_FLOAT_EQ(spin_of(w[4]), 172.0002f);
    EXPECT_EQ(spin_of(w[6]), 240.0f);
    // Teeth passing a contact per degree of a agree for every wheel: the
    // generated tooth counts times the turning rates.
    const float rates[3] = {1, 2.66667f, 4};
    for (int m = 0; m < SCENE_C_GEARS; ++m)
        EXPECT_NEAR(scene_c_gear_shape(m).shape.teeth * rates[m], 40, 1e-3) << "gear " << m + 1;
}

// World position of tooth centre k of a wheel (pitch circle, mid-thickness),
// composed the way the scene's GL calls compose the matrices.
void wheel_matrix(const gears_wheel& w, float m[16]) {
    mat4_identity(m);
    if (w.turn != 0) mat4_rotate(m, w.turn, 0, 1, 0);
    mat4_translate(m, w.translate[0], w.translate[1], w.translate[2]);
    for (const gears_rotation* r : {&w.first, &w.second})
        if (r->axis[0] != 0 || r->axis[1] != 0 || r->axis[2] != 0)
            mat4_rotate(m, r->angle, r->axis[0], r->axis[1], r->axis[2]);
}

std::vector<std::array<float, 3>> tooth_centres(const gears_wheel& w) {
    scene_c_gear g = scene_c_gear_shape(w.model);
    float m[16];
    wheel_matrix(w, m);
    float radius = g.shape.module * g.shape.teeth / 2;
    std::vector<std::array<float, 3>> out;
    for (int k = 0; k < g.shape.teeth; ++k) {
        double angle = 2 * M_PI * (k + g.phase) / g.shape.teeth;
        float x = static_cast<float>(radius * std::cos(angle)), z = static_cast<float>(radius * std::sin(angle));
        out.push_back({m[0] * x + m[8] * z + m[12], m[1] * x + m[9] * z + m[13], m[2] * x + m[10] * z + m[14]});
    }
    return out;
}

float closest_teeth(const gears_wheel& a, const gears_wheel& b) {
    float best = 1e9f;
    for (const auto& p : tooth_centres(a))
        for (const auto& q : tooth_centres(b))
            best = std::min(best, std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]));
    return best;
}

// Neighbouring wheels: the cube's four edges, each gear 2 on its big wheel,
// each gear 3 on its two gears 2, on both sides.
const int mesh_pairs[][2] = {{0, 2}, {0, 3}, {1, 2}, {1, 3}, {4, 2}, {5, 3},
                             {6, 4}, {6, 5}, {7, 3}, {8, 2}, {9, 7}, {9, 8}};

// Over one tooth period (a from 0 to 9 degrees) no tooth of a wheel comes
// near a tooth of its neighbour: they stay close to half a tooth pitch
// apart (0.0148 to 0.0162), so the teeth pass between each other.
TEST(gears_scene, neighbouring_teeth_stay_half_a_pitch_apart_while_turning) {
    for (int step = 0; step < 24; ++step) {
        float t = step * (9.0f / 30) / 24;
        gears_wheel w[GEARS_WHEELS];
        gears_wheels(t, w);
        for (const auto& p : mesh_pairs) {
            SCOPED_TRACE(testing::Message() << "t " << t << " wheels " << p[0] << ", " << p[1]);
            float d = closest_teeth(w[p[0]], w[p[1]]);
            EXPECT_GT(d, 0.0140f);
            EXPECT_LT(d, 0.0180f);  // and they are neighbours, well inside a pitch (0.031)
        }
    }
    // Without the first wheel's half-tooth rest offset its teeth run into
    // those of the wheels beside it: the measure sees a collision.
    gears_wheel w[GEARS_WHEELS];
    gears_wheels(0, w);
    w[0].first.angle -= 4.5f;
    EXPECT_LT(closest_teeth(w[0], w[2]), 0.002f);
}

// The generated wheels read back as the scene loads them: one object each,
// tooth tips at the pitch radius plus a module, as thick as their shape.
TEST(gears_scene, generated_gear_models_parse_with_their_sizes) {
    for (int i = 0; i < SCENE_C_GEARS; ++i) {
        SCOPED_TRACE(i);
        std::vector<unsigned char> bytes = model_writer_encode(scene_c_gear_model(i), "gear.3d");
        std::string error;
        model* m = model_parse(bytes.data(), bytes.size(), &error);
        ASSERT_NE(m, nullptr) << error;
        ASSERT_EQ(m->object_count, 1);
        scene_c_gear g = scene_c_gear_shape(i);
        float tip = gear_tip_radius(g.shape), reach = 0, high = 0;
        const model_object& o = m->objects[0];
        for (int v = 0; v < o.vertex_count; ++v) {
            reach = std::max(reach, std::hypot(o.vertices[v].x, o.vertices[v].z));
            high = std::max(high, o.vertices[v].y);
        }
        EXPECT_NEAR(reach, tip, 1e-4);
        EXPECT_NEAR(high, g.shape.thickness / 2, 1e-5);
        model_free(m);
    }
}

// ---------------------------------------------------------------------------
// meditation
// ---------------------------------------------------------------------------

TEST(meditation_scene, flicker_colour_from_the_frame_products_and_three_draws) {
    struct row {
        float T;
        int g, b, a;
    } rows[] = {{0, 0, 0, 0}, {0, 99, 50, 25}, {1.25f, 7, 93, 61}, {100.5f, 42, 0, 99}};
    for (const row& r : rows) {
        SCOPED_TRACE(r.T);
        meditation_clock c = meditation_clock_at(r.T);
        EXPECT_EQ(c.t800, 800 * r.T);
        float out[4];
        meditation_flicker(c, r.g, r.b, r.a, out);
        EXPECT_NEAR(out[0], 0.1 * std::sin(10.0 * r.T) + 0.8, 2e-5);
        EXPECT_NEAR(out[1], 0.1 * std::sin(0.01 * r.g + 30.0 * r.T) + 0.8, 2e-5);
        EXPECT_NEAR(out[2], 0.2 * std::sin(0.01 * r.b + 20.0 * r.T) + 0.8, 4e-5);
        EXPECT_NEAR(out[3], 0.1 * std::sin(0.01 * r.a + 800.0 * r.T) + 0.2, 2e-4);
    }
    // At T = 0 with no draws: (0.8, 0.8, 0.8, 0.2); alpha stays in 0.1..0.3.
    float out[4];
    meditation_flicker(meditation_clock_at(0), 0, 0, 0, out);
    EXPECT_FLOAT_EQ(out[0], 0.8f);
    EXPECT_FLOAT_EQ(out[3], 0.2f);
}

TEST(meditation_scene, particles_scatter_on_multiples_of_sin_one_in_draw_order) {
    EXPECT_FLOAT_EQ(meditation_coordinate(0, 1), 0.0841471f);
    EXPECT_NEAR(meditation_coordinate(1, 999), -84.06295, 1e-4);
    EXPECT_EQ(meditation_coordinate(1, 0), 0.0f);
    EXPECT_EQ(meditation_coordinate(0, 0), 0.0f);
    particle_system* system = particles_create(3, 1.0f);
    rand_restart();
    meditation_scatter(system);
    // Draws 16838 5758 | 10113 17515 | 31051 5627: z = +758, y = -515,
    // x = -627 steps of 0.0841471.
    const particle& p = system->particles[0];
    EXPECT_EQ(p.alive, 1);
    EXPECT_NEAR(p.position[2], 63.7835, 1e-3);
    EXPECT_NEAR(p.position[1], -43.3358, 1e-3);
    EXPECT_NEAR(p.position[0], -52.7602, 1e-3);
    for (int i = 0; i < 3; ++i)
        for (float c : system->particles[i].position) {
            double steps = c / (0.1 * std::sin(1.0));
            EXPECT_NEAR(steps, std::round(steps), 1e-3);
            EXPECT_LE(std::fabs(c), 84.063f);
        }
    // Six draws per particle, no more.
    int next = rand_next();
    rand_restart();
    for (int i = 0; i < 18; ++i) rand_next();
    EXPECT_EQ(next, rand_next());
    EXPECT_EQ(system->particles[2].colour[3], 0.0f);
    particles_free(system);
}

TEST(meditation_scene, turns_of_rings_sky_passes_and_particle_clusters) {
    meditation_rotation r[MEDITATION_CIRCLES];
    meditation_circle_rotations(1, r);
    EXPECT_EQ(r[0].angle, 35.0f);
    EXPECT_EQ(r[1].angle, 55.0f);
    EXPECT_EQ(r[2].angle, 125.0f);
    EXPECT_EQ(r[2].axis[0], -2.0f);
    meditation_circle_rotations(0, r);
    EXPECT_EQ(r[0].angle, 10.0f);
    EXPECT_FLOAT_EQ(meditation_particle_turn(3, 2), -0.06f);
    EXPECT_FLOAT_EQ(meditation_particle_turn(999, 10), -99.9f);
    EXPECT_EQ(meditation_particle_turn(0, 10), 0.0f);
    EXPECT_FLOAT_EQ(meditation_particle_cluster(999, 10), 99.9f);
    EXPECT_FLOAT_EQ(meditation_particle_cluster(7, 0.5f), 0.035f);
}

// The cairn is closed and wound outward (positive enclosed volume per
// stone), and the scene's turn (180 about Z, then 90 about X) stands it
// upright: the widest stone lowest, the smallest on top.
TEST(meditation_scene, cairn_model_is_closed_outward_and_stands_upright) {
    std::vector<unsigned char> bytes = model_writer_encode(scene_c_meditation_model(), "meditation.3d");
    std::string error;
    model* m = model_parse(bytes.data(), bytes.size(), &error);
    ASSERT_NE(m, nullptr) << error;
    ASSERT_EQ(m->object_count, 5);
    float previous_height = -1e9f, previous_width = 1e9f;
    for (int i = 0; i < m->object_count; ++i) {
        const model_object& o = m->objects[i];
        double volume = 0;
        for (int f = 0; f < o.face_count; ++f) {
            const model_vertex& a = o.vertices[o.faces[f].a];
            const model_vertex& b = o.vertices[o.faces[f].b];
            const model_vertex& c = o.vertices[o.faces[f].c];
            volume += (a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) +
                       a.z * (b.x * c.y - b.y * c.x)) / 6;
        }
        EXPECT_GT(volume, 0.0) << "stone " << i;
        // Shown at (-x, -z, -y): world height is -z, width spans x.
        float height = 0, low = 1e9f, high = -1e9f;
        for (int v = 0; v < o.vertex_count; ++v) {
            height += -o.vertices[v].z / o.vertex_count;
            low = std::min(low, o.vertices[v].x);
            high = std::max(high, o.vertices[v].x);
        }
        EXPECT_GT(height, previous_height) << "stone " << i;
        EXPECT_LT(high - low, previous_width) << "stone " << i;
        previous_height = height;
        previous_width = high - low;
    }
    model_free(m);
}

}  // namespace
