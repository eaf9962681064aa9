// Engine settings: the globals set from the script's head.
//
// Every setting has a default assigned by settings_reset(); the script reader
// overwrites them from the lines before the first section. The table below is
// the one place that maps a script key to its global, default and meaning.
#pragma once

extern char* demoname;
extern int camera_overlay;  // script key "fps": non-zero shows the camera overlay
extern int timing;
extern int debug;
extern int packeddata;
extern float demostart;
extern float demoend;
extern int gl_fullscreen;
extern int gl_panoramic;
extern int gl_info;
extern int gl_extensions;
extern int gl_width;
extern int gl_height;
extern int gl_bpp;
extern int gl_zbuffer;
extern int gl_rttWidth;
extern int gl_rttHeight;
extern int snd_enable;
extern char* snd_mp3file;
extern float bpm;
extern float beat_offset;
extern int rows_per_beat;

// SETTING_TIME is a float of seconds that the script may also write in beats.
enum setting_kind { SETTING_INT = 0, SETTING_FLOAT = 1, SETTING_TEXT = 2, SETTING_TIME = 3 };

struct setting {
    const char* key;
    int kind;
    void* address;
    const char* fallback;  // the default, as the script would write it; null: none
    const char* meaning;
};

enum { SETTING_COUNT = 22 };
extern const setting settings_table[SETTING_COUNT];

// Assigns every setting its default (text settings are freed first).
void settings_reset();

// The row whose key equals `key` exactly, or null.
const setting* settings_find(const char* key);
