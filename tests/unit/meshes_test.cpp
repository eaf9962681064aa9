// Procedural meshes and the model file writer: closed, outward-wound,
// non-degenerate geometry for every builder, gears that mesh, and the byte
// layout of written files with their limits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <tuple>

#include "tests/test_support.h"
#include "tools/assets/meshes.h"
#include "tools/assets/model_writer.h"
#include "tools/assets/models.h"

// ---------------------------------------------------------------------------
// Geometry checks
// ---------------------------------------------------------------------------

typedef std::tuple<float, float, float> point_key;

// Vertex ids after merging vertices at exactly the same position (the
// builders split vertices at hard edges and seams but copy their positions).
static std::vector<int> weld(const mesh_object& o) {
    std::map<point_key, int> ids;
    std::vector<int> out;
    for (const mesh_vec3& v : o.vertices) {
        auto it = ids.emplace(point_key(v.x, v.y, v.z), static_cast<int>(ids.size())).first;
        out.push_back(it->second);
    }
    return out;
}

// Empty when every directed edge (after welding) is used exactly once and its
// reverse exactly once: closed, and consistently wound.
static std::string check_closed(const mesh_object& o) {
    std::vector<int> id = weld(o);
    std::map<std::pair<int, int>, int> directed;
    for (const mesh_triangle& t : o.triangles) {
        int v[3] = {id[t.a], id[t.b], id[t.c]};
        for (int e = 0; e < 3; ++e) ++directed[{v[e], v[(e + 1) % 3]}];
    }
    for (const auto& edge : directed) {
        auto back = directed.find({edge.first.second, edge.first.first});
        if (edge.second != 1 || back == directed.end() || back->second != 1)
            return "edge " + std::to_string(edge.first.first) + "-" + std::to_string(edge.first.second) +
                   " used " + std::to_string(edge.second) + " times, reverse " +
                   std::to_string(back == directed.end() ? 0 : back->second);
    }
    return "";
}

static double signed_volume(const mesh_object& o) {
    double sum = 0;
    for (const mesh_triangle& t : o.triangles) {
        const mesh_vec3 &a = o.vertices[t.a], &b = o.vertices[t.b], &c = o.vertices[t.c];
        sum += a.x * (double(b.y) * c.z - double(b.z) * c.y) - a.y * (double(b.x) * c.z - double(b.z) * c.x) +
               a.z * (double(b.x) * c.y - double(b.y) * c.x);
    }
    return sum / 6;
}

static double twice_area(const mesh_object& o, const mesh_triangle& t) {
    const mesh_vec3 &a = o.vertices[t.a], &b = o.vertices[t.b], &c = o.vertices[t.c];
    double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z, wx = c.x - a.x, wy = c.y - a.y, wz = c.z - a.z;
    double nx = uy * wz - uz * wy, ny = uz * wx - ux * wz, nz = ux * wy - uy * wx;
    return std::sqrt(nx * nx + ny * ny + nz * nz);
}

struct bounds {
    mesh_vec3 low{1e9f, 1e9f, 1e9f}, high{-1e9f, -1e9f, -1e9f};
};

static bounds bounds_of(const mesh_object& o, bool radial) {
    bounds b;
    for (mesh_vec3 v : o.vertices) {
        if (radial) v.x = v.z = std::hypot(v.x, v.z);
        b.low = {std::fmin(b.low.x, v.x), std::fmin(b.low.y, v.y), std::fmin(b.low.z, v.z)};
        b.high = {std::fmax(b.high.x, v.x), std::fmax(b.high.y, v.y), std::fmax(b.high.z, v.z)};
    }
    return b;
}

struct mesh_case {
    const char* name;
    std::function<mesh_object()> build;
    bool uvs;
    mesh_vec3 low, high;  // expected bounds; with `radial`, x and z hold the
    float tolerance;      // least and greatest distance from the Y axis
    bool radial;
};

static std::vector<mesh_case> mesh_cases() {
    gear_params small;
    small.teeth = 8, small.module = 0.5f, small.thickness = 0.3f, small.bore = 0.5f;
    gear_params big;
    big.teeth = 40, big.module = 0.05f, big.thickness = 0.1f, big.bore = 0.3f;
    torus_knot_params trefoil;
    torus_knot_params cinquefoil;
    cinquefoil.p = 2, cinquefoil.q = 5, cinquefoil.segments = 300, cinquefoil.sides = 8;
    column_params column;
    cube_cluster_params cubes;
    return {
        // Tip radius: 0.5 * 8 / 2 + 0.5 = 2.5; a tooth at +X reaches it.
        {"gear 8 teeth", [=] { return mesh_build_gear(small, "g"); }, false, {-2.5f, -0.15f, -2.5f},
         {2.5f, 0.15f, 2.5f}, 0.05f, false},
        {"gear 40 teeth", [=] { return mesh_build_gear(big, "g"); }, false, {-1.05f, -0.05f, -1.05f},
         {1.05f, 0.05f, 1.05f}, 0.01f, false},
        // The curve keeps 1/3 to 1 from the axis and +-1/3 in height; the tube
        // adds 0.15 on every side.
        {"trefoil knot", [=] { return mesh_build_torus_knot(trefoil, "k"); }, true, {0.183f, -0.483f, 0.183f},
         {1.15f, 0.483f, 1.15f}, 0.01f, true},
        {"2,5 knot", [=] { return mesh_build_torus_knot(cinquefoil, "k"); }, true, {0.183f, -0.483f, 0.183f},
         {1.15f, 0.483f, 1.15f}, 0.02f, true},
        // Abacus half width 1.5 * 0.4 = 0.6; height 4 centred on the origin.
        {"column", [=] { return mesh_build_column(column, "c"); }, true, {-0.6f, -2, -0.6f}, {0.6f, 2, 0.6f}, 1e-4f,
         false},
        // Grid radius 3 at 0.5: the cubes at +-1.5 with half size up to 0.2.
        {"cube cluster", [=] { return mesh_build_cube_cluster(cubes, "c").mesh; }, false, {-1.7f, -1.7f, -1.7f},
         {1.7f, 1.7f, 1.7f}, 0.07f, false},
    };
}

TEST(Meshes, ClosedOutwardAndWellFormed) {
    for (const mesh_case& c : mesh_cases()) {
        SCOPED_TRACE(c.name);
        mesh_object o = c.build();
        ASSERT_GT(o.triangles.size(), 0u);
        ASSERT_LE(o.vertices.size(), size_t(MODEL_COUNT_MAX));
        const int n = static_cast<int>(o.vertices.size());
        double smallest = 1e9;
        for (const mesh_triangle& t : o.triangles) {
            ASSERT_TRUE(t.a >= 0 && t.a < n && t.b >= 0 && t.b < n && t.c >= 0 && t.c < n);
            smallest = std::fmin(smallest, twice_area(o, t));
        }
        EXPECT_GT(smallest, 1e-7) << "degenerate triangle";
        EXPECT_EQ(check_closed(o), "");
        EXPECT_GT(signed_volume(o), 0) << "wound inward";
        EXPECT_EQ(o.uvs.size(), c.uvs ? o.vertices.size() : 0u);
        bounds b = bounds_of(o, c.radial);
        EXPECT_NEAR(b.low.x, c.low.x, c.tolerance);
        EXPECT_NEAR(b.low.y, c.low.y, c.tolerance);
        EXPECT_NEAR(b.low.z, c.low.z, c.tolerance);
        EXPECT_NEAR(b.high.x, c.high.x, c.tolerance);
        EXPECT_NEAR(b.high.y, c.high.y, c.tolerance);
        EXPECT_NEAR(b.high.z, c.high.z, c.tolerance);
    }
}

// Smooth surfaces share vertices: the knot tube has one vertex per grid point
// (plus the seam copies), not one per triangle corner.
TEST(Meshes, SmoothSurfacesShareVertices) {
    torus_knot_params k;
    mesh_object knot = mesh_build_torus_knot(k, "k");
    EXPECT_EQ(knot.vertices.size(), size_t((k.segments + 1) * (k.sides + 1)));
    EXPECT_EQ(knot.triangles.size(), size_t(2 * k.segments * k.sides));
    for (const mesh_uv& uv : knot.uvs) {
        EXPECT_GE(uv.u, 0);
        EXPECT_LE(uv.u, k.u_repeat);
        EXPECT_GE(uv.v, 0);
        EXPECT_LE(uv.v, 1);
    }
}

// ---------------------------------------------------------------------------
// Gears
// ---------------------------------------------------------------------------

// Teeth counted from the outline: the distinct angles at the tip radius come
// in pairs (the two corners of a tooth), and the gaps between pairs are the
// long ones.
static int count_teeth(const gear_params& g) {
    std::vector<double> angles;
    for (const mesh_uv& p : gear_outline(g))
        if (std::hypot(p.u, p.v) > gear_tip_radius(g) - 1e-4) angles.push_back(std::atan2(p.v, p.u));
    std::sort(angles.begin(), angles.end());
    if (angles.size() < 2) return static_cast<int>(angles.size());
    double mean = 2 * M_PI / angles.size();
    int long_gaps = 0;
    for (size_t i = 0; i < angles.size(); ++i) {
        double next = i + 1 < angles.size() ? angles[i + 1] : angles[0] + 2 * M_PI;
        if (next - angles[i] > mean) ++long_gaps;
    }
    return long_gaps;
}

TEST(Gears, RadiiAndToothCount) {
    struct row { int teeth; float module, pitch, tip, root; } rows[] = {
        {8, 0.5f, 2.0f, 2.5f, 1.375f}, {16, 0.1f, 0.8f, 0.9f, 0.675f}, {31, 0.2f, 3.1f, 3.3f, 2.85f},
        {60, 0.05f, 1.5f, 1.55f, 1.4375f},
    };
    for (const row& r : rows) {
        gear_params g;
        g.teeth = r.teeth, g.module = r.module;
        EXPECT_FLOAT_EQ(gear_pitch_radius(g), r.pitch);
        EXPECT_FLOAT_EQ(gear_tip_radius(g), r.tip);
        EXPECT_FLOAT_EQ(gear_root_radius(g), r.root);
        EXPECT_EQ(count_teeth(g), r.teeth);
        mesh_object o = mesh_build_gear(g, "g");
        double top = 0;
        for (const mesh_vec3& v : o.vertices) top = std::fmax(top, std::hypot(v.x, v.z));
        EXPECT_NEAR(top, r.tip, 1e-4);
    }
}

static bool inside_polygon(const std::vector<mesh_uv>& poly, double x, double y) {
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        double xi = poly[i].u, yi = poly[i].v, xj = poly[j].u, yj = poly[j].v;
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
}

// Two wheels of one module at the sum of their pitch radii, the second turned
// half a pitch so that a gap faces the first wheel's tooth, then both turned
// in step over a whole pitch: their outlines overlap at no point, yet each
// wheel's teeth reach inside the other's tip circle.
TEST(Gears, NeighboursMeshWithoutOverlap) {
    struct row { int teeth1, teeth2; } rows[] = {{12, 20}, {16, 16}, {9, 31}, {24, 10}, {8, 8}, {60, 12}};
    for (const row& r : rows) {
        SCOPED_TRACE(std::to_string(r.teeth1) + "/" + std::to_string(r.teeth2));
        gear_params a, b;
        a.teeth = r.teeth1, b.teeth = r.teeth2;
        const double distance = gear_pitch_radius(a) + gear_pitch_radius(b);
        const std::vector<mesh_uv> outline_a = gear_outline(a), outline_b = gear_outline(b);
        const double pitch_a = 2 * M_PI / a.teeth, pitch_b = 2 * M_PI / b.teeth;
        int overlaps = 0;
        double deepest = 1e9;
        for (int step = 0; step < 48; ++step) {
            double turn_a = pitch_a * step / 48;
            double turn_b = M_PI - pitch_b / 2 - turn_a * a.teeth / b.teeth;
            // Points along b's outline edges, moved into a's turning frame.
            for (size_t i = 0; i < outline_b.size(); ++i) {
                const mesh_uv &p = outline_b[i], &q = outline_b[(i + 1) % outline_b.size()];
                for (int s = 0; s < 16; ++s) {
                    double f = s / 16.0, x = p.u + (q.u - p.u) * f, y = p.v + (q.v - p.v) * f;
                    double wx = distance + x * std::cos(turn_b) - y * std::sin(turn_b);
                    double wy = x * std::sin(turn_b) + y * std::cos(turn_b);
                    double ax = wx * std::cos(-turn_a) - wy * std::sin(-turn_a);
                    double ay = wx * std::sin(-turn_a) + wy * std::cos(-turn_a);
                    if (inside_polygon(outline_a, ax, ay)) ++overlaps;
                    deepest = std::fmin(deepest, std::hypot(ax, ay));
                }
            }
        }
        EXPECT_EQ(overlaps, 0);
        EXPECT_LT(deepest, gear_tip_radius(a) - 0.5 * a.module);
    }
}

// ---------------------------------------------------------------------------
// Writer
// ---------------------------------------------------------------------------

static unsigned u16_at(const std::vector<unsigned char>& b, size_t at) { return b[at] | (b[at + 1] << 8); }
static uint32_t u32_at(const std::vector<unsigned char>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24);
}
static float float_at(const std::vector<unsigned char>& b, size_t at) {
    uint32_t bits = u32_at(b, at);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

struct chunk_info {
    unsigned id;
    size_t at, length, depth;
};

// Bytes of each chunk's own data before its first sub-chunk, for the chunks
// the writer nests; the rest are leaves.
static size_t own_data(const std::vector<unsigned char>& b, unsigned id, size_t at) {
    size_t p = at + 6;
    switch (id) {
    case CHUNK_MAIN: case CHUNK_EDITOR: case CHUNK_MATERIAL: case CHUNK_TRIANGLES: case CHUNK_AMBIENT:
    case CHUNK_DIFFUSE: case CHUNK_SPECULAR: case CHUNK_SHININESS: case CHUNK_TEXTURE_MAP:
        return 6;
    case CHUNK_OBJECT:
        while (b[p]) ++p;
        return p + 1 - at;
    case CHUNK_FACES:
        return 8 + 8 * size_t(u16_at(b, p));
    default:
        return SIZE_MAX;
    }
}

// Walks the chunk tree; every chunk's sub-chunks must fill it exactly.
static void walk(const std::vector<unsigned char>& b, size_t at, size_t end, size_t depth,
                 std::vector<chunk_info>& out) {
    while (at < end) {
        ASSERT_LE(at + 6, end);
        chunk_info c{u16_at(b, at), at, u32_at(b, at + 2), depth};
        ASSERT_GE(c.length, 6u);
        ASSERT_LE(at + c.length, end) << std::hex << c.id;
        out.push_back(c);
        size_t own = own_data(b, c.id, at);
        if (own != SIZE_MAX) walk(b, at + own, at + c.length, depth + 1, out);
        at += c.length;
    }
    ASSERT_EQ(at, end);
}

static mesh_model tiny_model() {
    mesh_model m;
    mesh_material red;
    red.name = "red";
    red.diffuse = {1, 0, 0};
    red.shininess = 50;
    red.map = "red.tga";
    m.materials.push_back(red);
    mesh_object o;
    o.name = "tri";
    o.vertices = {{1, 2, 3}, {4, 5, 6}, {7, 8, 10}};
    o.triangles = {{0, 1, 2}};
    o.uvs = {{0, 0}, {1, 0}, {0, 1}};
    o.groups = {{"red", {0}}};
    m.objects.push_back(o);
    return m;
}

TEST(ModelWriter, ChunkTreeOfATinyModel) {
    std::vector<unsigned char> b = model_writer_encode(tiny_model(), "tiny.3ds");
    std::vector<chunk_info> chunks;
    walk(b, 0, b.size(), 0, chunks);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    std::vector<std::pair<unsigned, size_t>> want = {
        {CHUNK_MAIN, 0}, {CHUNK_EDITOR, 1}, {CHUNK_MATERIAL, 2}, {CHUNK_MATERIAL_NAME, 3},
        {CHUNK_AMBIENT, 3}, {CHUNK_COLOUR_FLOAT, 4}, {CHUNK_DIFFUSE, 3}, {CHUNK_COLOUR_FLOAT, 4},
        {CHUNK_SPECULAR, 3}, {CHUNK_COLOUR_FLOAT, 4}, {CHUNK_SHININESS, 3}, {CHUNK_PERCENT_INT, 4},
        {CHUNK_TEXTURE_MAP, 3}, {CHUNK_PERCENT_INT, 4}, {CHUNK_MAP_NAME, 4}, {CHUNK_OBJECT, 2},
        {CHUNK_TRIANGLES, 3}, {CHUNK_VERTICES, 4}, {CHUNK_FACES, 4}, {CHUNK_FACE_MATERIAL, 5}, {CHUNK_UVS, 4},
    };
    ASSERT_EQ(chunks.size(), want.size());
    std::map<unsigned, size_t> where;
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(chunks[i].id, want[i].first) << i;
        EXPECT_EQ(chunks[i].depth, want[i].second) << i;
        where.emplace(chunks[i].id, chunks[i].at);
    }
    EXPECT_EQ(chunks[0].length, b.size());
    // Leaf contents: names, the Z-up vertex order, faces, group, UVs.
    EXPECT_STREQ(reinterpret_cast<const char*>(&b[where[CHUNK_MATERIAL_NAME] + 6]), "red");
    EXPECT_STREQ(reinterpret_cast<const char*>(&b[where[CHUNK_MAP_NAME] + 6]), "red.tga");
    EXPECT_EQ(u16_at(b, where[CHUNK_PERCENT_INT] + 6), 50u);
    size_t v = where[CHUNK_VERTICES] + 6;
    EXPECT_EQ(u32_at(b, v - 4), 6u + 2 + 36);
    EXPECT_EQ(u16_at(b, v), 3u);
    const float file_xyz[9] = {1, -3, 2, 4, -6, 5, 7, -10, 8};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(float_at(b, v + 2 + 4 * i), file_xyz[i]) << i;
    size_t f = where[CHUNK_FACES] + 6;
    EXPECT_EQ(u16_at(b, f), 1u);
    EXPECT_EQ(u16_at(b, f + 2) + u16_at(b, f + 4) * 10 + u16_at(b, f + 6) * 100, 210u);
    size_t g = where[CHUNK_FACE_MATERIAL] + 6;
    EXPECT_STREQ(reinterpret_cast<const char*>(&b[g]), "red");
    EXPECT_EQ(u16_at(b, g + 4), 1u);
    EXPECT_EQ(u16_at(b, g + 6), 0u);
    size_t uv = where[CHUNK_UVS] + 6;
    EXPECT_EQ(u16_at(b, uv), 3u);
    EXPECT_EQ(float_at(b, uv + 2 + 8), 1.0f);
    EXPECT_EQ(float_at(b, uv + 2 + 20), 1.0f);
}

TEST(ModelWriter, RefusesWhatTheFileCannotHold) {
    struct row { const char* name; std::function<void(mesh_model&)> spoil; const char* message; } rows[] = {
        {"vertices", [](mesh_model& m) { m.objects[0].vertices.resize(65536); m.objects[0].uvs.clear(); },
         "bad.3ds: object 'tri' has 65536 vertices, more than 65535"},
        {"faces", [](mesh_model& m) { m.objects[0].triangles.resize(65536); },
         "bad.3ds: object 'tri' has 65536 faces, more than 65535"},
        {"uvs", [](mesh_model& m) { m.objects[0].uvs.pop_back(); },
         "bad.3ds: object 'tri' has 2 texture coordinates for 3 vertices"},
        {"index", [](mesh_model& m) { m.objects[0].triangles[0].c = 3; },
         "bad.3ds: object 'tri' has a face (0, 1, 3) outside its 3 vertices"},
        {"material", [](mesh_model& m) { m.objects[0].groups[0].material = "blue"; },
         "bad.3ds: object 'tri' uses unknown material 'blue'"},
        {"group face", [](mesh_model& m) { m.objects[0].groups[0].faces = {1}; },
         "bad.3ds: object 'tri' material group 'red' names face 1 of 1"},
        {"name", [](mesh_model& m) { m.objects[0].name = std::string(64, 'n'); },
         "is longer than 63 characters"},
        {"shininess", [](mesh_model& m) { m.materials[0].shininess = 101; },
         "bad.3ds: material 'red' has shininess 101%, outside 0..100"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        mesh_model m = tiny_model();
        r.spoil(m);
        catch_fatal guard;
        try {
            model_writer_encode(m, "bad.3ds");
            ADD_FAILURE() << "accepted";
        } catch (const fatal_exception& e) {
            EXPECT_NE(std::string(e.what()).find(r.message), std::string::npos) << e.what();
        }
    }
    // Exactly at the limit is fine.
    mesh_model m = tiny_model();
    m.objects[0].vertices.resize(65535);
    m.objects[0].uvs.resize(65535);
    std::vector<unsigned char> b = model_writer_encode(m, "ok.3ds");
    std::vector<chunk_info> chunks;
    walk(b, 0, b.size(), 0, chunks);
    bool found = false;
    for (const chunk_info& c : chunks)
        if (c.id == CHUNK_VERTICES) {
            found = true;
            EXPECT_EQ(u16_at(b, c.at + 6), 65535u);
            EXPECT_EQ(c.length, 8u + 65535u * 12);
        }
    EXPECT_TRUE(found);
}

// The shipped models: every face in exactly one material group, textured
// models with one UV per vertex, and the same bytes on every run.
TEST(GeneratedModels, GroupsCoverFacesAndOutputIsStable) {
    struct row { const char* name; mesh_model (*make)(); bool textured; } rows[] = {
        {"gear", models_gear, false}, {"knot", models_torus_knot, true},
        {"column", models_column, true}, {"cubes", models_cubes, false},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        mesh_model m = r.make();
        ASSERT_EQ(m.objects.size(), 1u);
        const mesh_object& o = m.objects[0];
        std::vector<int> seen(o.triangles.size(), 0);
        for (const mesh_face_group& g : o.groups)
            for (int f : g.faces) ++seen[f];
        for (size_t f = 0; f < seen.size(); ++f) ASSERT_EQ(seen[f], 1) << "face " << f;
        EXPECT_EQ(!o.uvs.empty(), r.textured);
        bool has_map = false;
        for (const mesh_material& mat : m.materials) has_map |= !mat.map.empty();
        EXPECT_EQ(has_map, r.textured);
        EXPECT_EQ(check_closed(o), "");
        EXPECT_EQ(model_writer_encode(m, "a"), model_writer_encode(r.make(), "a"));
    }
    EXPECT_EQ(models_marble_map().pixels, models_marble_map().pixels);
}
