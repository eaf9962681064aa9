// Progress of a long offline run on standard error: one line redrawn in place
// when standard error is a terminal, otherwise one plain line per tenth of
// the way (so logs stay short). The texts are built by pure functions.
#pragma once

#include <string>

struct progress {
    int terminal;      // redraw one line instead of printing tenths
    int tenths_shown;  // plain mode: tenths already reported
    size_t width;      // terminal mode: length of the line on screen
};

void progress_begin(progress* p, int terminal);

// What to write for having reached `fraction` (clamped to 0..1) with the
// status `text`: in terminal mode the line redrawn over the previous one; in
// plain mode the text and a newline when a new tenth has been reached, else
// nothing.
std::string progress_update(progress* p, float fraction, const std::string& text);

// What closes the report: a newline after an open terminal line, else
// nothing. The reporter can then be used again from the start.
std::string progress_end(progress* p);

// "frame 120  2.00 / 20.00 s  58.3 fps  0:18 left": the frame number, the
// demo time and where the show ends, frames rendered per wall-clock second
// and the wall-clock time left at that rate ("--:--" before it is known).
std::string progress_frame_text(int frame, float time, float end, float frames_per_second, float seconds_left);

// "loading 40 %".
std::string progress_loading_text(float fraction);

// Wall-clock seconds left to render from demo time `time` to `end` at
// `step_fps` frames per demo second and `render_fps` frames per wall-clock
// second; negative when the rate is not known yet.
float progress_seconds_left(float time, float end, int step_fps, float render_fps);

// Writes what progress_update / progress_end return to standard error.
void progress_report(progress* p, float fraction, const std::string& text);
void progress_report_end(progress* p);
