// Engine settings: the 21 globals, their defaults and the key table.
//
// The table maps a script key to the global it sets and the way its value is
// read (integer, float or owned text). Defaults are assigned in code by
// settings_reset(), never through the table, so the table stays a pure map.
#include "core/settings.h"

#include <cstdlib>
#include <cstring>

#include "core/fatal.h"

// ---------------------------------------------------------------------------
// The globals
// ---------------------------------------------------------------------------

char* demoname = nullptr;
int fps = 0;
int timing = 0;
int debug = 0;
int packeddata = 0;
float demostart = 0.0f;
float demoend = 0.0f;
int gl_fullscreen = 1;
int gl_panoramic = 1;
int gl_info = 1;
int gl_extensions = 1;
int gl_width = 800;
int gl_height = 600;
int gl_bpp = 32;
int gl_zbuffer = 16;
int gl_rttWidth = 512;
int gl_rttHeight = 512;
int snd_enable = 0;
char* snd_mp3file = nullptr;
// The tempo times in beats are read with; 0 beats per minute: none.
float bpm = 0.0f;
float beat_offset = 0.0f;

// Searched in this order; the order is also how tools list the settings.
const setting settings_table[SETTING_COUNT] = {
    {"demoname", SETTING_TEXT, &demoname},
    {"fps", SETTING_INT, &fps},
    {"timing", SETTING_INT, &timing},
    {"debug", SETTING_INT, &debug},
    {"packeddata", SETTING_INT, &packeddata},
    {"demostart", SETTING_TIME, &demostart},
    {"demoend", SETTING_TIME, &demoend},
    {"gl_fullscreen", SETTING_INT, &gl_fullscreen},
    {"gl_panoramic", SETTING_INT, &gl_panoramic},
    {"gl_info", SETTING_INT, &gl_info},
    {"gl_extensions", SETTING_INT, &gl_extensions},
    {"gl_width", SETTING_INT, &gl_width},
    {"gl_height", SETTING_INT, &gl_height},
    {"gl_bpp", SETTING_INT, &gl_bpp},
    {"gl_zbuffer", SETTING_INT, &gl_zbuffer},
    {"gl_rttWidth", SETTING_INT, &gl_rttWidth},
    {"gl_rttHeight", SETTING_INT, &gl_rttHeight},
    {"snd_enable", SETTING_INT, &snd_enable},
    {"snd_mp3file", SETTING_TEXT, &snd_mp3file},
    {"bpm", SETTING_FLOAT, &bpm},
    {"beat_offset", SETTING_FLOAT, &beat_offset},
};

// ---------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------

void settings_reset() {
    free(demoname);
    demoname = strdup("Quillon Realtime Visualizer");
    if (!demoname) fatal_error("Out of memory");
    free(snd_mp3file);
    snd_mp3file = nullptr;
    fps = 0;
    timing = 0;
    debug = 0;
    packeddata = 0;
    demostart = 0.0f;
    demoend = 0.0f;
    gl_fullscreen = 1;
    gl_panoramic = 1;
    gl_info = 1;
    gl_extensions = 1;
    gl_width = 800;
    gl_height = 600;
    gl_bpp = 32;
    gl_zbuffer = 16;
    gl_rttWidth = 512;
    gl_rttHeight = 512;
    snd_enable = 0;
    bpm = 0.0f;
    beat_offset = 0.0f;
}

const setting* settings_find(const char* key) {
    for (const setting& row : settings_table) {
        if (strcmp(row.key, key) == 0) return &row;
    }
    return nullptr;
}
