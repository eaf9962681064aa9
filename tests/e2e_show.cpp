// The shipped scripts through the built player: the default show plays to
// its end on the fixed-step clock and uses every generic effect, plays a
// stretch in real time with its soundtrack, and every example script plays.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

const std::string source = QUILLON_SOURCE_DIR;

std::string player() { return "SDL_AUDIODRIVER=dummy " + built_binary("quillon"); }

TEST(shipped_show, default_show_plays_to_its_end_and_uses_every_generic_effect) {
    std::string output;
    int status = run_command(player() + " --bench --fps 3 " + source, &output);
    ASSERT_EQ(status, 0) << output;
    for (const char* type : {"genCamera", "genMacroBox", "gen3DS", "genEnvironment", "genWireframe", "efxFader",
                             "efxRadialBlur", "efxRenderMesh", "genParticletex", "genPathway", "gen3Dimage"})
        EXPECT_NE(output.find(std::string("\n") + type + " "), std::string::npos) << type << "\n" << output;
    EXPECT_NE(output.find("whole frame"), std::string::npos) << output;
}

TEST(shipped_show, default_show_plays_with_its_soundtrack) {
    std::string output;
    int status = run_command(player() + " --start 30 --end 31 " + source, &output);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output.find("Error"), std::string::npos) << output;
}

TEST(shipped_show, every_example_plays_to_its_end) {
    std::vector<std::string> examples;
    for (const auto& entry : std::filesystem::directory_iterator(source + "/data/examples"))
        if (entry.path().extension() == ".txt") examples.push_back(entry.path().filename().string());
    ASSERT_GE(examples.size(), 11u);
    for (const std::string& name : examples) {
        std::string output;
        int status = run_command(player() + " --bench --fps 5 --script data/examples/" + name + " " +
                                     source,
                                 &output);
        EXPECT_EQ(status, 0) << name << "\n" << output;
    }
}

}  // namespace
