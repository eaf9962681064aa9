// Offline runs: --capture renders every frame of the show on a fixed-step
// clock into numbered PNG files (and the soundtrack into a WAV file), --bench
// plays it on the same clock and times every section's render, every frame
// and every loading step. Both are deterministic in what they draw.
//
// main calls, in this order: offline_prepare (before changing into the show
// folder, so paths are the user's), offline_begin (after the script and the
// command line have set the settings), start_up, offline_loaded, main_loop,
// offline_end, then releases the show and shuts down. A bench run with
// --passes N calls main_loop again while offline_next_pass says so.
#pragma once

#include <cstdint>
#include <string>

struct cmdline;

void offline_prepare(const cmdline* options);
void offline_begin();
void offline_loaded();
// Finishes the files and reports; the exit status: 0, or 128 + the signal
// that stopped the run, so a calling script sees it.
int offline_end();
// After main_loop: in a soak run (--bench --passes N), records the resident
// memory of the pass that ended and, unless it was the last, puts every
// section that was scheduled after loading back on the timeline, restarts
// the clock at demostart and returns 1 (resources stay loaded). 0 otherwise.
int offline_next_pass();

// "frame_000042.png".
std::string capture_frame_name(int frame);

// Sample frames of sound that cover `frames` pictures at `fps`, rounded to
// the nearest sample.
int64_t capture_audio_frames(int frames, int fps, int rate);

// The most frames an offline run draws (the six digits of a frame's name).
enum { OFFLINE_FRAMES_MAX = 999999 };

// `word` quoted for a POSIX shell when it holds anything but plain characters.
std::string capture_shell_word(const std::string& word);

// The ffmpeg command that joins the frames in `dir` (and its audio.wav when
// `with_audio`) into show.mp4 beside `dir`. Odd sizes are padded to even
// ones, which the video format needs.
std::string capture_ffmpeg_line(const std::string& dir, int fps, int width, int height, int with_audio);

// Writes `width` x `height` RGB pixels (rows bottom first, as GL reads them)
// as an 8-bit RGB PNG file, top row first (see output_file.h: a failed write
// leaves nothing, a file already there is replaced whole). 0 when the file
// cannot be written, with the reason in `error`; `replaced` tells whether a
// file of that name was there.
int capture_write_png(const char* path, int width, int height, const uint8_t* rgb_bottom_up,
                      std::string* error = nullptr, bool* replaced = nullptr);
