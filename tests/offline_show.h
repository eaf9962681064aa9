// Small shows for the offline runs' end-to-end tests, written into a
// temporary folder with the soundtrack and the debug font of the repository,
// and readers for what the runs write: PNG frames and video files (decoded
// with the same libraries the player encodes them with).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/test_support.h"

// A show folder `dir`/show: a head that plays the soundtrack, a short
// loading section, then `sections`.
void offline_show_write(const temp_dir& dir, const std::string& sections);
// An efxFader section holding one colour (r, g, b in 0..1) over the whole
// render target from 0 to `end` seconds.
std::string offline_colour_block(const char* end, const char* r, const char* g, const char* b);
// The shell line that runs the player in `dir` on its show with `options`,
// DISPLAY unset; and running it.
std::string offline_command(const temp_dir& dir, const std::string& options);
int offline_run(const temp_dir& dir, const std::string& options, std::string* output);

// The mean of each channel over all pixels.
void picture_mean(const png_pixels& picture, double mean[3]);

struct decoded_video {
    bool opened = false;
    int width = 0, height = 0;
    int fps_num = 0, fps_den = 1;
    std::vector<png_pixels> frames;   // in the colours the file is tagged with
    int sample_rate = 0, audio_frame_size = 0;
    std::vector<int16_t> samples;      // stereo, interleaved
    double video_start = 0, audio_start = 0;  // seconds of the first decoded frame of each
};
decoded_video decode_video(const std::string& path);
