// The model parser and loader on hand-built chunks (axis change, materials,
// colours, percentages, long names), every corrupt shape it must refuse with
// a reason, and the normals.
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
#include "assetlib/model_writer.h"
#include "assetlib/models.h"

namespace {

struct parsed {
    model* m = nullptr;
    std::string error;
    explicit parsed(const std::vector<unsigned char>& bytes) { m = model_parse(bytes.data(), bytes.size(), &error); }
    ~parsed() { model_free(m); }
    model* operator->() const { return m; }
};

const std::vector<float> TRIANGLE = {0, 0, 0, 1, 0, 0, 0, 1, 0};

// ---------------------------------------------------------------------------
// Well-formed files
// ---------------------------------------------------------------------------

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
    const model_vertex* v = o.vertices;
    EXPECT_EQ(std::vector<float>({v[0].x, v[0].y, v[0].z, v[1].x, v[1].y, v[1].z}), std::vector<float>({1, 3, -2, -4, -6, -5}));
    EXPECT_EQ(o.vertices[0].weight, 0) << "normals are not the parser's job";
    EXPECT_EQ(o.faces[0].flags, 7);
    EXPECT_EQ(o.faces[0].material, nullptr);
}

// Byte and float colours, integer and float percentages, the last colour
// sub-chunk winning, the first map's name.
TEST(model_parse, materials_read_colours_percentages_and_the_map_name) {
    chunk_bytes c;
    c.begin(0xAFFF).begin(0xA000).str("rich").end();
    c.begin(0xA010).begin(0x0011).u8(255).u8(0).u8(51).end().begin(0x0012).u8(0).u8(255).u8(102).end().end();
    c.begin(0xA020).begin(0x0013).f32(0.25f).f32(0.5f).f32(0.75f).end().end();
    c.begin(0xA040).begin(0x0030).u16(50).end().end();
    c.begin(0xA041).begin(0x0031).f32(50).end().end();
    c.begin(0xA200).begin(0x0030).u16(100).end().begin(0xA300).str("wood.JPG").end().end();
    c.end();
    parsed p(model_file(c));
    ASSERT_NE(p.m, nullptr) << p.error;
    const model_material* m = p->materials;
    EXPECT_EQ(std::vector<float>({m->ambient[0], m->ambient[1], m->ambient[2], m->diffuse[0], m->diffuse[2]}),
              std::vector<float>({0, 1, 0.4f, 0.25f, 0.75f}));
    EXPECT_FLOAT_EQ(m->shininess, 0.5f) << "an integer percentage is divided by 100";
    EXPECT_FLOAT_EQ(m->shininess_strength, 50.0f) << "a float percentage is kept as read";
    EXPECT_STREQ(m->map_name, "wood.JPG");
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
    cases.push_back({"face group names a face beyond the list", with_object([](chunk_bytes& c) {
                         c.vertices(TRIANGLE).faces_begin({0, 1, 2}).group("m", {0, 1}).end();
                     }), "names face 1 of 1"});
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
        EXPECT_HAS(p.error, c.reason);
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

TEST(model_load, missing_and_invalid_files_give_null_and_a_reason) {
    temp_dir dir;
    const std::string directory = dir.path + "/";
    EXPECT_EQ(model_load(directory.c_str(), "absent.3ds"), nullptr);
    EXPECT_NE(std::string(model_last_error()).find("absent.3ds"), std::string::npos) << model_last_error();
    dir.write("text.3ds", "not a model at all");
    EXPECT_EQ(model_load(directory.c_str(), "text.3ds"), nullptr);
    const std::string error = model_last_error();
    EXPECT_HAS(error, directory + "text.3ds: not a model");
}

}  // namespace
