// Unit tests of the picture-particle, trail and 3-D picture section types
// without a window: scatter ranges and offsets against the project's random
// sequence, pixel colours of every stored layout, the filled pool, the eased
// glide, the trail's pool and emission walk, and the init checks that stop
// before anything is drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/section.h"
#include "effects/image3d.h"
#include "effects/particletex.h"
#include "effects/pathway.h"
#include "resources/spline.h"
#include "resources/texture.h"
#include "tests/image_writers.h"
#include "tests/test_support.h"

namespace {

const float NaN = std::numeric_limits<float>::quiet_NaN();

// The message a call stops with, or "" when it returns.
template <typename F> std::string fatal_message(F call) {
    catch_fatal guard;
    try {
        call();
    } catch (const fatal_exception& e) {
        return e.what();
    }
    return "";
}

// A picture record built by hand: `bytes` holds the rows without padding,
// copied into a padded buffer the way the loader stores them.
struct hand_picture {
    texture record = {};
    std::vector<unsigned char> buffer;
    hand_picture(int width, int height, int components, GLenum format,
                 const std::vector<unsigned char>& bytes) {
        record.width = width;
        record.height = height;
        record.components = components;
        record.pixel_format = format;
        int row = texture_row_bytes(&record);
        buffer.assign(static_cast<size_t>(row) * height, 0xEE);  // padding is junk
        for (int y = 0; y < height; ++y)
            for (int i = 0; i < width * components; ++i)
                buffer[y * row + i] = bytes[(y * width) * components + i];
        record.pixels = buffer.data();
    }
};

// ---------------------------------------------------------------------------
// genParticletex
// ---------------------------------------------------------------------------

TEST(particletex, scatter_range_is_truncated_and_never_below_one) {
    const struct {
        float param;
        int range;
    } cases[] = {
        {1, 1}, {2, 2}, {2.9f, 2}, {7.5f, 7}, {0.99f, 1}, {0, 1}, {-3, 1}, {-0.5f, 1}, {NaN, 1},
        {32768, 32768}, {1e9f, 32768}, {std::numeric_limits<float>::infinity(), 32768},
    };
    for (const auto& c : cases) EXPECT_EQ(particletex_scatter_range(c.param), c.range) << c.param;
}

TEST(particletex, offsets_draw_z_then_y_then_x_as_sign_and_magnitude) {
    // The sequence starts 16838, 5758, 10113, 17515, 31051, 5627, 23010, 7419,
    // 16212, 4086, 2749, 12767: for range 5 the first offset is z = +(5758 % 5),
    // y = -(17515 % 5), x = -(5627 % 5).
    rand_restart();
    float first[3], second[3];
    particletex_draw_offset(5, first);
    particletex_draw_offset(5, second);
    EXPECT_EQ(first[0], -2);
    EXPECT_EQ(first[1], 0);
    EXPECT_EQ(first[2], 3);
    EXPECT_EQ(second[0], -2);
    EXPECT_EQ(second[1], 1);
    EXPECT_EQ(second[2], 4);
    // Range 1 gives 0 everywhere but still makes its six draws.
    rand_restart();
    float zero[3];
    particletex_draw_offset(1, zero);
    for (float v : zero) EXPECT_EQ(v, 0);
    EXPECT_EQ(rand_next(), 23010);
}

TEST(particletex, offsets_stay_within_the_range) {
    rand_restart();
    const int ranges[] = {2, 3, 10, 32768};
    for (int range : ranges) {
        float low = 0, high = 0;
        for (int i = 0; i < 2000; ++i) {
            float o[3];
            particletex_draw_offset(range, o);
            for (float v : o) {
                EXPECT_EQ(v, std::floor(v));
                low = std::min(low, v);
                high = std::max(high, v);
            }
        }
        EXPECT_GE(low, -(range - 1));
        EXPECT_LE(high, range - 1);
        if (range <= 10) {  // small ranges reach both ends
            EXPECT_EQ(low, -(range - 1));
            EXPECT_EQ(high, range - 1);
        }
    }
}

TEST(particletex, pixel_colour_follows_the_stored_layout) {
    // Pixel (2, 1) of a 3 x 2 picture is (200, 100, 50); rows of 3-byte
    // pixels are padded, so a reader that ignores padding gets it wrong.
    struct layout_case {
        const char* name;
        int components;
        GLenum format;
        std::vector<unsigned char> row1_pixel2;  // the stored bytes of (2, 1)
        float want[3];
    };
    const layout_case cases[] = {
        {"rgb", 3, GL_RGB, {200, 100, 50}, {200, 100, 50}},
        {"bgr", 3, GL_BGR_EXT, {50, 100, 200}, {200, 100, 50}},
        {"rgba", 4, GL_RGBA, {200, 100, 50, 7}, {200, 100, 50}},
        {"bgra", 4, GL_BGRA_EXT, {50, 100, 200, 7}, {200, 100, 50}},
        {"grey", 1, GL_RGB, {90}, {90, 90, 90}},
    };
    for (const layout_case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<unsigned char> bytes(3 * 2 * c.components, 1);
        for (int i = 0; i < c.components; ++i) bytes[(1 * 3 + 2) * c.components + i] = c.row1_pixel2[i];
        hand_picture p(3, 2, c.components, c.format, bytes);
        float rgb[3];
        particletex_pixel_colour(&p.record, 2, 1, rgb);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(rgb[i], c.want[i] / 255.0f, 1e-6) << i;
        particletex_pixel_colour(&p.record, 0, 0, rgb);
        EXPECT_NEAR(rgb[0], 1 / 255.0f, 1e-6);
    }
}

// Pictures written in each file layout, read back through the texture loader:
// the particles take the colours the picture shows.
TEST(particletex, loaded_pictures_give_their_own_colours) {
    temp_dir dir;
    const picture sharp = test_picture();
    // JPEG smears neighbouring colours, so it gets a flat picture of its own.
    const picture flat = {4, 4, std::vector<rgba>(16, rgba{200, 100, 50, 255})};
    typedef void (*writer)(const std::string&, const picture&);
    struct file_case {
        const char* name;
        writer write;
        const picture* source;
        int tolerance;
    };
    const file_case cases[] = {
        {"a.bmp", [](const std::string& f, const picture& q) { write_bmp24(f, q); }, &sharp, 0},
        {"b.bmp", [](const std::string& f, const picture& q) { write_bmp32(f, q); }, &sharp, 0},
        {"c.bmp", [](const std::string& f, const picture& q) { write_bmp8(f, q); }, &sharp, 0},
        {"d.tga", [](const std::string& f, const picture& q) { write_tga(f, q, TGA_TRUE, 24); }, &sharp, 0},
        {"e.tga", [](const std::string& f, const picture& q) { write_tga(f, q, TGA_TRUE, 32, false); },
         &sharp, 0},
        {"f.tga", [](const std::string& f, const picture& q) { write_tga(f, q, TGA_PALETTE, 8); }, &sharp, 0},
        {"g.jpg", [](const std::string& f, const picture& q) { write_jpeg(f, q); }, &flat, 3},
    };
    for (const file_case& c : cases) {
        SCOPED_TRACE(c.name);
        const picture& p = *c.source;
        c.write(dir.file(c.name), p);
        int index = texture_load(dir.file(c.name).c_str());
        ASSERT_GE(index, 0);
        const texture* t = texture_table[index];
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                float rgb[3];
                particletex_pixel_colour(t, x, y, rgb);
                rgba want = p.at(x, y);
                EXPECT_NEAR(rgb[0] * 255, want.r, c.tolerance + 0.01) << x << "," << y;
                EXPECT_NEAR(rgb[1] * 255, want.g, c.tolerance + 0.01) << x << "," << y;
                EXPECT_NEAR(rgb[2] * 255, want.b, c.tolerance + 0.01) << x << "," << y;
            }
    }
}

// A 3 x 2 RGB picture: bright pixels, one black and one just below the
// brightness a particle needs.
hand_picture six_pixels() {
    return hand_picture(3, 2, 3, GL_RGB,
                        {255, 0, 0, 0, 0, 0, 0, 0, 255,            //
                         10, 10, 5, 9, 9, 8, 200, 100, 50});       // sums 0.098 and 0.102
}

TEST(particletex, fill_numbers_particles_row_by_row_and_skips_dark_pixels) {
    hand_picture p = six_pixels();
    particle_system* system = particles_create(6, 1);
    rand_restart();
    particletex_fill(system, &p.record, 1, 0.25f);
    const int alive[6] = {1, 0, 1, 0, 1, 1};
    const float red[6] = {255, 0, 0, 10, 9, 200};
    for (int k = 0; k < 6; ++k) {
        const particle& q = system->particles[k];
        EXPECT_EQ(q.alive != 0, alive[k] != 0) << k;
        EXPECT_NEAR(q.colour[0], red[k] / 255, 1e-6) << k;
        EXPECT_EQ(q.colour[3], 0.25f) << k;
        EXPECT_EQ(q.texture_slot, 0);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(q.position[i], 0) << k;  // range 1: no scatter
            EXPECT_EQ(q.velocity[i], 0) << k;
            EXPECT_EQ(q.acceleration[i], 0) << k;
        }
    }
    // Every pixel, dead or not, drew its six numbers.
    int after_fill = rand_next();
    rand_restart();
    for (int i = 0; i < 6 * 6; ++i) rand_next();
    EXPECT_EQ(after_fill, rand_next());
    particles_free(system);
}

TEST(particletex, fill_keeps_the_offset_in_position_and_velocity) {
    hand_picture p = six_pixels();
    particle_system* system = particles_create(6, 1);
    rand_restart();
    particletex_fill(system, &p.record, 5, 1);
    const float first[3] = {-2, 0, 3}, second[3] = {-2, 1, 4};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(system->particles[0].position[i], first[i]);
        EXPECT_EQ(system->particles[0].velocity[i], first[i]);
        EXPECT_EQ(system->particles[1].velocity[i], second[i]);
    }
    particles_free(system);
}

TEST(particletex, ease_runs_from_one_to_zero_on_a_cosine) {
    const struct {
        float t, d, e;
    } cases[] = {
        {0, 4, 1}, {4, 4, 0}, {2, 4, 0.5f}, {1, 4, 0.8535534f}, {3, 4, 0.1464466f}, {0.5f, 1, 0.5f},
    };
    for (const auto& c : cases) EXPECT_NEAR(particletex_ease(c.t, c.d), c.e, 1e-6) << c.t << "/" << c.d;
}

TEST(particletex, place_glides_from_offset_to_grid_and_fades) {
    hand_picture p = six_pixels();
    particletex_instance instance = {};
    instance.particles = particles_create(6, 1);
    instance.width = 3;
    instance.height = 2;
    instance.half_width = 3 * 0.5f * 0.5f;
    instance.half_height = 2 * 0.5f * 0.5f;
    instance.row_spacing = instance.column_spacing = 0.5f;
    rand_restart();
    particletex_fill(instance.particles, &p.record, 5, 0);
    particle& first = instance.particles->particles[0];   // row 0, column 0, offset (-2, 0, 3)
    particle& last = instance.particles->particles[5];    // row 1, column 2
    particle& dead = instance.particles->particles[1];
    const float dead_position[3] = {dead.position[0], dead.position[1], dead.position[2]};
    const float last_offset[3] = {last.velocity[0], last.velocity[1], last.velocity[2]};
    const struct {
        float t, e, alpha;
    } steps[] = {{0, 1, 0.2f}, {2, 0.5f, 0.5f}, {4, 0, 0.8f}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.t);
        particletex_place(&instance, s.t, 4, 0.2f, 0.8f);
        // Rows along x from -half height, columns along y from -half width.
        EXPECT_NEAR(first.position[0], s.e * -2 + 0 - 0.5f, 1e-6);
        EXPECT_NEAR(first.position[1], s.e * 0 + 0 - 0.75f, 1e-6);
        EXPECT_NEAR(first.position[2], s.e * 3, 1e-6);
        EXPECT_NEAR(last.position[0], s.e * last_offset[0] + 0.5f - 0.5f, 1e-6);
        EXPECT_NEAR(last.position[1], s.e * last_offset[1] + 1.0f - 0.75f, 1e-6);
        EXPECT_NEAR(last.position[2], s.e * last_offset[2], 1e-6);
        EXPECT_NEAR(first.colour[3], s.alpha, 1e-6);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(dead.position[i], dead_position[i]);
        EXPECT_EQ(dead.colour[3], 0);
    }
    particles_free(instance.particles);
}

// ---------------------------------------------------------------------------
// genPathway
// ---------------------------------------------------------------------------

TEST(pathway, pool_holds_duration_times_rate_truncated) {
    const struct {
        float duration, rate;
        int count;
    } cases[] = {
        {10, 10, 100}, {5, 60, 300}, {1, 2.5f, 2}, {0.3f, 10, 3}, {1, 0.5f, 0}, {0.5f, 0.5f, 0},
        {-1, 10, 0}, {2, -3, 0}, {0, 5, 0}, {NaN, 5, 0}, {1e10f, 1e10f, 2147483647},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pathway_pool_size(c.duration, c.rate), c.count) << c.duration << " x " << c.rate;
}

TEST(pathway, fill_draws_each_acceleration_z_then_y_then_x) {
    particle_system* system = particles_create(3, 0.5f);
    particle_set_position(system, 1, 4, 4, 4);
    system->particles[2].alive = 1;
    rand_restart();
    pathway_fill(system, 0.1f, 0.2f, 0.3f);
    // z = +(5758 % 100), y = -(17515 % 100), x = -(5627 % 100), times 0.002;
    // then z = +(7419 % 100), y = +(4086 % 100), x = -(12767 % 100).
    const float want[2][3] = {{-0.054f, -0.03f, 0.116f}, {-0.134f, 0.172f, 0.038f}};
    for (int k = 0; k < 2; ++k)
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(system->particles[k].acceleration[i], want[k][i], 1e-6);
    for (int k = 0; k < 3; ++k) {
        const particle& p = system->particles[k];
        EXPECT_EQ(p.alive, 0) << k;
        EXPECT_EQ(p.life, PATHWAY_LIFE);
        const float colour[4] = {0.1f, 0.2f, 0.3f, 1};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(p.colour[i], colour[i]);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(p.position[i], 0);
            EXPECT_EQ(p.velocity[i], 0);
            EXPECT_LE(std::fabs(p.acceleration[i]), 0.198f + 1e-6f);
        }
    }
    particles_free(system);
}

// A straight path along x: (0, 0, 0) at time 0 to (length, 0, 0) at its end,
// so a path point's x is its time scaled by length / seconds.
spline straight_path(float length, float seconds) {
    temp_dir dir;
    std::string path = dir.write("path.txt", "{0,0,0,0,0,0,0,0,0}\n{" + std::to_string(length) +
                                                 ",0,0,0,0,0,0,0,0}\n");
    spline s = spline_load(path.c_str());
    spline_spread_times(&s, seconds);
    return s;
}

// A trail instance owning its pool for the test's lifetime.
struct trail_holder {
    pathway_instance trail = {};
    explicit trail_holder(int count) { trail.particles = particles_create(count, 0.1f); }
    ~trail_holder() { particles_free(trail.particles); }
};

int alive_count(const pathway_instance& trail) {
    int n = 0;
    for (int k = 0; k < trail.particles->count; ++k) n += trail.particles->particles[k].alive != 0;
    return n;
}

TEST(pathway, walk_wakes_particle_j_at_time_j_over_rate) {
    spline path = straight_path(10, 10);  // x = time
    const struct {
        float t;
        int alive;
        int next;
    } cases[] = {
        {-0.5f, 0, 0}, {0, 1, 1}, {0.05f, 1, 1}, {0.1f, 2, 2}, {4.95f, 50, 50}, {9.95f, 100, 100},
        {10.5f, 100, 100}, {1000, 100, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.t);
        trail_holder holder(100);
        pathway_instance& trail = holder.trail;
        pathway_emit(&trail, &path, 10, c.t);
        EXPECT_EQ(alive_count(trail), c.alive);
        EXPECT_EQ(trail.next_particle, c.next);
        for (int j = 0; j < c.alive; ++j) {
            EXPECT_TRUE(trail.particles->particles[j].alive) << j;
            EXPECT_NEAR(trail.particles->particles[j].position[0], (j + 1) / 10.0f, 1e-4) << j;
        }
        float want_emitter = c.alive ? c.alive / 10.0f : 0;
        EXPECT_NEAR(trail.emitter[0], want_emitter, 1e-4);
    }
    spline_free(&path);
}

TEST(pathway, walk_leaves_alive_particles_and_wakes_dead_ones_again) {
    spline path = straight_path(10, 10);
    trail_holder holder(20);
    pathway_instance& trail = holder.trail;
    pathway_emit(&trail, &path, 10, 0.35f);
    ASSERT_EQ(alive_count(trail), 4);
    particle& moved = trail.particles->particles[1];
    moved.position[0] = 7;
    particle& killed = trail.particles->particles[2];
    killed.alive = 0;
    killed.position[0] = -5;
    killed.velocity[1] = 3;
    pathway_emit(&trail, &path, 10, 0.35f);
    EXPECT_EQ(moved.position[0], 7);
    EXPECT_TRUE(killed.alive);
    EXPECT_NEAR(killed.position[0], 0.3f, 1e-5);
    EXPECT_EQ(killed.velocity[1], 3);
    spline_free(&path);
}

TEST(pathway, walk_past_the_path_end_holds_the_last_point) {
    // A path of 2 seconds under a pool of 4 seconds at 5 per second.
    spline path = straight_path(6, 2);
    trail_holder holder(20);
    pathway_instance& trail = holder.trail;
    pathway_emit(&trail, &path, 5, 4);
    ASSERT_EQ(alive_count(trail), 20);
    for (int j = 0; j < 20; ++j) {
        float time = (j + 1) / 5.0f;
        float want = time < 2 ? time * 3 : 6;
        EXPECT_NEAR(trail.particles->particles[j].position[0], want, 1e-4) << j;
        EXPECT_FALSE(std::isnan(trail.particles->particles[j].position[1]));
    }
    spline_free(&path);
}

TEST(pathway, walk_over_an_empty_pool_only_moves_the_emitter_to_the_start) {
    spline path = straight_path(10, 10);
    trail_holder holder(0);
    pathway_instance& trail = holder.trail;
    trail.emitter[0] = 99;
    pathway_emit(&trail, &path, 10, 3);
    EXPECT_EQ(trail.emitter[0], 0);
    EXPECT_EQ(trail.next_particle, 0);
    spline_free(&path);
}

// ---------------------------------------------------------------------------
// gen3Dimage
// ---------------------------------------------------------------------------

TEST(image3d, alpha_moves_linearly_and_is_not_clamped) {
    const float params[7] = {1, 1, 0, 0, 0, 0.2f, 1.0f};
    const float still[7] = {1, 1, 0, 0, 0, 0, 0};
    const struct {
        const float* params;
        float t, d, alpha;
    } cases[] = {
        {params, 0, 4, 0.2f}, {params, 2, 4, 0.6f}, {params, 4, 4, 1.0f}, {params, 5, 4, 1.2f},
        {still, 3, 4, 0},
    };
    for (const auto& c : cases) EXPECT_NEAR(image3d_alpha(c.params, c.t, c.d), c.alpha, 1e-6) << c.t;
}

// ---------------------------------------------------------------------------
// The checks each init makes before it touches a texture
// ---------------------------------------------------------------------------

struct init_case {
    const char* name;
    void (*init)();
    int params;
    std::vector<const char*> strings;
    int splines;
    float rate;  // params[0]
    const char* message;
};

TEST(fxpart_init, missing_or_unusable_inputs_stop_with_the_section_line) {
    const init_case cases[] = {
        {"particletex few params", particletex_init, 7, {"a.tga", "b.tga"}, 0, 1,
         "genParticletex: section at line 9 needs 8 params, has 7"},
        {"particletex one string", particletex_init, 8, {"a.tga"}, 0, 1,
         "genParticletex: Script: Two strings are needed in genParticletex section, line 9"},
        {"particletex three strings", particletex_init, 8, {"a.tga", "b.tga", "c.tga"}, 0, 1,
         "genParticletex: Script: Two strings are needed in genParticletex section, line 9"},
        {"particletex unknown picture kind", particletex_init, 8, {"picture.gif", "b.tga"}, 0, 1,
         "Error loading texture picture.gif"},
        {"pathway no spline", pathway_init, 5, {"s.tga"}, 0, 10,
         "genPathway: section at line 9 needs 1 splines, has 0"},
        {"pathway no sprite", pathway_init, 5, {}, 1, 10,
         "genPathway: section at line 9 needs 1 strings, has 0"},
        {"pathway few params", pathway_init, 4, {"s.tga"}, 1, 10,
         "genPathway: section at line 9 needs 5 params, has 4"},
        {"pathway zero rate", pathway_init, 5, {"s.tga"}, 1, 0,
         "genPathway: section at line 9 needs a positive emission rate (param 1), has 0"},
        {"pathway negative rate", pathway_init, 5, {"s.tga"}, 1, -2.5f,
         "genPathway: section at line 9 needs a positive emission rate (param 1), has -2.5"},
        {"pathway NaN rate", pathway_init, 5, {"s.tga"}, 1, NaN,
         "genPathway: section at line 9 needs a positive emission rate (param 1), has nan"},
        {"pathway unknown sprite kind", pathway_init, 5, {"sprite.gif"}, 1, 10,
         "Error loading texture sprite.gif"},
        {"image3d no picture", image3d_init, 7, {}, 0, 1,
         "gen3Dimage: section at line 9 needs 1 strings, has 0"},
        {"image3d few params", image3d_init, 6, {"a.tga"}, 0, 1,
         "gen3Dimage: section at line 9 needs 7 params, has 6"},
        {"image3d unknown picture kind", image3d_init, 7, {"banner.Tga"}, 0, 1,
         "gen3Dimage: Error loading texture banner.Tga"},
    };
    for (const init_case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<section> s(new section());
        s->line = 9;
        s->start = 0;
        s->end = s->duration = 2;
        s->param_count = c.params;
        for (int i = 0; i < c.params; ++i) s->params[i] = 1;
        s->params[0] = c.rate;
        for (const char* name : c.strings) s->strings[s->string_count++] = const_cast<char*>(name);
        s->spline_count = c.splines;
        current_section = s.get();
        EXPECT_EQ(fatal_message(c.init), c.message);
        EXPECT_EQ(s->instance_data, nullptr);
        current_section = nullptr;
    }
}

}  // namespace
