// The player's command line: quillon [options] [SHOW_DIR].
#pragma once

#include <string>
#include <vector>

enum {
    CMDLINE_DEFAULT_FPS = 60,   // frame rate of --capture and --bench without --fps
    CMDLINE_MAX_FPS = 1000,
    CMDLINE_MAX_SIZE = 16384,   // largest window side --size accepts
    CMDLINE_MAX_PASSES = 1000,  // most timeline passes --passes accepts
    CMDLINE_MESSAGE_MAX = 160,
    CMDLINE_MAX_BPM = 300,      // fastest tempo --bpm accepts
    CMDLINE_MAX_LENGTH = 600,   // longest starter show --length accepts, seconds
    CMDLINE_MIN_OFFLINE_SIZE = 16,  // smallest side of an offline frame
    CMDLINE_MAX_CRF = 51,
    CMDLINE_MAX_PIECES = 10000,  // most pieces --farm splits a show into
};

struct cmdline {
    const char* show_dir;     // folder to change into; null: stay
    const char* script;       // script path inside the show; null: default
    int fullscreen;           // -1: as the script says, else 0 or 1
    int mute;                 // play without sound
    int help;
    int version;
    int check;                // --check: load everything, list every fault, play nothing
    int list_types;           // --list-types: print the section type names
    const char* capture_dir;  // --capture DIR: render every frame into DIR
    int bench;                // --bench: time every section on the fixed step
    int offline_fps;          // --fps N: frames per demo second of both
    const char* json;         // --json FILE: the bench report as JSON too
    int passes;               // --passes N: bench plays the timeline N times; 0: once
    int edit;                 // --edit: the show follows its files, with transport
    const char* control;      // --control FILE: edit-mode commands, "-" for stdin
    const char* tracker;      // --tracker [HOST[:PORT]]: a sync-tracker editor to follow ("" : the default)
    int width, height;        // --size WxH; 0: as the script says
    const char* video;        // --video FILE: encode the frames and the soundtrack into FILE
    int crf;                  // --crf N: quality of --video's lossy codecs; -1: their default
    int lossless;             // --lossless: --video writes FFV1 RGB and FLAC
    int rtt_width, rtt_height;  // --rtt WxH: the render target; 0: as the script says
    int has_start, has_end;   // --start / --end given
    const char* start_text;   // as typed
    const char* end_text;
    float start, end;         // their seconds (for one in beats, at a stand-in tempo)
    int start_in_beats, end_in_beats;  // read again with the show's tempo by cmdline_apply
    int has_frames;           // --frames FIRST:END given (with --video: one piece of the run)
    int frame_first, frame_end;  // frames FIRST .. END-1 of the whole run
    const char* join;         // --join FILE: join the pieces into FILE with the soundtrack
    std::vector<const char*> pieces;  // with --join: the piece files
    const char* farm;         // --farm DIR: write the plans for a scheduler into DIR
    int farm_pieces;          // --pieces N: how many pieces the plans render
    const char* sshlogin;     // --sshlogin HOSTS: the plan for GNU parallel runs on these
    int describe;             // --describe [TYPE]: print what the script can say (TYPE in show_dir)
    int reference;            // --reference: the same as a Markdown page
    const char* new_dir;      // --new DIR: write a starter show into DIR
    int bpm;                  // --bpm N: its tempo; 0: the default
    float length;             // --length SECONDS: its length; 0: the default
    int analyse;              // --analyse: tempo, downbeat, beats and onsets of the music
    int write;                // --write: with --analyse, into the show's script and a track
    int force;                // --force: --write replaces a different tempo
    int plays_engine_show;    // the show is the engine's own default show
    const char* error;        // set when the line is not understood
    const char* error_arg;
    std::string hint;         // with an unknown option: " (did you mean '--x'?)" or ""
    // Set when an option's value is out of range or options contradict each
    // other; reported as "Error: ..." like any other fatal fault.
    char value_error[CMDLINE_MESSAGE_MAX];
};

// Parses argv (argv[0] is the program). Pure: touches nothing else.
cmdline cmdline_parse(int argc, char** argv);

// 1 when `path` ends in an extension of a video file (.mp4, .mkv, .webm).
int cmdline_names_video(const char* path);

// 1 when the run renders on the fixed-step clock (--capture, --bench, --video).
int cmdline_offline(const cmdline* options);
// 1 when it renders offscreen: offline, unless --windowed asks for a window.
int cmdline_offscreen(const cmdline* options);

// Overrides the script's settings with what the command line says; a
// --start or --end in beats is read with the script's tempo (a fatal error
// when it has none).
void cmdline_apply(const cmdline* options);

// The usage text.
const char* cmdline_usage();
