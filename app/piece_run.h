// One piece of a long run (--video PIECE --frames FIRST:END): the offline
// video run draws frames FIRST .. END-1 of the whole run, pictures only, and
// this module watches it: it notes every file the show reads, refuses a range
// outside the show, keeps a piece already finished from the same show and
// settings, makes the run's clock count from the whole run's start, and
// writes the manifest beside the piece once the piece is complete. A piece
// that is stopped or fails is removed, with any manifest of an older one.
#pragma once

#include <string>

struct cmdline;
struct show_host;
struct video_request;

// Before the script is read: records the range. Nothing happens when the
// command line renders no piece.
void piece_run_prepare(const cmdline* options);
// Lends the engine the observer that notes every file the show reads (the
// manifest's list), to be installed before the script is read.
void piece_run_lend(show_host* host);
int piece_run_active();
// After the script, the command line and the soundtrack are read and the
// clock is on its fixed step of `fps`, for a `width` x `height` file: fails
// for a range outside the show, ends the program (status 0) when the piece
// is already there, else sets the clock to the range's first frame.
void piece_run_begin(const video_request& video, int fps, int width, int height);
// Frames the piece holds.
int piece_run_count();
// After the piece file was finished and renamed: writes its manifest. A
// fatal error when that cannot be done (the piece is removed then).
void piece_run_finish();
// What a finished piece reports: "piece frames 0:75 of 300".
std::string piece_run_summary();
