// The one door from the program to the show runtime.
//
// Everything the program lends the engine is one record, filled once before
// a show is opened: where finished frames go, what runs around each section
// type's steps, how the loading phase shows itself, where the picture is
// drawn. The engine calls out through it; the program writes no row of the
// section type table and no engine global.
#pragma once

struct show_host {
    // Takes each finished frame after the overlay, before the swap (null:
    // the frame is only shown).
    void (*frame_sink)();
};

// Opens the door: the section type table goes to the script reader, a fatal
// error shuts the window and the sound before its message ends the process,
// and `host` (null: nothing lent) takes effect. Called before the first
// script is read, and again when a run lends something else.
void show_host_install(const show_host* host);
