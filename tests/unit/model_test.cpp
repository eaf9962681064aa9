// The model parser and loader on hand-built chunks (axis change, materials,
// colours, percentages, face groups, skipped sections), every corrupt shape
// it must refuse with a reason, the normals, and the generator's models read
// back.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "resources/model.h"
#include "resources/texture.h"
#include "tests/image_writers.h"
#include "tests/model_chunks.h"
#include "tests/test_support.h"
#include "tools/assets/model_writer.h"
#include "tools/assets/models.h"

namespace {

struct parsed {
    model* m = nullptr;
    std::string error;
    explicit parsed(const std::vector<unsigned char>& bytes) { m = model_parse(bytes.data(), bytes.size(), &error); }
    ~parsed() { model_free(m); }
    model* operator->() const { return m; }
};

const std::vector<float> TRIANGLE = {0, 0, 0, 1, 0, 0, 0, 1, 0};

model_material* find(model* m, const char* name) {
    for (model_material* mat = m->materials; mat; mat = mat->next)
        if (std::string(mat->name) == name) return mat;
    return nullptr;
}

// ---------------------------------------------------------------------------
// Well-formed files
// ---------------------------------------------------------------------------

TEST(model_parse, a_file_without_the_main_chunk_is_refused) {
    chunk_bytes c;
    c.begin(0x3D3D);
    mesh_object_chunk(c, "o", TRIANGLE, {0, 1, 2});
    c.end();
    parsed p(c.b);
    EXPECT_EQ(p.m, nullptr);
    EXPECT_NE(p.error.find("0x3D3D"), std::string::npos) << p.error;
}

TEST(model_parse, positions_turn_from_z_up_to_y_up) {
    chunk_bytes c;
    mesh_object_chunk(c, "box", {1, 2, 3, -4, 5, -6, 0, 0, 0}, {0, 1, 2});
    parsed p(model_file(c));
    ASSERT_NE(p.m, nullptr) << p.error;
    ASSERT_EQ(p->object_count, 1);
    const model_object& o = p->objects[0];
    EXPECT_STREQ(o.name, "box");
    ASSERT_EQ(o.vertex_count, 3);
    EXPECT_EQ(o.face_count, 1);
    EXPECT_EQ(o.vertices[0].x, 1);
    EXPECT_EQ(o.vertices[0].y, 3);
    EXPECT_EQ(o.vertices[0].z, -2);
    EXPECT_EQ(o.vertices[1].x, -4);
    EXPECT_EQ(o.vertices[1].y, -6);
    EXPECT_EQ(o.vertices[1].z, -5);
    EXPECT_EQ(o.vertices[0].weight, 0) << "normals are not the parser's job";
    EXPECT_EQ(o.faces[0].flags, 7);
    EXPECT_EQ(o.faces[0].material, nullptr);
}

TEST(model_parse, materials_keep_their_defaults_colours_and_first_map) {
    chunk_bytes c;
    c.begin(0xAFFF).begin(0xA000).str("plain").end().end();
    c.begin(0xAFFF).begin(0xA000).str("rich").end();
    c.begin(0xA010).begin(0x0011).u8(255).u8(0).u8(51).end().begin(0x0012).u8(0).u8(255).u8(102).end().end();
    c.begin(0xA030).begin(0x0012).u8(1).u8(2).u8(3).end().begin(0x0011).u8(255).u8(255).u8(0).end().end();
    c.begin(0xA020).begin(0x0013).f32(0.25f).f32(0.5f).f32(0.75f).end().end();
    c.begin(0xA040).begin(0x0030).u16(50).end().end();
    c.begin(0xA041).begin(0x0031).f32(50).end().end();
    c.begin(0xA050).begin(0x0030).u16(10).end().begin(0x0031).f32(0.3f).end().end();
    c.begin(0xA081).end();
    c.begin(0xA300).str("outside.jpg").end();  // a map name outside any map: still the material's
    c.begin(0xA204).begin(0xA300).str("bump.jpg").end().end();  // another kind of map: skipped
    c.begin(0xA200).begin(0x0030).u16(100).end().begin(0xA300).str("wood.JPG").end();
    c.begin(0xA351).u16(0x10).end().begin(0xA354).f32(2).end().begin(0xA356).f32(3).end();
    c.begin(0xA358).f32(0.5f).end().begin(0xA35A).f32(0.25f).end().begin(0xA35C).f32(45).end();
    c.end().end();
    parsed p(model_file(c));
    ASSERT_NE(p.m, nullptr) << p.error;
    model_material* rich = p->materials;
    ASSERT_NE(rich, nullptr);
    EXPECT_STREQ(rich->name, "rich") << "newest first";
    model_material* plain = rich->next;
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->previous, rich);
    EXPECT_EQ(plain->next, nullptr);

    EXPECT_EQ(plain->texture, -1);
    EXPECT_STREQ(plain->map_name, "");
    EXPECT_EQ(plain->diffuse[1], 1);
    EXPECT_EQ(plain->ambient[0], 0);
    EXPECT_EQ(plain->shininess, 1);
    EXPECT_EQ(plain->map_u_scale, 1);
    EXPECT_EQ(plain->two_sided, 0);

    // The colour sub-chunk that comes last wins, whichever kind it is.
    EXPECT_FLOAT_EQ(rich->ambient[0], 0);
    EXPECT_FLOAT_EQ(rich->ambient[1], 1);
    EXPECT_FLOAT_EQ(rich->ambient[2], 0.4f);
    EXPECT_FLOAT_EQ(rich->specular[0], 1);
    EXPECT_FLOAT_EQ(rich->specular[2], 0);
    EXPECT_FLOAT_EQ(rich->diffuse[0], 0.25f);
    EXPECT_FLOAT_EQ(rich->diffuse[2], 0.75f);
    EXPECT_FLOAT_EQ(rich->shininess, 0.5f) << "an integer percentage is divided by 100";
    EXPECT_FLOAT_EQ(rich->shininess_strength, 50.0f) << "a float percentage is kept as read";
    EXPECT_FLOAT_EQ(rich->transparency, 0.3f);
    EXPECT_EQ(rich->two_sided, 1);
    EXPECT_STREQ(rich->map_name, "wood.JPG");
    EXPECT_EQ(rich->texture, -1) << "parsing loads no texture";
    EXPECT_EQ(rich->map_tiling, 0x10);
    EXPECT_EQ(rich->map_u_scale, 2);
    EXPECT_EQ(rich->map_v_scale, 3);
    EXPECT_EQ(rich->map_u_offset, 0.5f);
    EXPECT_EQ(rich->map_v_offset, 0.25f);
    EXPECT_EQ(rich->map_rotation, 45);
}

TEST(model_parse, an_empty_colour_chunk_gives_black) {
    chunk_bytes c;
    c.begin(0xAFFF).begin(0xA000).str("m").end().begin(0xA020).end().begin(0xA040).end().end();
    parsed p(model_file(c));
    ASSERT_NE(p.m, nullptr) << p.error;
    EXPECT_EQ(p->materials->diffuse[0], 0);
    EXPECT_EQ(p->materials->shininess, 0);
}

TEST(model_parse, face_groups_inside_the_face_list_are_applied_and_what_follows_is_skipped_or_read) {
    chunk_bytes c;
    c.material("red", 1, 0, 0).material("blue", 0, 0, 1).material("red", 1, 0.5f, 0);
    c.begin(0x4000).str("quads").begin(0x4100);
    c.vertices({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0});
    c.begin(0x4160).f32(1).f32(2).f32(3).end();  // mesh matrix, skipped
    c.faces_begin({0, 1, 2, 0, 2, 3, 1, 2, 3});
    c.group("red", {0}).group("blue", {2}).group("nothing", {1});
    c.begin(0x4150).u32(1).u32(1).u32(1).end();  // smoothing groups
    c.end();
    c.begin(0x4140).u16(4).f32(0).f32(0).f32(1).f32(0).f32(1).f32(1).f32(0).f32(1).end();
    c.begin(0x4165).u8(9).end();
    c.end().end();
    parsed p(model_file(c));
    ASSERT_NE(p.m, nullptr) << p.error;
    const model_object& o = p->objects[0];
    ASSERT_EQ(o.face_count, 3);
    ASSERT_NE(o.faces[0].material, nullptr);
    EXPECT_STREQ(o.faces[0].material->name, "red");
    EXPECT_FLOAT_EQ(o.faces[0].material->diffuse[1], 0.5f) << "the later material of that name";
    EXPECT_EQ(o.faces[0].material, p->materials);
    ASSERT_NE(o.faces[2].material, nullptr);
    EXPECT_STREQ(o.faces[2].material->name, "blue");
    EXPECT_EQ(o.faces[1].material, nullptr) << "an unknown material leaves the face without one";
    ASSERT_EQ(o.uv_count, 4);
    EXPECT_EQ(o.uvs[2][0], 1);
    EXPECT_EQ(o.uvs[3][1], 1);
    EXPECT_EQ(o.colour, 9);
}

TEST(model_parse, keyframer_lights_and_cameras_change_no_mesh) {
    chunk_bytes plain;
    mesh_object_chunk(plain, "o", TRIANGLE, {0, 1, 2});
    chunk_bytes extra = plain;
    extra.begin(0x4000).str("lamp").begin(0x4600).f32(1).f32(2).f32(3).end().end();
    std::vector<unsigned char> with_keyframer = model_file(extra);
    chunk_bytes kf;
    kf.begin(0xB000).begin(0xB00A).u16(5).str("x").end().begin(0xB002).begin(0xB010).str("o").end().end().end();
    // The keyframer follows the editor inside the main chunk.
    with_keyframer.insert(with_keyframer.end(), kf.b.begin(), kf.b.end());
    uint32_t length = (uint32_t)with_keyframer.size();
    for (int i = 0; i < 4; ++i) with_keyframer[2 + i] = (unsigned char)(length >> (8 * i));

    parsed a(model_file(plain)), b(with_keyframer);
    ASSERT_NE(a.m, nullptr) << a.error;
    ASSERT_NE(b.m, nullptr) << b.error;
    ASSERT_EQ(b->object_count, 2) << "a light still adds an object";
    EXPECT_STREQ(b->objects[1].name, "lamp");
    EXPECT_EQ(b->objects[1].vertex_count, 0);
    EXPECT_EQ(b->objects[1].faces, nullptr);
    ASSERT_EQ(b->objects[0].vertex_count, a->objects[0].vertex_count);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(b->objects[0].vertices[i].y, a->objects[0].vertices[i].y);
}

TEST(model_parse, names_longer_than_63_characters_are_cut_and_the_walk_goes_on) {
    const std::string long_name(100, 'n');
    chunk_bytes c;
    c.material(long_name, 0, 1, 0);
    c.begin(0x4000).str(long_name).begin(0x4100).vertices(TRIANGLE).faces_begin({0, 1, 2});
    c.group(long_name, {0}).end().end().end();
    parsed p(model_file(c));
    ASSERT_NE(p.m, nullptr) << p.error;
    EXPECT_EQ(std::string(p->materials->name), long_name.substr(0, 63));
    EXPECT_EQ(std::string(p->objects[0].name), long_name.substr(0, 63));
    EXPECT_EQ(p->materials->diffuse[1], 1) << "the colour after the name was read";
    EXPECT_EQ(p->objects[0].faces[0].material, p->materials);
}

// ---------------------------------------------------------------------------
// Corrupt files
// ---------------------------------------------------------------------------

struct corrupt_case {
    const char* name;
    std::vector<unsigned char> bytes;
    const char* reason;  // a part of the message
};

std::vector<unsigned char> with_object(const std::function<void(chunk_bytes&)>& mesh) {
    chunk_bytes c;
    c.begin(0x4000).str("o").begin(0x4100);
    mesh(c);
    c.end().end();
    return model_file(c);
}

std::vector<corrupt_case> corrupt_cases() {
    std::vector<corrupt_case> cases;
    chunk_bytes small;
    small.header(0x4D4D, 3);
    cases.push_back({"main chunk shorter than its header", small.b, "shorter than its header"});
    chunk_bytes past;
    past.header(0x4D4D, 400).header(0x3D3D, 6);
    cases.push_back({"main chunk past the end of the data", past.b, "past the end of the data"});
    cases.push_back({"five bytes", {0x4D, 0x4D, 12, 0, 0}, "too few"});
    cases.push_back({"nothing", {}, "too few"});
    chunk_bytes zero;
    zero.begin(0x4D4D).header(0x3D3D, 0).end();
    cases.push_back({"sub-chunk of length 0", zero.b, "shorter than its header"});
    chunk_bytes child;
    child.begin(0x4D4D).header(0x3D3D, 60).u32(0).end();
    cases.push_back({"sub-chunk past its parent", child.b, "runs past its parent"});
    chunk_bytes cut;
    cut.begin(0x4D4D).u8(0x3D).u8(0x3D).u8(6).end();
    cases.push_back({"sub-chunk header cut", cut.b, "inside a sub-chunk header"});
    chunk_bytes name;
    name.begin(0x4000).text("nameless").end();
    cases.push_back({"object name without a terminator", model_file(name), "without a terminator"});
    chunk_bytes material_name;
    material_name.begin(0xAFFF).begin(0xA000).text("steel").end().end();
    cases.push_back({"material name without a terminator", model_file(material_name), "without a terminator"});
    cases.push_back({"vertex count beyond the chunk", with_object([](chunk_bytes& c) {
                         c.begin(0x4110).u16(3).f32(0).f32(0).f32(0).end();
                     }), "0x4110 ends inside its vertex list"});
    cases.push_back({"vertex count cut", with_object([](chunk_bytes& c) { c.begin(0x4110).u8(3).end(); }),
                     "vertex count"});
    cases.push_back({"face count beyond the chunk", with_object([](chunk_bytes& c) {
                         c.vertices(TRIANGLE).begin(0x4120).u16(2).u16(0).u16(1).u16(2).u16(0).end();
                     }), "0x4120 ends inside its face list"});
    cases.push_back({"uv count beyond the chunk", with_object([](chunk_bytes& c) {
                         c.begin(0x4140).u16(60000).f32(0).end();
                     }), "0x4140"});
    cases.push_back({"colour byte missing", with_object([](chunk_bytes& c) { c.begin(0x4165).end(); }),
                     "0x4165"});
    cases.push_back({"face uses a vertex beyond the list", with_object([](chunk_bytes& c) {
                         c.vertices(TRIANGLE).faces_begin({0, 1, 3}).end();
                     }), "face 0 uses vertex 3 of 3"});
    cases.push_back({"faces without vertices", with_object([](chunk_bytes& c) {
                         c.faces_begin({0, 0, 0}).end();
                     }), "uses vertex 0 of 0"});
    cases.push_back({"face group names a face beyond the list", with_object([](chunk_bytes& c) {
                         c.vertices(TRIANGLE).faces_begin({0, 1, 2}).group("m", {0, 1}).end();
                     }), "names face 1 of 1"});
    cases.push_back({"face group before any face", with_object([](chunk_bytes& c) {
                         c.vertices(TRIANGLE).group("m", {0});
                     }), "names face 0 of 0"});
    cases.push_back({"face group count beyond the chunk", with_object([](chunk_bytes& c) {
                         c.vertices(TRIANGLE).faces_begin({0, 1, 2}).begin(0x4130).str("m").u16(4).u16(0).end();
                         c.end();
                     }), "face group"});
    cases.push_back({"colour floats cut", [] {
                         chunk_bytes c;
                         c.begin(0xAFFF).begin(0xA020).begin(0x0010).f32(1).f32(1).end().end().end();
                         return model_file(c);
                     }(), "0x0010 ends inside its colour"});
    cases.push_back({"percentage cut", [] {
                         chunk_bytes c;
                         c.begin(0xAFFF).begin(0xA040).begin(0x0031).u16(1).end().end().end();
                         return model_file(c);
                     }(), "percentage"});
    chunk_bytes deep;
    for (int i = 0; i < 200; ++i) deep.begin(0x3D3D);
    for (int i = 0; i < 200; ++i) deep.end();
    cases.push_back({"editor chunks nested 200 deep", model_file(deep), "more than 64 deep"});
    return cases;
}

TEST(model_parse, corrupt_files_are_refused_with_a_reason) {
    for (const corrupt_case& c : corrupt_cases()) {
        SCOPED_TRACE(c.name);
        parsed p(c.bytes);
        EXPECT_EQ(p.m, nullptr);
        EXPECT_NE(p.error.find(c.reason), std::string::npos) << p.error;
    }
}

TEST(model_parse, every_cut_of_a_valid_file_is_refused_and_a_null_error_is_allowed) {
    std::vector<unsigned char> whole = model_writer_encode(models_cubes(), "cubes.3ds");
    parsed intact(whole);
    ASSERT_NE(intact.m, nullptr) << intact.error;
    for (size_t size = 0; size < whole.size(); size += 1 + size / 64) {
        // A copy of exactly `size` bytes, so a read past it is caught by ASan.
        std::vector<unsigned char> cut(whole.begin(), whole.begin() + size);
        std::string error;
        model* m = model_parse(cut.data(), cut.size(), &error);
        EXPECT_EQ(m, nullptr) << size;
        EXPECT_FALSE(error.empty()) << size;
        EXPECT_EQ(model_parse(cut.data(), cut.size(), nullptr), nullptr);
    }
}

// ---------------------------------------------------------------------------
// Normals
// ---------------------------------------------------------------------------

// An object from Y-up points and faces, its normals computed.
struct normals_of {
    parsed p;
    normals_of(const std::vector<float>& y_up, const std::vector<unsigned>& faces) : p(file(y_up, faces)) {
        model_compute_normals(p.m);
    }
    static std::vector<unsigned char> file(const std::vector<float>& y_up, const std::vector<unsigned>& faces) {
        std::vector<float> z_up;
        for (size_t i = 0; i < y_up.size(); i += 3) z_up.insert(z_up.end(), {y_up[i], -y_up[i + 2], y_up[i + 1]});
        chunk_bytes c;
        mesh_object_chunk(c, "o", z_up, faces);
        return model_file(c);
    }
    const model_object& o() const { return p->objects[0]; }
};

void expect_vec(float x, float y, float z, float ex, float ey, float ez) {
    EXPECT_NEAR(x, ex, 1e-6f);
    EXPECT_NEAR(y, ey, 1e-6f);
    EXPECT_NEAR(z, ez, 1e-6f);
}

TEST(model_normals, a_flat_pair_gives_every_vertex_the_plane_normal) {
    // Two triangles of the plane z = 0 sharing an edge, counter-clockwise seen from +z.
    normals_of n({0, 0, 0, 2, 0, 0, 2, 2, 0, 0, 2, 0}, {0, 1, 2, 0, 2, 3});
    ASSERT_NE(n.p.m, nullptr) << n.p.error;
    for (int i = 0; i < 4; ++i) {
        const model_vertex& v = n.o().vertices[i];
        expect_vec(v.nx, v.ny, v.nz, 0, 0, 1);
    }
    EXPECT_FLOAT_EQ(n.o().vertices[0].weight, 0.5f);
    EXPECT_FLOAT_EQ(n.o().vertices[1].weight, 1.0f);
    expect_vec(n.o().faces[1].nx, n.o().faces[1].ny, n.o().faces[1].nz, 0, 0, 1);
}

TEST(model_normals, a_right_angle_averages_without_renormalising) {
    // Face 0 in the plane x = 0 facing +x, face 1 in y = 0 facing +y; they share vertices 0 and 1.
    normals_of n({0, 0, 0, 0, 0, 1, 0, 1, 0, 1, 0, 0}, {0, 2, 1, 0, 1, 3});
    ASSERT_NE(n.p.m, nullptr) << n.p.error;
    const model_object& o = n.o();
    expect_vec(o.faces[0].nx, o.faces[0].ny, o.faces[0].nz, 1, 0, 0);
    expect_vec(o.faces[1].nx, o.faces[1].ny, o.faces[1].nz, 0, 1, 0);
    expect_vec(o.vertices[0].nx, o.vertices[0].ny, o.vertices[0].nz, 0.5f, 0.5f, 0);
    EXPECT_FLOAT_EQ(o.vertices[0].weight, 0.5f);
    EXPECT_NEAR(std::hypot(o.vertices[1].nx, o.vertices[1].ny), 0.7071f, 1e-4f);
    expect_vec(o.vertices[2].nx, o.vertices[2].ny, o.vertices[2].nz, 1, 0, 0);
}

TEST(model_normals, a_closed_cube_wound_outward_has_outward_normals) {
    // A cube of 8 shared vertices, two triangles a side, counter-clockwise
    // seen from outside: face normals point away from the centre, and so do
    // the corner normals.
    normals_of n({-1, -1, -1, 1, -1, -1, 1, 1, -1, -1, 1, -1, -1, -1, 1, 1, -1, 1, 1, 1, 1, -1, 1, 1},
                 {0, 3, 2, 0, 2, 1, 4, 5, 6, 4, 6, 7, 0, 1, 5, 0, 5, 4,
                  3, 7, 6, 3, 6, 2, 0, 4, 7, 0, 7, 3, 1, 2, 6, 1, 6, 5});
    ASSERT_NE(n.p.m, nullptr) << n.p.error;
    const model_object& o = n.o();
    for (int i = 0; i < o.face_count; ++i) {
        const model_face& f = o.faces[i];
        const model_vertex& a = o.vertices[f.a];
        const model_vertex& b = o.vertices[f.b];
        const model_vertex& c = o.vertices[f.c];
        const float cx = (a.x + b.x + c.x) / 3, cy = (a.y + b.y + c.y) / 3, cz = (a.z + b.z + c.z) / 3;
        EXPECT_GT(f.nx * cx + f.ny * cy + f.nz * cz, 0.6f) << "face " << i;
        EXPECT_NEAR(std::sqrt(f.nx * f.nx + f.ny * f.ny + f.nz * f.nz), 1, 1e-5f);
    }
    for (int i = 0; i < o.vertex_count; ++i) {
        const model_vertex& v = o.vertices[i];
        EXPECT_GT(v.nx * v.x + v.ny * v.y + v.nz * v.z, 0) << "vertex " << i;
        EXPECT_FLOAT_EQ(v.weight, i == 0 || i == 6 ? 1 / 6.0f : 1 / 4.0f) << "vertex " << i;
    }
}

TEST(model_normals, degenerate_faces_and_unused_vertices_give_zero_not_nan) {
    // Face 0 is proper; face 1 repeats a vertex; face 2 has three points on a
    // line; face 3's coordinates overflow the cross product; vertex 6 is unused.
    normals_of n({0, 0, 0, 1, 0, 0, 0, 1, 0, 2, 0, 0, 3, 0, 0, 1e30f, 0, 0, 5, 5, 5, 0, 1e30f, 0},
                 {0, 1, 2, 1, 1, 2, 0, 3, 4, 0, 5, 7});
    ASSERT_NE(n.p.m, nullptr) << n.p.error;
    const model_object& o = n.o();
    for (int i = 1; i < 4; ++i) expect_vec(o.faces[i].nx, o.faces[i].ny, o.faces[i].nz, 0, 0, 0);
    // Vertex 1 is in the proper face and the degenerate ones: only the proper one counts.
    expect_vec(o.vertices[1].nx, o.vertices[1].ny, o.vertices[1].nz, 0, 0, 1);
    EXPECT_FLOAT_EQ(o.vertices[1].weight, 1);
    for (int i : {3, 4, 5, 6, 7}) {
        SCOPED_TRACE(i);
        expect_vec(o.vertices[i].nx, o.vertices[i].ny, o.vertices[i].nz, 0, 0, 0);
        EXPECT_EQ(o.vertices[i].weight, 0);
    }
    // Computing twice gives the same result (sums restart from zero).
    model_compute_normals(n.p.m);
    EXPECT_FLOAT_EQ(o.vertices[1].nz, 1);
}

// ---------------------------------------------------------------------------
// The generator's models and files on disk
// ---------------------------------------------------------------------------

TEST(model_parse, the_generated_models_read_back_as_written) {
    const mesh_model sources[] = {models_gear(), models_torus_knot(), models_column(), models_cubes()};
    for (const mesh_model& source : sources) {
        SCOPED_TRACE(source.objects[0].name);
        parsed p(model_writer_encode(source, "m.3ds"));
        ASSERT_NE(p.m, nullptr) << p.error;
        ASSERT_EQ(p->object_count, (int)source.objects.size());
        for (size_t i = 0; i < source.objects.size(); ++i) {
            const mesh_object& want = source.objects[i];
            const model_object& got = p->objects[i];
            EXPECT_EQ(got.name, want.name);
            ASSERT_EQ(got.vertex_count, (int)want.vertices.size());
            ASSERT_EQ(got.face_count, (int)want.triangles.size());
            ASSERT_EQ(got.uv_count, (int)want.uvs.size());
            for (int v = 0; v < got.vertex_count; ++v) {
                ASSERT_EQ(got.vertices[v].x, want.vertices[v].x);
                ASSERT_EQ(got.vertices[v].y, want.vertices[v].y);
                ASSERT_EQ(got.vertices[v].z, want.vertices[v].z);
            }
            for (int f = 0; f < got.face_count; ++f) {
                ASSERT_EQ(got.faces[f].a, want.triangles[f].a);
                ASSERT_EQ(got.faces[f].c, want.triangles[f].c);
            }
            for (int u = 0; u < got.uv_count; ++u) ASSERT_EQ(got.uvs[u][1], want.uvs[u].v);
            for (const mesh_face_group& g : want.groups)
                for (int f : g.faces) {
                    ASSERT_NE(got.faces[f].material, nullptr);
                    ASSERT_EQ(got.faces[f].material->name, g.material);
                }
        }
        for (const mesh_material& want : source.materials) {
            model_material* got = find(p.m, want.name.c_str());
            ASSERT_NE(got, nullptr) << want.name;
            EXPECT_EQ(got->map_name, want.map);
            EXPECT_FLOAT_EQ(got->shininess, want.shininess / 100.0f);
            EXPECT_EQ(got->diffuse[0], want.diffuse.x);
            EXPECT_EQ(got->specular[2], want.specular.z);
        }
    }
}

TEST(model_load, maps_load_from_the_model_directory_in_file_order) {
    catch_fatal guard;
    temp_dir dir;
    write_bmp24(dir.file("b.bmp"), test_picture());
    write_bmp24(dir.file("a.bmp"), test_picture());
    chunk_bytes c;
    c.material("first", 1, 1, 1, "b.bmp").material("untextured", 1, 1, 1, "wood.GIF").material("second", 1, 1, 1, "a.bmp");
    mesh_object_chunk(c, "o", TRIANGLE, {0, 1, 2});
    std::vector<unsigned char> bytes = model_file(c);
    dir.write("m.3d", std::string(bytes.begin(), bytes.end()));

    const int before = texture_count;
    model* m = model_load((dir.path + "/").c_str(), "m.3d");
    ASSERT_NE(m, nullptr) << model_last_error();
    EXPECT_EQ(model_current(), m);
    model_material* first = find(m, "first");
    model_material* second = find(m, "second");
    EXPECT_EQ(first->texture, before);
    EXPECT_EQ(second->texture, before + 1);
    EXPECT_EQ(find(m, "untextured")->texture, -1);
    EXPECT_EQ(texture_count, before + 2);
    EXPECT_EQ(std::string(texture_table[first->texture]->name), dir.path + "/b.bmp");
    EXPECT_EQ(texture_table[first->texture]->gl_name, 0u) << "loading does not upload";
    EXPECT_FLOAT_EQ(m->objects[0].vertices[0].weight, 1) << "normals computed";
}

TEST(model_load, missing_and_invalid_files_give_null_and_a_reason) {
    temp_dir dir;
    const std::string directory = dir.path + "/";
    EXPECT_EQ(model_load(directory.c_str(), "absent.3ds"), nullptr);
    EXPECT_NE(std::string(model_last_error()).find("absent.3ds"), std::string::npos) << model_last_error();
    dir.write("text.3ds", "not a model at all");
    EXPECT_EQ(model_load(directory.c_str(), "text.3ds"), nullptr);
    const std::string error = model_last_error();
    EXPECT_NE(error.find(directory + "text.3ds: not a model"), std::string::npos) << error;
}

}  // namespace
