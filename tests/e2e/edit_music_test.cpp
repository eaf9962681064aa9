// The music in edit mode's timeline view, read back from the window, and the
// keys that seek by bar and beat.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "tests/edit_session.h"
#include "assetlib/mp3_encode.h"
#include "assetlib/test_music.h"

namespace {

// Kicks at 128 beats a minute from 0.25 s, a black picture over 8 s.
struct music_show {
    temp_dir dir;
    music_show() {
        dir.add_font();
        std::vector<unsigned char> mp3 = asset_encode_mp3(test_piece_pcm(TEST_PIECE_KICKS), 128);
        dir.write("data/kicks.mp3", std::string(mp3.begin(), mp3.end()));
        const std::string black = "param 0\nparam 0\nparam 0\nparam 1\n";
        dir.write("data/script.txt", "snd_mp3file data/kicks.mp3\nbpm 128\nbeat_offset 0.25\n" +
                                         e2e_show("[efxFader]\nstart 0\nend 8\n" + black + black));
    }
};

bool bluish(const unsigned char* p) { return p[2] > p[0] + 40 && p[2] > 90; }

TEST(edit_music, the_view_shows_waveform_and_bar_grid_and_the_arrows_seek_by_bar_and_beat) {
    music_show show;
    edit_run run(show.dir.path, "--fps 60");
    run.send("pause");
    run.send("key tab");
    ASSERT_FALSE(run.still("view.png", "shot").empty()) << run.err();
    png_pixels p = read_png(run.work.file("view.png"));
    ASSERT_GT(p.width, 0);
    // The view spans 0-8 s from x = 8 to width - 8; the strip is the last
    // rows above the bottom margin.
    auto x_of = [&p](double t) { return 8 + int((p.width - 16) * t / 8); };
    int strip = p.height - 8 - 28 / 2;
    int loud = 0, quiet = 0;
    for (int x = 8; x < x_of(0.24); ++x) quiet += bluish(p.at(x, strip));
    for (double t = 0.26; t < 0.3; t += 0.005) loud += bluish(p.at(x_of(t), strip));
    EXPECT_EQ(quiet, 0);
    EXPECT_GT(loud, 3);
    // A bar line where bar 1 starts (0.25 + 4 beats) lightens the section's
    // box it crosses; half a beat from a beat there is none.
    int lane_row = p.height - 8 - 28 - 6;
    auto brightness = [&](double t) {
        int most = 0;
        for (int dx = -1; dx <= 1; ++dx) {
            const unsigned char* c = p.at(x_of(t) + dx, lane_row);
            most = std::max(most, c[0] + c[1] + c[2]);
        }
        return most;
    };
    EXPECT_GT(brightness(0.25 + 4 * 60 / 128.0), brightness(0.25 + 3.5 * 60 / 128.0) + 40);
    EXPECT_GT(brightness(0.25 + 3 * 60 / 128.0), brightness(0.25 + 3.5 * 60 / 128.0) + 10);

    const struct { const char* key; double time; } keys[] = {
        {"right", 0.25}, {"right", 0.25 + 1.875}, {"shift+left", 0.25 + 1.875 - 0.46875}, {"left", 0.25},
        {"shift+right", 0.71875}, {"left", 0.25}, {"left", 0}};  // before the first bar: the show's start
    for (const auto& k : keys) {
        run.send(std::string("key ") + k.key);
        EXPECT_NEAR(std::stod(run.status("time")), k.time, 1e-4) << k.key;
    }
    EXPECT_EQ(run.quit(), 0) << run.err();
}

}  // namespace
