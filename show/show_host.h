// The one door from the program to the show runtime.
//
// Everything the program lends the engine is one record, filled once before
// a show is opened: where finished frames go, what runs around the steps the
// runtime takes for each section, how a fatal error is met, what observes
// the files the show reads, how the loading phase shows itself and where the
// picture is drawn. The engine calls out through it; the program writes no
// row of the section type table and no engine global.
#pragma once

#include <cstddef>

#include "core/fatal.h"
#include "core/file_read.h"

struct section;

struct show_host {
    // Takes each finished frame after the overlay, before the swap (null:
    // the frame is only shown).
    void (*frame_sink)();
    // Around each section's render in a frame (null: none).
    void (*render_begin)(const section* s);
    void (*render_end)(const section* s);
    // Around each step of the loading phase: `kind` is "load" (of section
    // type row `type`, line 0) or "init" (of the section of that type at
    // script line `line`). The loading section's own load is no step.
    void (*step_begin)();
    void (*step_end)(const char* kind, int type, int line);
    // After the progress screen of a loading step is drawn, with the
    // fraction of steps done.
    void (*loading_shown)(float fraction);
    // Called with the message of a fatal error before the process ends (see
    // fatal_set_hook).
    fatal_hook fatal;
    // Every file the show reads and every time stamp it asks for (null: the
    // file system's).
    file_read_hook file_read;
    file_stamp_hook file_stamp;
    // 1: the progress screen is drawn once, after the last step, without a
    // swap, for opening the show again in a running window.
    int quiet_loading;
    // 1: the picture is drawn into an offscreen framebuffer, no window.
    int offscreen;
    // On the fixed step, the bytes the runtime may hold of fed-back pictures
    // to open the show at once near frames it has drawn (see
    // feedback_snapshot); 0: none kept.
    size_t feedback_cache_bytes;
};

// Opens the door: the section type table goes to the script reader, a fatal
// error shuts the window and the sound before its message ends the process,
// and what `host` lends (null: nothing) replaces what was lent before.
// Called before the first script is read, and again by a run that lends
// something.
void show_host_install(const show_host* host);

// What the runtime calls out to: the installed host's record.
const show_host& show_host_lent();
