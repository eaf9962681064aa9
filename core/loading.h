// The loading phase and the `loading` section type (the progress screen).
#pragma once

struct section;

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

// When set, the progress screen is not shown after each step: it is drawn
// once, after the last step, into the back buffer without a swap, so the
// render state the first frame finds is the same and the window keeps its
// picture meanwhile (for opening the show again in a running window).
extern int loading_quiet;

// The fraction of loading steps done, 0..1.
float loading_fraction();

void loading_init();
void loading_render();
