// What the edit-mode files share: the session's state and the steps the
// transport, the control channel and the view call.
#pragma once

#include <chrono>
#include <string>

#include "app/edit_control.h"

struct cmdline;
struct show_host;
struct sound_stream;

struct edit_session {
    const cmdline* options;
    std::string start_folder;  // where quillon was started: relative still and shot names start there
    float show_start;      // demostart as the script and command line set it
    float show_end;        // where the last section ends, or demoend
    int paused;
    int step_fps;          // --fps: the fixed step; 0: the millisecond clock
    int frame_due;         // a frame at the current time is still to be drawn
    int has_loop;
    float loop_in, loop_out;
    int timeline_shown;
    std::string error;     // the last failed opening's message; empty: none
    float good_time;       // where the last good opening opened the show
    int steps_left;        // frames of a `step` still to draw
    edit_channel channel;
    double last_open_ms;   // how long the last opening took
    // On the fixed step an opening inside a picture fed back from earlier
    // frames first shows the short look back (a picture at once, close to
    // the run's), then opens the show again at replay_time and draws the
    // frames before it in the loop's idle turns, and shows the exact frame.
    // replay: 0 none pending; 1 the first picture due or shown; 2 the
    // frames before it being drawn.
    int replay;
    float replay_time;
    std::chrono::steady_clock::time_point opened_at;
    double last_exact_ms;  // from the last opening's start to its exact frame shown; -1: not (yet)
    double last_frame_ms;  // how long the last frame took to draw
    // The music: its file as read, the stream over it, its channel; why
    // the show plays without it (empty: it does not).
    std::string music_path;
    std::string music_note;
    sound_stream* music;
    int music_channel;
    int sound_open;
};

extern edit_session edit;

// Opens the show again at `t` (clamped): from the files on disk, or, when that
// fails, from the last good versions; the error is kept and printed. Leaves a
// frame due. 0 only when the viewer quit during loading.
int edit_open_at(float t);

// Draws the frame at the current time (guarded: a fault shows its error and
// opens the show again); pauses at the show's end.
void edit_draw_now();

// A pending replay: a part of it in an idle turn (a few frames' worth of
// time), or all that is left, for what needs the exact frame (a step, a
// still). edit_draw_exact then draws the frame due.
void edit_replay_some();
void edit_replay_finish();
void edit_draw_exact();

// The seconds one frame step covers (the fixed step, or 1/60 s).
float edit_frame_step();

// Transport, shared by the keys and the channel.
void edit_set_paused(int paused);
void edit_seek(float t);
void edit_step(int frames);
// Draws the next frame of a forward step (edit.steps_left of them remain).
void edit_step_frame();
// Sets the loop range, cut to the show; refused with a message (on stderr)
// when nothing of it is left.
void edit_set_loop(float in, float out);
// The nearest section start before (direction -1) or after (+1) `t`, or `t`.
float edit_section_start_near(float t, int direction);

// Runs one control line; returns 0 on quit.
int edit_run_command(const std::string& line);
// Handles a transport key; 0 when the key is not one of them.
int edit_key(int sym, int mod);

// Puts the music at the current demo time, playing or paused as the session
// is: the opening (start) with the soundtrack the script names as it is on
// disk now, the transport (follow) with the one held.
void edit_music_start();
void edit_music_follow();
void edit_music_close();
// The music's position in sample frames (-1: no music).
long long edit_music_position();

// Tracks edited live (app/edit_tracks): an edit marks the frame stale, the
// redraw shows it (playing: the next frame; paused: the frame drawn again).
void edit_tracks_changed();
void edit_tracks_redraw();
// Writes every track edited live to its text file, through output_file.
void edit_tracks_save();
// Runs `track`, `key NAME TIME VALUE [interp]` and `unkey NAME TIME`.
void edit_track_command(const edit_command& c);

// The timeline view's track lanes (app/edit_view_tracks), from `start` to
// `end` seconds across `left` .. `right`, stacked up from `bottom`; returns
// the height they take.
float edit_view_tracks_draw(float left, float right, float bottom, float start, float end);

// Shows the last presented window again, with edit mode's drawing over it.
void edit_view_show_again();
// Writes the last presented window (without edit mode's drawing) as a PNG
// file, or, with `shown`, the window being drawn (after
// edit_view_show_again); 0 with the reason in `error` when it cannot.
// `replaced` tells whether a file of that name was there.
int edit_view_write_still(const char* path, int shown, std::string* error, bool* replaced);
// Lends the engine the view's frame sink (the error box and the timeline view
// drawn over the presented frame, the render state left as found) and the
// timers of each section's render (for the timeline view).
void edit_view_lend(show_host* host);
// Forgets the times of a generation's sections (before it is released).
void edit_view_forget_times();

// The music in the timeline view: the soundtrack's waveform and onsets in a
// strip of edit_music_strip() pixels under the lanes, and the beat and bar
// grid (from bpm and beat_offset) over lanes and strip.
enum { EDIT_MUSIC_STRIP = 28 };
// The strip's height: 0 when the show has no music that can be shown.
float edit_music_strip();
void edit_music_draw(float left, float right, float lanes_top, float strip_top, float bottom, float start, float end);
// The grid line `beats` beats apart (4: bars) nearest after (direction +1)
// or before (-1) `t`; `t` itself when there is no tempo.
float edit_grid_step(float t, int direction, int beats, float bpm, float beat_offset);
// A filled rectangle of the view, blended.
void edit_view_fill(float x0, float y0, float x1, float y1, float r, float g, float b, float a);
