// The camera and model section types through the built player: a section
// lacking what its type reads, or naming a file it cannot use, stops the run
// with the message users see, and each type's example script plays.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

const std::string MODELS = std::string(QUILLON_SOURCE_DIR) + "/data/models/";
const std::string TEXTURES = std::string(QUILLON_SOURCE_DIR) + "/data/textures/";
const std::string CAMERA = "[genCamera]\nstart 0\nend 1\n" + e2e_params(3);

TEST(fx3d, bad_sections_stop_the_run_with_their_message) {
    e2e_expect_errors({
        {"camera with two params", "[genCamera]\nstart 0\nend 1\n" + e2e_params(2),
         "Error: Script: three params are needed in genCamera section, line 17\n"},
        {"camera with four params", "[genCamera]\nstart 0\nend 1\n" + e2e_params(4),
         "Error: Script: three params are needed in genCamera section, line 17\n"},
        {"macro box without its picture", "[genMacroBox]\nstart 0\nend 1\n",
         "Error: genMacroBox: section at line 17 needs 1 strings, has 0\n"},
        {"macro box of an unknown kind", "[genMacroBox]\nstart 0\nend 1\nstring sky.gif\n",
         "Error: genMacroBox at line 17: Error loading skybox sky.gif\n"},
        {"macro box with no camera", "[genMacroBox]\nstart 0\nend 1\n" + e2e_strings({TEXTURES + "nebula.jpg"}),
         "Error: genMacroBox: section at line 17 needs a genCamera section drawn before it\n"},
        {"gen3DS with four strings", "[gen3DS]\nstart 0\nend 1\n" + e2e_strings({MODELS, "gear.3ds", "gear.3ds", "gear.3ds"}),
         "Error: gen3DS: section at line 17 needs 5 strings, has 4\n"},
        {"gen3DS with a missing model",
         "[gen3DS]\nstart 0\nend 1\n" + e2e_strings({MODELS, "gear.3ds", "gear.3ds", "nothere.3ds", "gear.3ds"}),
         "Error: gen3DS at line 17: Error loading model 'nothere.3ds' (" + MODELS + "nothere.3ds: No such file or directory)\n"},
        {"environment with two strings", "[genEnvironment]\nstart 0\nend 1\n" + e2e_strings({MODELS, "gear.3ds"}),
         "Error: Script: three strings are needed in genEnvironment section, line 17\n"},
        {"environment with four strings",
         "[genEnvironment]\nstart 0\nend 1\n" + e2e_strings({MODELS, "gear.3ds", TEXTURES + "environment.jpg", "x"}),
         "Error: Script: three strings are needed in genEnvironment section, line 17\n"},
        {"environment picture of an unknown kind",
         "[genEnvironment]\nstart 0\nend 1\n" + e2e_strings({MODELS, "gear.3ds", "env.gif"}),
         "Error: genEnvironment at line 17: Error loading texture env.gif\n"},
        {"wireframe without a model", "[genWireframe]\nstart 0\nend 1\n" + e2e_strings({MODELS, "gone.3ds"}),
         "Error: genWireframe at line 17: Error loading model 'gone.3ds' (" + MODELS + "gone.3ds: No such file or directory)\n"},
        {"wireframe with one string", "[genWireframe]\nstart 0\nend 1\n" + e2e_strings({MODELS}),
         "Error: genWireframe: section at line 17 needs 2 strings, has 1\n"},
    });
}

TEST(fx3d, camera_and_model_sections_play_together) {
    temp_dir dir;
    dir.add_font();
    dir.write("data/script.txt",
              e2e_show(CAMERA + "[genMacroBox]\nstart 0\nend 1\nlayer 1\n" + e2e_strings({TEXTURES + "nebula.jpg"}) +
                       "[gen3DS]\nstart 0\nend 1\nlayer 2\n" +
                       e2e_strings({MODELS, "gear.3ds", "torusknot.3ds", "column.3ds", "cubes.3ds"}) +
                       "[genEnvironment]\nstart 0\nend 1\nlayer 3\n" +
                       e2e_strings({MODELS, "torusknot.3ds", TEXTURES + "environment.jpg"}) +
                       "[genWireframe]\nstart 0\nend 1\nlayer 4\n" + e2e_strings({MODELS, "cubes.3ds"}) +
                       e2e_params(13)));
    std::string output;
    EXPECT_EQ(e2e_play(dir.path, &output), 0) << output;
    EXPECT_EQ(output.find("Error"), std::string::npos) << output;
}
}  // namespace
