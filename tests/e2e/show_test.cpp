// The shipped scripts through the built player: the default show plays to
// its end on the fixed-step clock and uses every section type, and every
// example script plays.
#include <gtest/gtest.h>

#include <algorithm>

#include <filesystem>
#include <string>
#include <vector>

#include "show/section_table.h"
#include "tests/test_support.h"

namespace {

const std::string source = QUILLON_SOURCE_DIR;

std::string player() { return "SDL_AUDIODRIVER=dummy " + built_binary("quillon"); }

TEST(shipped_show, default_show_plays_to_its_end_and_uses_every_section_type) {
    std::string output;
    int status = run_command(player() + " --bench --fps 3 " + source, &output);
    ASSERT_EQ(status, 0) << output;
    // The bench report has a row per section drawn, led by its type's name.
    for (const section_type& type : section_types)
        EXPECT_HAS(output, std::string("\n") + type.name + " ") << type.name;
    EXPECT_HAS(output, "whole frame");
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
        // Every shipped script also passes the whole-show check with its
        // summary line alone: no warning.
        status = run_command(player() + " --check --script data/examples/" + name + " " + source, &output);
        EXPECT_EQ(status, 0) << name << "\n" << output;
        EXPECT_EQ(output.rfind("OK: data/examples/" + name + ", ", 0), 0u) << output;
        EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
    }
}

}  // namespace
