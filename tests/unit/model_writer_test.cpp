// The generator's model writer refuses a model the file format cannot hold,
// naming the file and what is wrong, and writes one at the limits that the
// player reads back.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "resources/model.h"
#include "tests/test_support.h"
#include "assetlib/model_writer.h"

namespace {

mesh_model tiny_model() {
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
        std::string error = fatal_message([&] { model_writer_encode(m, "bad.3ds"); });
        EXPECT_HAS(error, r.message);
    }
    // Exactly at the limit is fine, and the player reads it back.
    mesh_model m = tiny_model();
    m.objects[0].vertices.resize(65535);
    m.objects[0].uvs.resize(65535);
    std::vector<unsigned char> b = model_writer_encode(m, "ok.3ds");
    std::string error;
    model* parsed = model_parse(b.data(), b.size(), &error);
    ASSERT_NE(parsed, nullptr) << error;
    EXPECT_EQ(parsed->objects[0].vertex_count, 65535);
    model_free(parsed);
}

}  // namespace
