// The model builder, column and paranoia scenes through the built player: a
// model that is missing or is not a model stops the run at loading naming
// the file, a missing scene picture (the paranoia sky included) is named,
// and each scene plays with its files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

const std::string SOURCE = QUILLON_SOURCE_DIR;

// A show folder with the font and the given generated files copied from the
// repository's data folder, minus `left_out`; `replaced` (if any) holds
// bytes that are not a model.
struct scene_show {
    temp_dir dir;
    scene_show(const std::vector<std::string>& files, const std::string& left_out,
               const std::string& replaced = "") {
        dir.add_font();
        for (const std::string& f : files)
            if (f != left_out) dir.write(f, read_file(SOURCE + "/" + f));
        if (!replaced.empty()) dir.write(replaced, "not a model at all");
    }
    int play(const std::string& section, std::string* output) {
        return e2e_play(dir.path + " --script " + dir.write("script.txt", e2e_show(section)), output);
    }
};

const std::vector<std::string> BUILDER_FILES = {"data/cubitos/models/cubez.3ds",
                                                "data/loader/textures/loadingback.jpg",
                                                "data/loader/textures/loadingfront.jpg"};
const std::vector<std::string> COLUMNA_FILES = {"data/textures/8470702.jpg", "data/models/columna.3d",
                                                "data/textures/FractalReflections2.jpg"};
const std::vector<std::string> PARANOIA_FILES = {"data/textures/paranoia_sky.jpg", "data/models/paranoia.3d",
                                                 "data/textures/paranoia.jpg"};

struct fault_case {
    const char* name;
    const std::vector<std::string>* files;
    std::string left_out, replaced;
    const char* section;
    const char* message;
};

TEST(scenes_d, missing_or_broken_scene_files_stop_the_run_naming_them) {
    const fault_case cases[] = {
        {"builder without its model", &BUILDER_FILES, BUILDER_FILES[0], "", "3Dbuilder",
         "Error: 3Dbuilder at line 17: Error loading object.3ds (data/cubitos/models/cubez.3ds: "},
        {"builder with a broken model", &BUILDER_FILES, "", BUILDER_FILES[0], "3Dbuilder",
         "Error: 3Dbuilder at line 17: Error loading object.3ds (data/cubitos/models/cubez.3ds: "},
        {"builder without its front picture", &BUILDER_FILES, BUILDER_FILES[2], "", "3Dbuilder",
         "Error: 3Dbuilder at line 17: Error loading texture data/loader/textures/loadingfront.jpg"},
        {"column without its model", &COLUMNA_FILES, COLUMNA_FILES[1], "", "columna",
         "Error: columna at line 17: Error loading model data/models/columna.3d: "},
        {"column with a broken model", &COLUMNA_FILES, "", COLUMNA_FILES[1], "columna",
         "Error: columna at line 17: Error loading model data/models/columna.3d: "},
        {"column without its sky", &COLUMNA_FILES, COLUMNA_FILES[0], "", "columna",
         "Error: columna at line 17: Error loading texture data/textures/8470702.jpg"},
        {"paranoia without its model", &PARANOIA_FILES, PARANOIA_FILES[1], "", "paranoia",
         "Error: paranoia at line 17: Error loading model data/models/paranoia.3d: "},
        {"paranoia with a broken model", &PARANOIA_FILES, "", PARANOIA_FILES[1], "paranoia",
         "Error: paranoia at line 17: Error loading model data/models/paranoia.3d: "},
        {"paranoia without its sky", &PARANOIA_FILES, PARANOIA_FILES[0], "", "paranoia",
         "Error: paranoia at line 17: Error loading texture data/textures/paranoia_sky.jpg"},
    };
    for (const fault_case& c : cases) {
        SCOPED_TRACE(c.name);
        scene_show show(*c.files, c.left_out, c.replaced);
        std::string output;
        int status = show.play("[" + std::string(c.section) + "]\nstart 0\nend 1\n", &output);
        EXPECT_EQ(status, 255) << output;
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
    }
}

// With all their files a show of each scene plays through (past the
// one-second loading section) without a message.
TEST(scenes_d, scene_with_its_files_plays_through) {
    const struct {
        const char* type;
        const std::vector<std::string>* files;
    } cases[] = {{"3Dbuilder", &BUILDER_FILES}, {"columna", &COLUMNA_FILES}, {"paranoia", &PARANOIA_FILES}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        scene_show show(*c.files, "");
        std::string output;
        int status = show.play("[" + std::string(c.type) + "]\nstart 0.5\nend 1.5\nlayer 1\n", &output);
        EXPECT_EQ(status, 0) << output;
        EXPECT_EQ(output.find("Error"), std::string::npos) << output;
    }
}

}  // namespace
