// quillon --check and --list-types, run as a user runs them: the default
// show passes silently, a broken show gets every fault listed.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

const std::string SOURCE = QUILLON_SOURCE_DIR;

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

TEST(check, default_show_passes_silently) {
    std::string output;
    EXPECT_EQ(e2e_play("--check " + SOURCE, &output), 0) << output;
    EXPECT_EQ(output, "");
}

TEST(check, every_fault_of_a_broken_show_is_listed) {
    temp_dir dir;
    dir.add_font();
    // Lines 1-7 head, 8-16 the loading section, then these from line 17.
    dir.write("data/script.txt",
              e2e_show("[gen3Dimage]\nstart 11\nend 12\nstring data/missing.jpg\n" + e2e_params(7) +  // 17
                       "[genCamra]\nstart 0\n" +                                                      // 28
                       "[genCamera]\nstart 0\nend 2\nparam sixty\nparam 1\nparam 1\nspline data/no.txt\n" +  // 30
                       "[gen3DS]\nstart 0\nend 1b\nstring data/models/\n" +                             // 37
                       "[efxFader]\nstart 0\nend 1\nsyncs 1\nsync 1,5\n" + e2e_params(8)));  // 41
    std::string output;
    EXPECT_EQ(e2e_play("--check --end 2 " + dir.path, &output), 255) << output;
    EXPECT_EQ(lines_of(output), (std::vector<std::string>{
                                    "Error: Script: section 'genCamra' not found, line 28 (did you mean 'genCamera'?)",
                                    "Warning: Script: 'sixty' is not a number, read as 0, line 33",
                                    "Error: Script: a time in beats needs a bpm setting before it, line 39",
                                    "Warning: Script: '1,5' is not a number, read as 1, line 45",
                                    "Warning: gen3Dimage at line 17 (11 to 12 s) lies outside demostart 0 .. "
                                    "demoend 2 and is not played",
                                    // gen3DS's end could not be read: its span is no news.
                                    "Error: genCamera at line 30: Error loading spline data/no.txt",
                                    // Inits run in start order, the picture at 11 s last.
                                    "Error: gen3DS: section at line 37 needs 5 strings, has 1",
                                    "Error: gen3Dimage at line 17: Error loading texture data/missing.jpg: "
                                    "Couldn't open data/missing.jpg",
                                }))
        << output;
}

TEST(check, broken_copy_of_the_default_show_and_missing_scripts) {
    temp_dir dir;
    std::string script = read_file(SOURCE + "/data/script.txt");
    for (auto [from, to] : {std::pair<std::string, std::string>{"data/models/", "data/modelz/"},
                            {"[genMacroBox]", "[genMacrobox]"}}) {
        for (size_t at = script.find(from); at != std::string::npos; at = script.find(from, at + to.size()))
            script.replace(at, from.size(), to);
    }
    std::string output;
    EXPECT_EQ(e2e_play("--check --script " + dir.write("broken.txt", script) + " " + SOURCE, &output), 255);
    int models = 0, boxes = 0;
    for (const std::string& line : lines_of(output)) {
        models += line.find("data/modelz/") != std::string::npos && line.find(" at line ") != std::string::npos;
        boxes += line.find("section 'genMacrobox' not found") != std::string::npos;
    }
    EXPECT_GE(models, 2) << output;
    EXPECT_GE(boxes, 1) << output;

    EXPECT_EQ(e2e_play("--check " + dir.path, &output), 255);
    EXPECT_EQ(output, "Error: Script not found: data/script.txt (relative to " + dir.path + ")\n");
    EXPECT_EQ(e2e_play("--check --bench " + dir.path, &output), 2);
}

TEST(check, list_types_prints_the_28_names) {
    std::string output;
    EXPECT_EQ(run_command(built_binary("quillon") + " --list-types", &output), 0);
    std::vector<std::string> names = lines_of(output);
    ASSERT_EQ(names.size(), 28u) << output;
    EXPECT_EQ(names.front(), "loading");
    EXPECT_EQ(names[18], "efxRadialBlur");
    EXPECT_EQ(names.back(), "genCamera");
}

}  // namespace
