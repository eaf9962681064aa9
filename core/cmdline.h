// The player's command line: quillon [options] [SHOW_DIR].
#pragma once

struct cmdline {
    const char* show_dir;     // folder to change into; null: stay
    const char* script;       // script path inside the show; null: default
    int fullscreen;           // -1: as the script says, else 0 or 1
    int mute;                 // play without sound
    int help;
    int version;
    const char* error;        // set when the line is not understood
    const char* error_arg;
};

// Parses argv (argv[0] is the program). Pure: touches nothing else.
cmdline cmdline_parse(int argc, char** argv);

// Overrides the script's settings with what the command line says.
void cmdline_apply(const cmdline* options);

// The usage text.
const char* cmdline_usage();
