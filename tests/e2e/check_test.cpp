// quillon --check, run as a user runs it: a show that
// passes gets one summary line, a broken show gets every fault listed.
#include <gtest/gtest.h>

#include <algorithm>
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

TEST(check, a_show_that_passes_gets_one_summary_line) {
    std::string output;
    EXPECT_EQ(e2e_play("--check " + SOURCE, &output), 0) << output;
    EXPECT_EQ(output, "OK: data/script.txt, 77 sections play from 0 to 160 s (120 BPM, 0:0.00 to 80:0.00), "
                      "soundtrack data/music/soundtrack.mp3 of 160.000 s\n");
    // A section that runs past the music is worth a warning, not a fault.
    temp_dir dir;
    ASSERT_EQ(run_command("cd " + dir.path + " && " + built_binary("quillon") + " --new s --length 4", &output), 0);
    std::string script = read_file(dir.file("s/data/script.txt"));
    size_t at = script.find("[EOF]");
    std::string line = std::to_string(std::count(script.begin(), script.begin() + at, '\n') + 1);
    script.insert(at, "[efxFader]\nstart 1:0\nend 3:0\nlayer 9\n" + e2e_params(8));
    dir.write("s/data/script.txt", script);
    EXPECT_EQ(e2e_play("--check " + dir.file("s"), &output), 0) << output;
    EXPECT_EQ(lines_of(output),
              (std::vector<std::string>{"Warning: efxFader at line " + line +
                                            " runs to 6 s, past the end of the soundtrack data/music/beat.mp3 (4.000 s)",
                                        "OK: data/script.txt, 7 sections play from 0 to 6 s (120 BPM, 0:0.00 to "
                                        "3:0.00), soundtrack data/music/beat.mp3 of 4.000 s"}))
        << output;
}

TEST(check, every_fault_of_a_broken_show_is_listed) {
    temp_dir dir;
    dir.add_font();
    // Lines 1-7 head, 8-16 the loading section, then these from line 17.
    dir.write("data/script.txt",
              e2e_show("[gen3Dimage]\nstart 11\nend 12\nstring data/missing.jpg\n" + e2e_params(7) +  // 17
                       "[genCamra]\nstart 0\n" +                                                      // 28
                       "[genCamera]\nstart 0\nend 2\nparam sixty\nparam 1\nparam 1\nspline data/no.txt\n" +  // 30
                       "[gen3DS]\nstart 0b\nend 1b\nstring data/models/\n" +                            // 37
                       "[efxFader]\nstart 0\nend 1\nsyncs 1\nsync 1,5\n" + e2e_params(8)));  // 41
    std::string output;
    EXPECT_EQ(e2e_play("--check --end 2 " + dir.path, &output), 255) << output;
    EXPECT_EQ(lines_of(output), (std::vector<std::string>{
                                    "Error: Script: section 'genCamra' not found, line 28 (did you mean 'genCamera'?)",
                                    "Warning: Script: 'sixty' is not a number, read as 0, line 33",
                                    // One fault, one error: the second time in beats is not
                                    // reported again, nor the section as lying outside the show.
                                    "Error: Script: a time in beats needs a bpm setting before it, line 38",
                                    "Warning: Script: '1,5' is not a number, read as 1, line 45",
                                    "Warning: gen3Dimage at line 17 (11 to 12 s) lies outside demostart 0 .. "
                                    "demoend 2 and is not played",
                                    "Error: genCamera at line 30: Error loading spline data/no.txt",
                                    // Inits run in start order, the picture at 11 s last.
                                    "Error: gen3DS: section at line 37 needs 5 strings, has 1",
                                    "Error: gen3Dimage at line 17: Error loading texture data/missing.jpg: "
                                    "Couldn't open data/missing.jpg",
                                }))
        << output;
}

// No script: said with the folder it was looked for in; --check with a
// run's option is a usage error.
TEST(check, a_missing_script_is_named_and_check_takes_no_run_options) {
    temp_dir dir;
    std::string output;
    EXPECT_EQ(e2e_play("--check " + dir.path, &output), 255);
    EXPECT_EQ(output, "Error: Script not found: data/script.txt (relative to " + dir.path + ")\n");
    EXPECT_EQ(e2e_play("--check --bench " + dir.path, &output), 2);
}

}  // namespace
