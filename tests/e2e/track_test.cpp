// Tracks through the built player: a broken track stops play with its file
// and line, and the check lists every broken track of the folder, named by a
// param or not.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

const std::string pulsing_fader = "[efxFader]\nstart 0\nend 4\nlayer 5\nparam @pulse\nparam 0\nparam 0\nparam 1\n"
                                  "param @pulse\nparam 0\nparam 0\nparam 1\n";

TEST(tracks, a_broken_track_stops_play_and_the_check_lists_every_one) {
    temp_dir show;
    show.add_font();
    show.write("data/script.txt", "bpm 120\n" + e2e_show(pulsing_fader));
    show.write("data/tracks/pulse.txt", "repeat 1\n0b 1 linear\n0.5b inf\n");
    show.write("data/tracks/later.txt", "1 1\n0.5 2\n");
    show.write("data/tracks/sync_odd-3aone.track", std::string("\x02\0\0\0", 4));
    std::string output;
    EXPECT_EQ(e2e_play(show.path, &output), 255);
    EXPECT_HAS(output, "Error: Track data/tracks/pulse.txt: the value 'inf' is not a finite number, line 3");
    EXPECT_EQ(e2e_play("--check " + show.path, &output), 255);
    for (const char* fault : {"Error: Track data/tracks/pulse.txt: the value 'inf'",
                              "Error: Track data/tracks/later.txt: key out of time order, line 2",
                              "Error: Track data/tracks/sync_odd-3aone.track: the file holds 4 bytes; 2 keys take 22"})
        EXPECT_HAS(output, fault) << fault;
    show.write("data/tracks/pulse.txt", "repeat 1\n0b 1 linear\n0.5b 0\n");
    show.write("data/tracks/later.txt", "0.5 2\n");
    show.write("data/tracks/sync_odd-3aone.track", std::string("\0\0\0\0", 4));
    EXPECT_EQ(e2e_play("--check " + show.path, &output), 0) << output;
}

}  // namespace
