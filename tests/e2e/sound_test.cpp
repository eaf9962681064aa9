// The built player with sound on, through SDL's dummy audio driver: a show
// with the generated soundtrack plays to its end; the sound settings' faults
// end it with their messages; --mute plays without touching the MP3.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

const std::string data_dir = std::string(QUILLON_SOURCE_DIR) + "/data";

int play(const std::string& sound_lines, const std::string& options, std::string* output,
         const char* driver = "dummy") {
    temp_dir dir;
    dir.write("data/script.txt", e2e_show("", sound_lines));  // one second, its loading screen
    dir.add_font();
    dir.write("data/music/noise.mp3", "ID3 but nothing after it");
    return run_command(std::string("SDL_AUDIODRIVER=") + driver + " " + built_binary("quillon") + " " + options +
                           " " + dir.path,
                       output);
}

TEST(sound_show, plays_the_soundtrack_to_the_end_of_the_show) {
    std::string output;
    std::string mp3 = data_dir + "/music/soundtrack.mp3";
    EXPECT_EQ(play("snd_enable 1\nsnd_mp3file " + mp3 + "\n", "", &output), 0) << output;
    EXPECT_EQ(output.find("Error"), std::string::npos) << output;
    // Started in the middle of the piece, so the stream is positioned first.
    EXPECT_EQ(play("snd_enable 1\nsnd_mp3file " + mp3 + "\ndemostart 0.75\ndemoend 1.5\n", "", &output), 0)
        << output;
}

TEST(sound_show, sound_faults_end_the_show_with_their_message) {
    struct row {
        const char* lines;
        const char* driver;
        const char* message;
    } rows[] = {
        {"snd_enable 1\n", "dummy", "Error: Script: snd_enable is set but snd_mp3file is not\n"},
        {"snd_enable 1\nsnd_mp3file data/music/missing.mp3\n", "dummy",
         "Error: Mp3 file not found in data/music/missing.mp3\n"},
        {"snd_enable 1\nsnd_mp3file data/music\n", "dummy", "Error: Mp3 file not found in data/music\n"},  // a folder
        {"snd_enable 1\nsnd_mp3file data/music/noise.mp3\n", "dummy",
         "Error: Unknown file format: data/music/noise.mp3\n"},
        {"snd_enable 1\nsnd_mp3file data/music/noise.mp3\n", "no-such-driver",
         "Error: Error initializing output device.\n"},
    };
    for (const row& r : rows) {
        std::string output;
        EXPECT_EQ(play(r.lines, "", &output, r.driver), 255) << r.lines << output;
        EXPECT_HAS(output, r.message) << r.lines;
    }
}

TEST(sound_show, mute_plays_without_reading_the_mp3) {
    std::string output;
    EXPECT_EQ(play("snd_enable 1\nsnd_mp3file data/music/missing.mp3\n", "--mute", &output), 0) << output;
    EXPECT_EQ(play("snd_enable 1\n", "--mute", &output, "no-such-driver"), 0) << output;
    EXPECT_EQ(output.find("Error"), std::string::npos) << output;
}

}  // namespace
