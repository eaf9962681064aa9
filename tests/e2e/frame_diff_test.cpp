// quillon-framediff on two small captures written by the test: a frame
// whose pixels differ by one level in at most half a percent of the picture
// passes, anything more, a missing frame or a changed size fails.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/png_file.h"
#include "tests/test_support.h"

namespace {

const int W = 20, H = 10;  // 200 pixels: one of them is the 0.5 % allowed

void write_frame(const temp_dir& dir, const std::string& name, const std::vector<uint8_t>& rgb, int w = W) {
    std::string path = dir.file(name);
    ASSERT_TRUE(png_file_write(path.c_str(), w, static_cast<int>(rgb.size()) / (3 * w), rgb.data()));
}

TEST(frame_diff, passes_one_level_in_half_a_percent_of_pixels_only) {
    const std::vector<uint8_t> grey(W * H * 3, 100);
    auto changed = [&](std::initializer_list<std::pair<int, int>> edits) {
        std::vector<uint8_t> rgb = grey;
        for (auto [index, level] : edits) rgb[index] = static_cast<uint8_t>(level);
        return rgb;
    };
    const struct {
        const char* name;
        std::vector<uint8_t> fresh;
        int status;
        const char* listed;
    } cases[] = {
        {"identical", grey, 0, "1 frames: 1 identical, 0 within tolerance"},
        {"one channel one level up", changed({{7, 101}}), 0, "largest   1  pixels   0.500 %  within"},
        {"one level down, all channels of a pixel", changed({{30, 99}, {31, 99}, {32, 99}}), 0, "within"},
        {"two levels", changed({{7, 102}}), 1, "largest   2  pixels   0.500 %  BEYOND"},
        {"two pixels", changed({{0, 101}, {597, 101}}), 1, "largest   1  pixels   1.000 %  BEYOND"},
    };
    for (const auto& c : cases) {
        temp_dir recorded, fresh;
        write_frame(recorded, "frame_000000.png", grey);
        write_frame(fresh, "frame_000000.png", c.fresh);
        std::string output;
        EXPECT_EQ(run_command(built_binary("quillon-framediff") + " " + recorded.path + " " + fresh.path, &output),
                  c.status)
            << c.name << "\n" << output;
        EXPECT_HAS(output, c.listed) << c.name;
    }
}

TEST(frame_diff, fails_on_missing_frames_and_changed_sizes) {
    const std::vector<uint8_t> grey(W * H * 3, 100);
    temp_dir recorded, fresh;
    write_frame(recorded, "frame_000000.png", grey);
    write_frame(recorded, "frame_000001.png", grey);
    write_frame(fresh, "frame_000000.png", grey, W / 2);
    std::string output;
    EXPECT_EQ(run_command(built_binary("quillon-framediff") + " " + recorded.path + " " + fresh.path, &output), 1);
    EXPECT_HAS(output, "frame_000000.png  10x20, was 20x10  BEYOND");
    EXPECT_HAS(output, "frame_000001.png  missing");
    EXPECT_HAS(output, "frame count differs: 2 recorded, 1 now");
}

}  // namespace
