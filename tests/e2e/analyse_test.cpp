// quillon --analyse on files and shows, as an author runs it: what it
// prints, what it refuses, and what --write leaves on disk.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "tests/test_support.h"
#include "assetlib/mp3_encode.h"
#include "assetlib/test_music.h"

namespace {

std::string mp3_of(const std::vector<int16_t>& pcm) {
    std::vector<unsigned char> mp3 = asset_encode_mp3(pcm, 128);
    return std::string(mp3.begin(), mp3.end());
}

TEST(analyse, the_default_show_is_at_120_beats_a_minute_from_its_first_downbeat) {
    std::string output;
    EXPECT_EQ(e2e_play("--analyse " QUILLON_SOURCE_DIR, &output), 0) << output;
    EXPECT_HAS(output, "/data/music/soundtrack.mp3: 160.0 s, ");
    EXPECT_HAS(output, "\nbpm 120\nbeat_offset 0\n");
}

TEST(analyse, music_without_a_tempo_gets_one_clear_message) {
    temp_dir dir;
    const struct {
        const char* file;
        std::string content;  // null text: no file
        int status;
        const char* message;
    } rows[] = {
        {"words.mp3", "not music at all\n", 255, "(not an MP3 the player can play)"},
        {"empty.mp3", "", 255, "empty.mp3 is empty: there is no music to analyse"},
        {"silence.mp3", mp3_of(std::vector<int16_t>(44100 * 2 * 3, 0)), 1,
         "; no steady tempo found (confidence 0.00): the music is silent"},
        {"pad.mp3", mp3_of(test_piece_pcm(TEST_PIECE_PAD)), 1, "; no steady tempo found (confidence 0."},
    };
    for (const auto& r : rows) {
        std::string output;
        EXPECT_EQ(e2e_play("--analyse " + dir.write(r.file, r.content), &output), r.status) << output;
        EXPECT_HAS(output, r.message);
        EXPECT_EQ(output.find("bpm "), std::string::npos) << output;
    }
    std::string output;
    EXPECT_EQ(e2e_play("--analyse " + dir.file("missing.mp3"), &output), 255);
    EXPECT_HAS(output, "Error: " + dir.file("missing.mp3") + " cannot be read");
}

TEST(analyse, write_sets_the_head_keeps_the_old_script_and_refuses_a_different_tempo) {
    temp_dir dir;
    dir.write("data/beat.mp3", mp3_of(test_piece_pcm(TEST_PIECE_KICKS)));
    const std::string head = "snd_mp3file data/beat.mp3\n" + std::string("demoname Beat\n");
    const std::string rest = "\n; the sections\n[efxFader]\nstart 0\nend 4\n";
    const std::string script = dir.write("data/script.txt", head + rest);
    std::string output;
    ASSERT_EQ(e2e_play("--analyse --write " + dir.path, &output), 0) << output;
    EXPECT_HAS(output, "bpm 128\nbeat_offset 0.25\n");
    EXPECT_EQ(read_file(script), head + "bpm 128\nbeat_offset 0.25\n" + rest);
    EXPECT_EQ(read_file(script + "~"), head + rest);
    std::string track = read_file(dir.file("data/tracks/onsets.txt"));
    // The first kick: 1, falling to 0 a tenth of a second later.
    size_t first = track.find("\n0.2");
    ASSERT_NE(first, std::string::npos) << track;
    double at = std::stod(track.substr(first + 1)), end = std::stod(track.substr(track.find(" linear\n", first) + 8));
    EXPECT_NEAR(at, 0.25, 0.005);
    EXPECT_NEAR(end, at + 0.1, 0.0011);

    // Another tempo in the script: refused, nothing touched.
    const std::string slower = "bpm 100\n" + head + rest;
    dir.write("data/script.txt", slower);
    EXPECT_EQ(e2e_play("--analyse --write " + dir.path, &output), 255) << output;
    EXPECT_HAS(output, "already sets bpm 100 (line 1) where the music has bpm 128: --force replaces it; "
                       "nothing was written");
    EXPECT_EQ(read_file(script), slower);
    EXPECT_EQ(read_file(script + "~"), head + rest);
    struct stat st;
    EXPECT_NE(stat(dir.file("data/tracks/onsets.txt~").c_str(), &st), 0);
    // --force replaces the value, and keeps the slower script.
    EXPECT_EQ(e2e_play("--analyse --write --force " + dir.path, &output), 0) << output;
    EXPECT_EQ(read_file(script), "bpm 128\nbeat_offset 0.25\n" + head + rest);
    EXPECT_EQ(read_file(script + "~"), slower);
}

}  // namespace
