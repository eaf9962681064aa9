// Offline runs draw without a display: the frames are those a window shows,
// at any size from 16x16 to the largest the driver draws, with the render
// target reduced to fit a smaller output. Play without a display fails with
// a clear message.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/offline_show.h"

namespace {

namespace fs = std::filesystem;

TEST(offscreen, frames_are_byte_identical_to_a_windows) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X server to open the window on";
    temp_dir dir;
    // Gears crossing each other: depth ties and polygon edges are where a
    // different frame layout would show.
    const std::string stretch = " --fps 4 --start 20 --end 21 " + std::string(QUILLON_SOURCE_DIR);
    std::string output;
    ASSERT_EQ(run_command("cd " + dir.path + " && SDL_AUDIODRIVER=dummy " + built_binary("quillon") +
                              " --windowed --capture window" + stretch,
                          &output),
              0)
        << output;
    ASSERT_EQ(run_command("cd " + dir.path + " && env -u DISPLAY " + built_binary("quillon") + " --capture off" + stretch,
                          &output),
              0)
        << output;
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(dir.file("window"))) {
        std::string name = entry.path().filename().string();
        EXPECT_TRUE(read_file(entry.path().string()) == read_file(dir.file("off/" + name))) << name;
        compared += 1;
    }
    EXPECT_EQ(compared, 5);  // audio.wav and frames at 20, 20.25, 20.5, 20.75
}

TEST(offscreen, any_size_without_a_display) {
    temp_dir dir;
    offline_show_write(dir, offline_colour_block("0.5", "1", "0", "0"));
    struct row {
        const char* options;
        int width, height;
        int band_top;  // first row of the 16:9 band, from the top
        const char* note;
    };
    const row rows[] = {
        {"--size 16x16", 16, 16, 4, "Note: render target 64x64 reduced to 16x16 to fit the 16x16 output\n"},
        {"--size 320x240", 320, 240, 30, ""},
        {"--size 320x240 --rtt 512x512", 320, 240, 30,
         "Note: render target 512x512 reduced to 240x240 to fit the 320x240 output\n"},
        {"--size 1920x1080 --rtt 1920x1080", 1920, 1080, 0, ""},
        {"--size 3840x2160", 3840, 2160, 0, ""},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.options);
        fs::remove_all(dir.file("frames"));
        std::string output;
        ASSERT_EQ(offline_run(dir, std::string("--capture frames --fps 1 ") + r.options, &output), 0) << output;
        EXPECT_EQ(output.find("Note: render target") != std::string::npos, r.note[0] != '\0') << output;
        EXPECT_HAS(output, r.note);
        png_pixels frame = read_png(dir.file("frames/frame_000000.png"));
        ASSERT_EQ(frame.width, r.width);
        ASSERT_EQ(frame.height, r.height);
        auto red_at = [&](int y) { return frame.rgb[3 * static_cast<size_t>(y * r.width)]; };
        EXPECT_EQ(red_at(r.band_top), 255);
        EXPECT_EQ(red_at(r.height / 2), 255);
        EXPECT_EQ(red_at(r.band_top - (r.band_top > 0)), r.band_top > 0 ? 0 : 255);
    }
    // The bench draws the largest square too.
    std::string output;
    EXPECT_EQ(offline_run(dir, "--bench --fps 1 --size 4096x4096", &output), 0) << output;
    EXPECT_HAS(output, "Bench: 2 frames at 1 fps");
    // Play needs a display.
    EXPECT_EQ(offline_run(dir, "", &output), 255) << output;
    EXPECT_HAS(output, "Error: Video initialization failed: no display (DISPLAY is not set)");
}

}  // namespace
