// The loop and final logo scenes through the built player: a model that is
// missing or is not a model stops the run at loading with the scene's name,
// the file and why; a missing sky is named. (The example scripts are played
// by the shipped-show test.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

// A show folder holding the listed files, copied from the generated data.
struct show_folder {
    temp_dir dir;
    explicit show_folder(const std::vector<std::string>& files) {
        for (const std::string& name : files)
            dir.write(name, read_file(std::string(QUILLON_SOURCE_DIR) + "/" + name));
    }
    int play(const std::string& sections, std::string* output) {
        std::string script = dir.write("script.txt", e2e_show(sections));
        return e2e_play("--script " + script + " " + dir.path, output);
    }
};

struct fault_case {
    const char* name;
    std::vector<std::string> files;
    const char* section;
    const char* message;
    const char* corrupt;  // a file written with junk, or null
};

TEST(scenes_e, missing_or_broken_model_stops_the_run_naming_the_file) {
    const char* loop = "[loop]\nstart 0\nend 1\n";
    const char* logo = "[logofinal]\nstart 0\nend 1\n";
    const std::string loop_sky = "data/skyboxes/4.jpg", logo_sky = "data/textures/11.jpg";
    const fault_case cases[] = {
        {"loop without its model", {loop_sky}, loop,
         "Error: loop at line 17: Error loading model data/models/loop.3d: No such file or directory\n", nullptr},
        {"loop with a model that is not one", {loop_sky}, loop,
         "Error: loop at line 17: Error loading model data/models/loop.3d: ", "data/models/loop.3d"},
        {"logo without its frame", {logo_sky, "data/models/logo/s.3d"}, logo,
         "Error: logofinal at line 17: Error loading model data/models/logo/marco.3d: No such file or directory\n",
         nullptr},
        {"logo without its letter", {logo_sky, "data/models/logo/marco.3d"}, logo,
         "Error: logofinal at line 17: Error loading model data/models/logo/s.3d: No such file or directory\n",
         nullptr},
        {"logo with a letter that is not a model", {logo_sky, "data/models/logo/marco.3d"}, logo,
         "Error: logofinal at line 17: Error loading model data/models/logo/s.3d: ", "data/models/logo/s.3d"},
    };
    for (const fault_case& c : cases) {
        SCOPED_TRACE(c.name);
        show_folder show(c.files);
        if (c.corrupt) show.dir.write(c.corrupt, "this is not a model file");
        std::string output;
        int status = show.play(c.section, &output);
        EXPECT_EQ(status, 255) << output;
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
    }
}

// An empty show folder: the sky, loaded first, is named.
TEST(scenes_e, missing_sky_is_named) {
    e2e_expect_errors({
        {"loop without its sky", "[loop]\nstart 0\nend 1\n",
         "Error: loop at line 17: Error loading texture data/skyboxes/4.jpg"},
        {"logo without its sky", "[logofinal]\nstart 0\nend 1\n",
         "Error: logofinal at line 17: Error loading texture data/textures/11.jpg"},
    });
}

}  // namespace
