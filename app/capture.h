// --capture's folder of frames: the frame files' names, the ffmpeg line
// printed at the end to join them into a video, and where the captured span
// ends. Pure text and arithmetic; the run itself is offline_run.h.
#pragma once

#include <string>

// "frame_000042.png".
std::string capture_frame_name(int frame);

// The most frames an offline run draws (the six digits of a frame's name).
enum { OFFLINE_FRAMES_MAX = 999999 };

// Where the show ends on the demo clock: the last scheduled section's end,
// or demoend when that comes first.
float capture_show_end(float demoend, float last_section_end);

// `word` quoted for a POSIX shell when it holds anything but plain characters.
std::string capture_shell_word(const std::string& word);

// The ffmpeg command that joins the frames in `dir` (and its audio.wav when
// `with_audio`) into show.mp4 beside `dir`. Odd sizes are padded to even
// ones, which the video format needs.
std::string capture_ffmpeg_line(const std::string& dir, int fps, int width, int height, int with_audio);
