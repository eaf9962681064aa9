// Sections through the built player: one that lacks what its type reads,
// names a file it cannot use, or whose scene file is missing or not a model,
// stops the run at loading with status 255 and the message users see, naming
// the section's own script line or the file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

const std::string SOURCE = QUILLON_SOURCE_DIR;
const std::string MODELS = SOURCE + "/data/models/";
const std::string TEXTURES = SOURCE + "/data/textures/";
const std::string PICTURE = TEXTURES + "emblem.tga";
const std::string SPRITE = TEXTURES + "spark.tga";

std::string section(const char* type) { return "[" + std::string(type) + "]\nstart 0\nend 1\n"; }

// Played in a folder of their own, holding only the script and the font.
TEST(section_errors, effects_name_their_line_or_the_file) {
    const std::string path = "spline " + SOURCE + "/data/splines/spiral_path.txt\n";
    const std::string pathway = section("genPathway") + e2e_strings({SPRITE});
    e2e_expect_errors({
        {"fader with nine", section("efxFader") + e2e_params(9),
         "Error: Script: eight floats are needed in fader effect, line 17\n"},
        {"second render mesh", section("efxRenderMesh") + e2e_params(4) + section("efxRenderMesh") + e2e_params(1),
         "Error: efxRenderMesh: section at line 24 needs 4 params, has 1\n"},
        {"camera with four params", section("genCamera") + e2e_params(4),
         "Error: Script: three params are needed in genCamera section, line 17\n"},
        {"macro box of an unknown kind", section("genMacroBox") + "string sky.gif\n",
         "Error: genMacroBox at line 17: Error loading texture sky.gif: it is not a picture (a picture is a .bmp, .jpg, .png or .tga file)\n"},
        {"macro box with no camera", section("genMacroBox") + e2e_strings({TEXTURES + "nebula.jpg"}),
         "Error: genMacroBox: section at line 17 needs a genCamera section drawn before it\n"},
        {"gen3DS with a missing model",
         section("gen3DS") + e2e_strings({MODELS, "gear.3ds", "gear.3ds", "nothere.3ds", "gear.3ds"}),
         "Error: gen3DS at line 17: Error loading model 'nothere.3ds' (" + MODELS + "nothere.3ds: No such file or directory)\n"},
        {"environment with four strings",
         section("genEnvironment") + e2e_strings({MODELS, "gear.3ds", TEXTURES + "environment.jpg", "x"}),
         "Error: Script: three strings are needed in genEnvironment section, line 17\n"},
        {"wireframe without a model", section("genWireframe") + e2e_strings({MODELS, "gone.3ds"}),
         "Error: genWireframe at line 17: Error loading model 'gone.3ds' (" + MODELS + "gone.3ds: No such file or directory)\n"},
        {"particletex with three strings", section("genParticletex") + e2e_strings({PICTURE, SPRITE, SPRITE}) + e2e_params(8),
         "Error: genParticletex: Script: Two strings are needed in genParticletex section, line 17\n"},
        {"particletex picture missing", section("genParticletex") + e2e_strings({"nothere.tga", SPRITE}) + e2e_params(8),
         "Error: genParticletex at line 17: Error loading texture nothere.tga: "},
        {"pathway with a rate of 0", pathway + path + e2e_params(5, "0"),
         "Error: genPathway: section at line 17 needs a positive emission rate (param 1), has 0\n"},
        {"loop without its sky", section("loop"), "Error: loop at line 17: Error loading texture data/skyboxes/4.jpg"},
    });
}

// Played in the repository's folder, where the scenes' fixed files are.
TEST(section_errors, scenes_name_their_line_and_what_is_missing) {
    const std::string title = section("particletitle") + "param 2\n";
    const std::string lake = section("thelake") + "string data/thelake/drop.jpg\nspline data/splines/lake_rain.txt 2\n";
    const std::string lake_params = e2e_params(4);
    const std::string paintex = section("paintex") + e2e_syncs({"0.4", "0.8"});
    e2e_expect_errors({
        {"second flash names its own line", section("flash") + e2e_syncs({"0.5", "1"}) + section("flash"),
         "Error: flash: section at line 23 needs 2 syncs, has 0\n"},
        {"title with one camera", title + "string data/particletitle/titles/quillon.jpg\nspline data/splines/title_gather.txt 1\n" +
                                      e2e_syncs({"1"}),
         "Error: particletitle: section at line 17 needs 2 splines, has 1\n"},
        {"lake with a rate of 0", lake + "param 0\n" + lake_params,
         "Error: thelake: section at line 17 needs a positive emission rate (param 1), has 0\n"},
        {"red sun without its camera spline", section("redsun") + e2e_params(12),
         "Error: redsun: section at line 17 needs 1 splines, has 0\n"},
        {"caption number past the last", paintex + "param 6\n" + e2e_params(6, "0"),
         "Error: paintex: section at line 17 needs a caption number 0-5 in its first param, has 6\n"},
        {"second painted caption", paintex + e2e_params(7, "1") + paintex + "param 7.5\n" + e2e_params(6, "0"),
         "Error: paintex: section at line 30 needs a caption number 0-5 in its first param, has 7.5\n"},
    }, true);
}

// A show folder holding the font and the scene's files copied from the
// generated data, but one left out or replaced by bytes that are not a model.
TEST(section_errors, missing_or_broken_scene_files_are_named) {
    const std::vector<std::string> builder = {"data/cubitos/models/cubez.3ds", "data/loader/textures/loadingback.jpg",
                                              "data/loader/textures/loadingfront.jpg"};
    const std::vector<std::string> column = {"data/textures/8470702.jpg", "data/models/columna.3d",
                                             "data/textures/FractalReflections2.jpg"};
    const std::vector<std::string> paranoia = {"data/textures/paranoia_sky.jpg", "data/models/paranoia.3d",
                                               "data/textures/paranoia.jpg"};
    const std::vector<std::string> logo = {"data/textures/11.jpg", "data/models/logo/marco.3d", "data/models/logo/s.3d"};
    const std::vector<std::string> gears = {"data/gears/models/gear1.3d", "data/gears/models/gear2.3d",
                                            "data/gears/models/gear3.3d", "data/gears/textures/guitar.jpg"};
    const std::vector<std::string> loop = {"data/skyboxes/4.jpg", "data/models/loop.3d"};
    const struct {
        const char* name;
        const std::vector<std::string>* files;
        std::string missing, broken, section, message;
    } cases[] = {
        {"builder without its model", &builder, builder[0], "", section("3Dbuilder"),
         "Error: 3Dbuilder at line 17: Error loading object.3ds (data/cubitos/models/cubez.3ds: "},
        {"column without its sky", &column, column[0], "", section("columna"),
         "Error: columna at line 17: Error loading texture data/textures/8470702.jpg"},
        {"paranoia without its model", &paranoia, paranoia[1], "", section("paranoia"),
         "Error: paranoia at line 17: Error loading model data/models/paranoia.3d: "},
        {"loop with a model that is not one", &loop, "", loop[1], section("loop"),
         "Error: loop at line 17: Error loading model data/models/loop.3d: "},
        {"logo with a letter that is not a model", &logo, "", logo[2], section("logofinal"),
         "Error: logofinal at line 17: Error loading model data/models/logo/s.3d: "},
        {"gears without its second wheel", &gears, gears[1], "",
         section("gears") + "spline " + SOURCE + "/data/splines/gears_flight.txt 1\n", "Error: gears at line 17: Error loading model 'gear2.3d'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        temp_dir dir;
        dir.add_font();
        for (const std::string& f : *c.files)
            if (f != c.missing) dir.write(f, read_file(SOURCE + "/" + f));
        if (!c.broken.empty()) dir.write(c.broken, "not a model at all");
        std::string output;
        int status = e2e_play(dir.path + " --script " + dir.write("script.txt", e2e_show(c.section)), &output);
        EXPECT_EQ(status, 255) << output;
        EXPECT_HAS(output, c.message);
    }
}

}  // namespace
