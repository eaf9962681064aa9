// The music's tracks through the built player: a picture follows the bass
// with one param line, and shows the same value at a moment whether played
// from the start, opened there, or seen in edit mode.
#include <gtest/gtest.h>

#include <string>

#include "app/capture.h"
#include "tests/edit_session.h"
#include "assetlib/mp3_encode.h"
#include "assetlib/test_music.h"

namespace {

// Kicks at 128 BPM from 0.25 s; over the whole picture a fader whose red is
// the bass level (4 at most) times 0.25.
struct bass_show {
    temp_dir dir;
    bass_show() {
        dir.add_font();
        std::vector<unsigned char> mp3 = asset_encode_mp3(test_piece_pcm(TEST_PIECE_KICKS), 128);
        dir.write("data/kicks.mp3", std::string(mp3.begin(), mp3.end()));
        const std::string colour = "param @audio.bass 0.25\nparam 0\nparam 0\nparam 1\n";
        dir.write("data/script.txt", "snd_mp3file data/kicks.mp3\n" +
                                         e2e_show("[efxFader]\nstart 0\nend 8\nlayer 5\n" + colour + colour));
    }
};

std::string frame_name(const std::string& folder, int n) { return folder + "/" + capture_frame_name(n); }

int red_of(const std::string& png) {
    png_pixels p = read_png(png);
    return p.width ? p.at(p.width / 2, p.height / 2)[0] : -1;
}

TEST(audio_tracks, a_picture_follows_the_bass_the_same_however_it_is_reached) {
    bass_show show;
    temp_dir out;
    std::string output;
    // 20 frames a second from 1.5 s: frame n at 1.5 + n / 20.
    ASSERT_EQ(e2e_play("--capture " + out.file("all") + " --fps 20 --size 64x64 --start 1.5 --end 3 " + show.dir.path,
                       &output), 0) << output;
    // The kick at 2.125 s: 25 ms after it the bass is up, 325 ms after it has died away.
    int hit = red_of(frame_name(out.file("all"), 13)), after = red_of(frame_name(out.file("all"), 19));
    EXPECT_GT(hit, 150);
    EXPECT_LT(after, hit / 3);
    // Opened at 2.15 s: the same frame, to the byte.
    ASSERT_EQ(e2e_play("--capture " + out.file("at") + " --fps 20 --size 64x64 --start 2.15 --end 2.2 " +
                       show.dir.path, &output), 0) << output;
    EXPECT_EQ(read_file(frame_name(out.file("at"), 0)), read_file(frame_name(out.file("all"), 13)));
    // Edit mode, sought there: the same red.
    edit_run run(show.dir.path, "--fps 20 --size 64x64");
    run.send("pause");
    run.send("seek 2.15");
    ASSERT_FALSE(run.still("edit.png").empty()) << run.err();
    EXPECT_EQ(red_of(run.work.file("edit.png")), hit);
    EXPECT_EQ(run.quit(), 0) << run.err();
}

}  // namespace
