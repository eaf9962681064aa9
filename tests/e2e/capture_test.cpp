// The built player's offline runs on small shows written by the test:
// --capture writes the expected frame files (the window's picture, right way
// up) and the soundtrack; --start and --end cut the show and its sound;
// folders that cannot be made and spans too long fail with "Error: ...".
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/offline_show.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> frame_names(int count) {
    std::vector<std::string> names;
    char name[32];
    for (int i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "frame_%06d.png", i);
        names.push_back(name);
    }
    return names;
}

// The colour of a whole row, or "mixed".
std::string row_colour(const png_pixels& img, int y) {
    const uint8_t* first = img.at(0, y);
    for (int x = 1; x < img.width; ++x)
        if (!std::equal(first, first + 3, img.at(x, y))) return "mixed";
    return std::to_string(first[0]) + "," + std::to_string(first[1]) + "," + std::to_string(first[2]);
}

TEST(capture, writes_one_png_per_frame_of_the_window_and_the_soundtrack) {
    temp_dir dir;
    offline_show_write(dir, offline_colour_block("0.25", "1", "0", "0"));
    std::string output;
    // The folder is relative to where the player was started, not to the show.
    ASSERT_EQ(offline_run(dir, "--capture frames --fps 20 --size 64x48", &output), 0) << output;
    // Frames at 0, 0.05, ..., 0.25: the fader retires in the last one and the
    // show ends there.
    std::vector<std::string> expected = frame_names(6);
    expected.insert(expected.begin(), "audio.wav");
    EXPECT_EQ(folder_names(dir.file("frames")), expected);
    EXPECT_FALSE(fs::exists(dir.file("show/frames")));

    // 64 x 48 with a 16:9 band of 36 rows: 6 black rows above and below.
    png_pixels frame = read_png(dir.file("frames/frame_000002.png"));
    ASSERT_EQ(frame.width, 64);
    ASSERT_EQ(frame.height, 48);
    for (int y : {0, 5, 42, 47}) EXPECT_EQ(row_colour(frame, y), "0,0,0") << "row " << y;
    for (int y : {6, 20, 41}) EXPECT_EQ(row_colour(frame, y), "255,0,0") << "row " << y;
    png_pixels last = read_png(dir.file("frames/frame_000005.png"));
    for (int y : {0, 20, 47}) EXPECT_EQ(row_colour(last, y), "0,0,0") << "last frame, row " << y;

    // Six frames of a twentieth of a second: 13230 stereo 16-bit frames.
    EXPECT_EQ(fs::file_size(dir.file("frames/audio.wav")), 44u + 13230u * 4u);
    EXPECT_HAS(output, "ffmpeg -y -framerate 20 -i frames/frame_%06d.png -i frames/audio.wav ");
    EXPECT_EQ(output.find("Error"), std::string::npos) << output;
}

TEST(capture, start_and_end_cut_the_show_and_the_music_follows) {
    temp_dir dir;
    offline_show_write(dir, offline_colour_block("1", "1", "0", "0"));
    std::string output;
    ASSERT_EQ(offline_run(dir, "--capture whole --fps 20 --size 64x36", &output), 0) << output;
    EXPECT_EQ(folder_names(dir.file("whole")).size(), 22u);  // audio.wav, frames at 0 .. 1
    // The frames whose time lies in [0.5, 0.75): 0.5, 0.55, ..., 0.7.
    ASSERT_EQ(offline_run(dir, "--capture cut --fps 20 --size 64x36 --start 0.5 --end 0.75", &output), 0) << output;
    std::vector<std::string> expected = frame_names(5);
    expected.insert(expected.begin(), "audio.wav");
    EXPECT_EQ(folder_names(dir.file("cut")), expected);
    EXPECT_HAS(output, "demo time 0.500 to 0.700 s");
    // The cut's sound is the whole show's from half a second in, sample for
    // sample, and exactly as long as the cut.
    std::string whole = read_file(dir.file("whole/audio.wav")).substr(44);
    std::string cut = read_file(dir.file("cut/audio.wav")).substr(44);
    ASSERT_EQ(cut.size(), 11025u * 4u);
    ASSERT_GE(whole.size(), (22050u + 11025u) * 4u);
    EXPECT_TRUE(whole.substr(22050u * 4u, cut.size()) == cut);
    EXPECT_NE(cut, std::string(cut.size(), '\0'));  // there is music in it
    // The same cut on the bench: frames drawn from 0.5 on.
    ASSERT_EQ(offline_run(dir, "--bench --fps 20 --size 64x36 --start 0.5 --end 0.75", &output), 0) << output;
    EXPECT_HAS(output, "Bench: 5 frames at 20 fps, demo time 0.500 to 0.700 s");
    // The floor is timed at the run's window size, 60 frames of it.
    EXPECT_HAS(output, "Floor: the bare present path at 64x36, 60 frames");
}

TEST(capture, folders_and_spans_that_cannot_be_made_are_named) {
    temp_dir dir;
    offline_show_write(dir, offline_colour_block("0.25", "1", "0", "0"));
    dir.write("taken", "a file, not a folder");
    // Folders and files that cannot be made: an error naming them.
    const std::pair<const char*, const char*> rows[] = {
        {"--capture taken", "Error: Capture folder taken cannot be created: "},
        {"--bench --json taken/report.json", "Error: Bench report taken/report.json cannot be written\n"},
    };
    for (const auto& r : rows) {
        std::string output;
        EXPECT_EQ(offline_run(dir, r.first, &output), 255) << r.first << "\n" << output;
        EXPECT_HAS(output, r.second) << r.first;
    }
    // A span of more frames than a run draws is refused before the first.
    offline_show_write(dir, offline_colour_block("2000", "1", "0", "0"));
    std::string output;
    EXPECT_EQ(offline_run(dir, "--video long.mp4 --fps 1000", &output), 255);
    EXPECT_HAS(output, "Error: The show from 0.000 to 2000.000 s is 2000000 frames at 1000 fps, more than the "
                       "999999 an offline run draws");
    EXPECT_FALSE(fs::exists(dir.file("long.mp4")));
}

}  // namespace
