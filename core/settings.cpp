// Engine settings: the 22 globals, their defaults and the key table.
//
// The table maps a script key to the global it sets, the way its value is
// read (integer, float, owned text or a time), its default and its meaning: the
// defaults are assigned from it, and the reference and manual list it.
#include "core/settings.h"

#include <cstdlib>
#include <cstring>

#include "core/fatal.h"

// ---------------------------------------------------------------------------
// The globals
// ---------------------------------------------------------------------------

char* demoname = nullptr;
int camera_overlay = 0;
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
// Rows a beat on a sync-tracker editor's grid (and in its .track files).
int rows_per_beat = 4;

// Searched in this order; the order is also how the reference lists them.
const setting settings_table[SETTING_COUNT] = {
    {"demoname", SETTING_TEXT, &demoname, "Quillon Realtime Visualizer",
     "window caption in windowed mode"},
    {"fps", SETTING_INT, &camera_overlay, "0",
     "non-zero shows the camera overlay; key F toggles it"},
    {"timing", SETTING_INT, &timing, "0",
     "non-zero shows the timing overlay; key T toggles it"},
    {"debug", SETTING_INT, &debug, "0",
     "non-zero lets the mouse and arrow keys fly the camera and draws the axes marker"},
    {"packeddata", SETTING_INT, &packeddata, "0",
     "accepted and stored; nothing depends on it"},
    {"demostart", SETTING_TIME, &demostart, "0",
     "demo time of the first frame, in seconds; the music starts there too"},
    {"demoend", SETTING_TIME, &demoend, "0",
     "the show stops once the clock passes it, when above 0; 0 plays the whole timeline"},
    {"gl_fullscreen", SETTING_INT, &gl_fullscreen, "1",
     "1 plays full screen, 0 in a window"},
    {"gl_panoramic", SETTING_INT, &gl_panoramic, "1",
     "1 letterboxes the picture to 16:9, 0 to 4:3"},
    {"gl_info", SETTING_INT, &gl_info, "1",
     "non-zero writes the driver report opengl.log"},
    {"gl_extensions", SETTING_INT, &gl_extensions, "1",
     "non-zero looks up the OpenGL extension entry points"},
    {"gl_width", SETTING_INT, &gl_width, "800",
     "window width in pixels"},
    {"gl_height", SETTING_INT, &gl_height, "600",
     "window height in pixels"},
    {"gl_bpp", SETTING_INT, &gl_bpp, "32",
     "colour depth of the full-screen mode, bits per pixel"},
    {"gl_zbuffer", SETTING_INT, &gl_zbuffer, "16",
     "depth buffer bits"},
    {"gl_rttWidth", SETTING_INT, &gl_rttWidth, "512",
     "width of the frame every section draws into, in pixels"},
    {"gl_rttHeight", SETTING_INT, &gl_rttHeight, "512",
     "height of that frame"},
    {"snd_enable", SETTING_INT, &snd_enable, "0",
     "non-zero plays the soundtrack"},
    {"snd_mp3file", SETTING_TEXT, &snd_mp3file, nullptr,
     "path of the MP3 soundtrack; needed when snd_enable is set"},
    {"bpm", SETTING_FLOAT, &bpm, "0",
     "beats per minute that times written in beats (16b, 8:2) are read with; 0: none"},
    {"beat_offset", SETTING_FLOAT, &beat_offset, "0",
     "demo time of beat 0, in seconds"},
    {"rows_per_beat", SETTING_INT, &rows_per_beat, "4",
     "rows a beat on a sync-tracker editor's grid and in .track files (row 0 is beat 0)"},
};

// ---------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------

void settings_reset() {
    for (const setting& row : settings_table) {
        if (row.kind == SETTING_TEXT) {
            char** text = static_cast<char**>(row.address);
            free(*text);
            *text = row.fallback ? strdup(row.fallback) : nullptr;
            if (row.fallback && !*text) fatal_error("Out of memory");
        } else if (row.kind == SETTING_INT) {
            *static_cast<int*>(row.address) = atoi(row.fallback);
        } else {
            *static_cast<float*>(row.address) = strtof(row.fallback, nullptr);
        }
    }
}

const setting* settings_find(const char* key) {
    for (const setting& row : settings_table) {
        if (strcmp(row.key, key) == 0) return &row;
    }
    return nullptr;
}
