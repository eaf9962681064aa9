// The loading phase and the `loading` section type (the progress screen).
#pragma once

#include "core/section_reads.h"

struct section;

// Its params, by the names its declaration binds; read as it is set up.
struct loading_values {
    float bar_colour[4];  // r g b a of the progress bar
};

struct loading_screen {
    int foreground;
    int background;
    float screen[4];
    float corners[4][2];
    float texcoords[4][2];
    float bar[4];
    float bar_width;
    float bar_colour[4];
};

extern section* loading_section;

void loading_phase();

// Whether `s` takes part in a run from demostart to demoend: it starts
// before demoend (or demoend is 0) and ends after demostart.
int loading_section_plays(const section* s);

// Where the show ends: the last end among the sections that play, or demoend
// when that comes first.
float loading_show_end();

// The loading steps for every section of the script, whatever demostart and
// demoend say, without the progress screen, while core/fatal collects
// faults: every spline read, type load and section init is tried, and a
// section whose splines or type failed is not initialised. Returns the
// number of steps that failed.
int loading_check();

// When set, the progress screen is not shown after each step: it is drawn
// once, after the last step, into the back buffer without a swap, so the
// render state the first frame finds is the same and the window keeps its
// picture meanwhile (for opening the show again in a running window).
extern int loading_quiet;

// The fraction of loading steps done, 0..1.
float loading_fraction();

void loading_init();
void loading_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads loading_reads;
