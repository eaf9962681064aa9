// quillon --join FILE PIECE... [SHOW_DIR]: the pieces of one run, rendered
// apart, checked against their manifests and each other, copied into FILE
// packet by packet (no picture is encoded again) with the show's soundtrack
// encoded once for the whole run, as --video would have written it.
//
// Every check comes before FILE is opened: a piece that is missing,
// unfinished, cut off or changed, of another size, rate, codec, show or
// script version, or a range that leaves a gap or overlaps, ends the join
// with one "Error: ..." line naming the piece, and nothing is written.
#pragma once

struct cmdline;

// Called in the folder quillon was started in; changes into the show
// folder. Returns the exit status (fatal errors end the program).
int join_run(const cmdline* options);
