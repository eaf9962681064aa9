// End-to-end test of the soak run: a tiny show played twice over by the
// bench without reloading, with the memory of each pass reported.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "tests/test_support.h"

namespace {

TEST(soak, two_passes_replay_the_whole_timeline_once_loaded) {
    temp_dir dir;
    dir.add_font();
    // The loading section runs to 1 s (21 frames a pass at 20 fps), a fader
    // on line 17 to 0.5 s (10 frames a pass).
    dir.write("data/script.txt", e2e_show("[efxFader]\nstart 0\nend 0.5\nlayer 5\n" + e2e_params(8)));
    std::string output;
    ASSERT_EQ(e2e_play(dir.path + " --bench --passes 2 --fps 20 --size 320x256", &output), 0) << output;
    for (int pass : {1, 2}) {
        std::regex line("Soak pass " + std::to_string(pass) +
                        "/2: peak RSS [1-9][0-9]* kB, [1-9][0-9]* kB at its end\n");
        EXPECT_TRUE(std::regex_search(output, line)) << pass << "\n" << output;
    }
    EXPECT_HAS(output, "Soak: 2 passes, peak resident memory within 2048 kB of pass 1");
    // Both passes in the one report: twice the frames, the same span, and
    // the loading steps once.
    EXPECT_HAS(output, "Bench: 42 frames at 20 fps, demo time 0.000 to 1.000 s");
    EXPECT_HAS(output, "\nefxFader                    17       20 ");
    size_t first = output.find("\ninit efxFader");
    ASSERT_NE(first, std::string::npos) << output;
    EXPECT_EQ(output.find("\ninit efxFader", first + 1), std::string::npos) << output;
}

}  // namespace
