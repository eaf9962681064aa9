// The gears and meditation scenes through the built player: a gears section
// without its camera spline stops at loading naming its line, a missing
// scene model stops the run naming the file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

const std::string SOURCE = QUILLON_SOURCE_DIR;
const std::string GEARS = "[gears]\nstart 0\nend 1\n";
const std::string FLIGHT = "spline data/splines/gears_flight.txt 1\n";

TEST(scenes_c, gears_section_without_its_camera_spline_stops_naming_its_line) {
    e2e_expect_errors({
        {"gears without a spline", GEARS, "Error: gears: section at line 17 needs 1 splines, has 0\n"},
        {"second gears names its own line", GEARS + FLIGHT + GEARS,
         "Error: gears: section at line 21 needs 1 splines, has 0\n"},
    }, true);
}

// A show folder holding every file of the scene but one model.
void expect_missing_model(const std::string& section, const std::string& scene,
                          const std::vector<std::string>& files, const std::string& message) {
    temp_dir show;
    show.add_font();
    for (const std::string& name : files) {
        std::string path = "data/" + scene + "/" + name;
        show.write(path, read_file(SOURCE + "/" + path));
    }
    show.write("data/script.txt", e2e_show(section));
    std::string output;
    EXPECT_EQ(e2e_play(show.path, &output), 255) << output;
    EXPECT_NE(output.find("Error: " + message + "\n"), std::string::npos) << output;
}

TEST(scenes_c, missing_scene_model_stops_the_run_naming_the_file) {
    {
        SCOPED_TRACE("gears without gear2.3d");
        expect_missing_model(GEARS + "spline " + SOURCE + "/data/splines/gears_flight.txt 1\n", "gears",
                             {"models/gear1.3d", "models/gear3.3d", "textures/guitar.jpg"},
                             "gears at line 17: Error loading model 'gear2.3d'");
    }
    {
        SCOPED_TRACE("meditation without its model");
        expect_missing_model("[meditation]\nstart 0\nend 1\n", "meditation",
                             {"textures/cloudskybox.jpg", "textures/electronicflareblack.jpg",
                              "textures/fractalreflections2.jpg", "textures/circle.jpg"},
                             "meditation at line 17: Error loading model 'meditation.3d'");
    }
}

}  // namespace
