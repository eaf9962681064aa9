// Writes captured frames on a thread of its own, one frame deep: while frame
// k is encoded (as a PNG file, or into a video file) the player draws frame
// k + 1. Encoding is
// about half of a captured frame's time, and the software renderer leaves
// part of the second core idle, so the two overlap. The pictures and the
// files are the same as written in line; only the order in time differs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What writes one frame: 1 when it was written. PNG files unless set.
typedef int (*frame_write_fn)(const char* path, int frame, int width, int height, const uint8_t* rgb_bottom_up);
void frame_writer_use(frame_write_fn write);

// Hands over the pixels (3 bytes each, bottom row first) of frame number
// `frame` to be written to `path`, after the previous frame's file is done.
// Returns false when a file handed over before could not be written;
// frame_writer_failed() then tells which. `pixels` is swapped with a spare
// buffer of the writer's.
bool frame_writer_submit(const std::string& path, int frame, int width, int height, std::vector<uint8_t>* pixels);
// The first frame handed over after frame_writer_finish() starts afresh.
// Waits until the last frame handed over is written and stops the thread.
// Returns false when it could not be written. Safe to call more than once.
bool frame_writer_finish();
// Seconds the main thread waited for the writer to take a frame.
double frame_writer_wait_seconds();
// The number of the first frame that could not be written, -1 when none.
int frame_writer_failed();
