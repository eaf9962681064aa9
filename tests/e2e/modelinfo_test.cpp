// quillon-modelinfo run on a model file written by the test: the report of
// objects, bounds, materials and totals.
#include <gtest/gtest.h>

#include <string>

#include "tests/model_chunks.h"
#include "tests/test_support.h"
#include "assetlib/model_writer.h"

namespace {

TEST(modelinfo, reports_objects_bounds_materials_and_totals) {
    temp_dir dir;
    chunk_bytes c;
    c.material("first", 1, 1, 1, "here.bmp").material("plain", 1, 0, 0).material("second", 1, 1, 1, "gone.jpg");
    // File points (Z-up) (1, 2, 3), (-4, 0.5, -6), (0, 0, 0) are (1, 3, -2), (-4, -6, -0.5), (0, 0, 0) Y-up.
    mesh_object_chunk(c, "tri", {1, 2, 3, -4, 0.5f, -6, 0, 0, 0}, {0, 1, 2});
    c.begin(0x4000).str("lamp").begin(0x4600).f32(0).f32(0).f32(0).end().end();
    const std::vector<unsigned char> bytes = model_file(c);
    const std::string path = dir.write("scene.3ds", std::string(bytes.begin(), bytes.end()));
    dir.write("here.bmp", "only its presence is looked at");

    std::string out;
    EXPECT_EQ(run_command(built_binary("quillon-modelinfo") + " " + path, &out), 0) << out;
    EXPECT_EQ(out, "model " + path + "\n"
                   "object tri vertices 3 faces 1 uvs 0 bounds -4.0000 -6.0000 -2.0000 1.0000 3.0000 0.0000\n"
                   "object lamp vertices 0 faces 0 uvs 0 bounds 0.0000 0.0000 0.0000 0.0000 0.0000 0.0000\n"
                   "material first map here.bmp\n"
                   "material plain map -\n"
                   "material second map gone.jpg (missing)\n"
                   "total objects 2 vertices 3 faces 1\n");
}

}  // namespace
