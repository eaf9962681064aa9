// The table of the player's options and the usage text written from it.
#include "app/cmdline_table.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// ---------------------------------------------------------------------------
// Row makers, one a kind of value
// ---------------------------------------------------------------------------

constexpr cmdline_option flag(const char* name, int cmdline::*field, int value, const char* help,
                              const char* shown = nullptr) {
    return {name, shown, CMDLINE_SWITCH, 0, value, nullptr, 0, nullptr, nullptr, help,
            field, nullptr, nullptr, nullptr, nullptr};
}

constexpr cmdline_option text(const char* name, const char* value, const char* cmdline::*field, const char* help) {
    return {name, value, CMDLINE_TEXT, 0, 0, nullptr, 0, nullptr, nullptr, help,
            nullptr, nullptr, field, nullptr, nullptr};
}

constexpr cmdline_option whole(const char* name, const char* value, int cmdline::*field, int low, int high,
                               const char* rule, const char* help) {
    return {name, value, CMDLINE_WHOLE, low, high, rule, 0, nullptr, nullptr, help,
            field, nullptr, nullptr, nullptr, nullptr};
}

constexpr cmdline_option seconds(const char* name, const char* value, float cmdline::*field, int low, int high,
                                 const char* rule, const char* help) {
    return {name, value, CMDLINE_SECONDS, low, high, rule, 0, nullptr, nullptr, help,
            nullptr, nullptr, nullptr, field, nullptr};
}

constexpr cmdline_option size(const char* name, int cmdline::*width, int cmdline::*height, const char* help) {
    return {name, "WxH", CMDLINE_SIZE, 1, CMDLINE_MAX_SIZE, "WIDTHxHEIGHT, both whole numbers from %d to %d", 0,
            nullptr, nullptr, help, width, height, nullptr, nullptr, nullptr};
}

constexpr cmdline_option time(const char* name, int cmdline::*given, const char* cmdline::*text,
                              float cmdline::*seconds, int cmdline::*in_beats, const char* help) {
    return {name, "TIME", CMDLINE_TIME, 0, 0, nullptr, 0, nullptr, nullptr, help,
            in_beats, nullptr, text, seconds, given};
}

constexpr cmdline_option frames(const char* name, int cmdline::*first, int cmdline::*end, int cmdline::*given,
                                const char* help) {
    return {name, "FIRST:END", CMDLINE_FRAMES, 0, 0, "FIRST:END, whole frame numbers with FIRST below END", 0,
            nullptr, nullptr, help, first, end, nullptr, nullptr, given};
}

// A text that may follow the option or not (see cmdline_parse).
constexpr cmdline_option optional(const char* name, const char* value, const char* cmdline::*field,
                                  const char* help) {
    return {name, value, CMDLINE_OPTIONAL, 0, 0, nullptr, 0, nullptr, nullptr, help,
            nullptr, nullptr, field, nullptr, nullptr};
}

// `row` used only in `modes`; `alone` is the message otherwise.
constexpr cmdline_option only(cmdline_option row, unsigned modes, const char* alone) {
    row.modes = modes;
    row.alone = alone;
    return row;
}

// `row`'s text must not be empty: "--capture needs a folder name".
constexpr cmdline_option naming(cmdline_option row, const char* names) {
    row.names = names;
    return row;
}

}  // namespace

// ---------------------------------------------------------------------------
// The options, in the order of the usage text
// ---------------------------------------------------------------------------

const cmdline_option cmdline_options[] = {
    text("--script", "FILE", &cmdline::script,
         "read FILE instead of data/script.txt (paths inside it\nstay relative to the show folder)"),
    flag("--windowed", &cmdline::fullscreen, 0, "play in a window, whatever gl_fullscreen says"),
    flag("--fullscreen", &cmdline::fullscreen, 1, "play full screen, whatever gl_fullscreen says"),
    flag("--mute", &cmdline::mute, 1, "play without sound (as if snd_enable were 0)"),
    size("--size", &cmdline::width, &cmdline::height, "window of W x H pixels instead of gl_width x gl_height"),
    time("--start", &cmdline::has_start, &cmdline::start_text, &cmdline::start, &cmdline::start_in_beats,
         "begin at TIME instead of demostart (the music follows);\na time is seconds (12.5), beats (16b) or "
         "bar:beat (8:2),\nbeats with the show's bpm and beat_offset"),
    time("--end", &cmdline::has_end, &cmdline::end_text, &cmdline::end, &cmdline::end_in_beats,
         "stop at TIME instead of demoend (0: no end)"),
    naming(text("--capture", "DIR", &cmdline::capture_dir,
                "render offline on a fixed step: every frame to\nDIR/frame_000000.png, ..., the soundtrack (if the "
                "show\nplays one) to DIR/audio.wav"),
           "a folder name"),
    naming(text("--video", "FILE", &cmdline::video,
                "render offline on a fixed step into one video file with\nthe soundtrack: FILE.mp4 (H.264, AAC), "
                ".mkv (H.264, FLAC)\nor .webm (VP9, Opus)"),
           "a file name"),
    only(whole("--crf", "N", &cmdline::crf, 0, CMDLINE_MAX_CRF, "a whole number from %d to %d",
               "with --video: quality, %d (best) to %d (default 20 for\nH.264, 32 for VP9)"),
         CMDLINE_VIDEO | CMDLINE_FARM, "%s is only used with --video"),
    only(flag("--lossless", &cmdline::lossless, 1,
              "with --video FILE.mkv: FFV1 RGB pictures and FLAC sound,\nthe exact frames, for archives"),
         CMDLINE_VIDEO | CMDLINE_FARM, "%s is only used with --video"),
    only(frames("--frames", &cmdline::frame_first, &cmdline::frame_end, &cmdline::has_frames,
                "with --video: render only frames FIRST to END-1 of the run\n(frame k at k / fps from its start), "
                "pictures only, as one\npiece for --join; a piece already rendered is kept"),
         CMDLINE_VIDEO, "%s is only used with --video"),
    text("--join", "FILE PIECE...", &cmdline::join,
         "check the pieces, join them into FILE without encoding\nthem again and add the soundtrack once"),
    naming(text("--farm", "DIR", &cmdline::farm,
                "write plans that render the show in --pieces N pieces on\nGNU parallel (DIR/parallel.sh), Slurm "
                "(DIR/slurm.sh) or\nKubernetes (DIR/kubernetes.yaml) and join them into the\nfile of --video "
                "(default DIR/show.mp4)"),
           "a folder name"),
    only(whole("--pieces", "N", &cmdline::farm_pieces, 1, CMDLINE_MAX_PIECES, "a whole number of pieces from %d to %d",
               "with --farm: how many pieces (%d to %d)"),
         CMDLINE_FARM, "%s is only used with --farm"),
    only(text("--sshlogin", "HOSTS", &cmdline::sshlogin,
              "with --farm: GNU parallel runs the pieces on these hosts\n(its --sshlogin list; the folders must be "
              "shared)"),
         CMDLINE_FARM, "%s is only used with --farm"),
    size("--rtt", &cmdline::rtt_width, &cmdline::rtt_height,
         "render target of W x H pixels instead of gl_rttWidth x\ngl_rttHeight (reduced to fit a smaller output)"),
    flag("--bench", &cmdline::bench, 1,
         "play on the fixed step and report the time of every\nsection, frame and loading step"),
    only(whole("--fps", "N", &cmdline::offline_fps, 1, CMDLINE_MAX_FPS,
               "a whole number of frames per second from %d to %d",
               "frames per second of --capture, --video and --bench\n(default 60)"),
         CMDLINE_OFFLINE | CMDLINE_EDIT | CMDLINE_FARM, "%s is only used with --capture, --bench, --video or --edit"),
    only(text("--json", "FILE", &cmdline::json, "with --bench: write the report to FILE as JSON too"), CMDLINE_BENCH,
         "%s is only used with --bench"),
    only(whole("--passes", "N", &cmdline::passes, 1, CMDLINE_MAX_PASSES, "a whole number of passes from %d to %d",
               "with --bench: play the timeline N times without reloading,\nreport the peak resident memory of each "
               "pass and fail\nwhen it keeps growing after the first"),
         CMDLINE_BENCH, "%s is only used with --bench"),
    flag("--check", &cmdline::check, 1,
         "read the script and load every section's files (whatever\ndemostart and demoend say), print every fault "
         "found, play\nnothing; exit status 255 when there was a fault, else 0"),
    flag("--list-types", &cmdline::list_types, 1, "print the section type names and exit"),
    flag("--edit", &cmdline::edit, 1,
         "edit mode: play in a window that follows every save of the\nscript and the files it names, with pause, "
         "seek, loop\nand a timeline view (keys below); --fps N puts it on a\nfixed step of 1/N s per frame"),
    only(text("--control", "FILE", &cmdline::control,
              "with --edit: read commands from FILE (a named pipe, or -\nfor standard input), one a line: seek TIME, "
              "pause,\nplay, step N, loop A B, loop off, reload, still FILE.png,\nshot FILE.png (the window as shown, "
              "view included),\nstatus, timeline (shows or hides the view), key NAME\n(presses a key below: p, ], "
              "shift+], pageup, tab...), quit;\ntrack NAME (prints its value now), key NAME TIME VALUE\n"
              "[step|linear|smooth|ramp], unkey NAME TIME"),
         CMDLINE_EDIT, "%s is only used with --edit"),
    only(optional("--tracker", "[HOST[:PORT]]", &cmdline::tracker,
                  "with --edit: follow a sync-tracker editor listening at\nHOST:PORT (default localhost:1338): its "
                  "keys drive the\ntracks, its cursor seeks, it pauses and plays the show and\nsaves the tracks; "
                  "HOST is read as such when it holds a ':'\nor a show folder follows it"),
         CMDLINE_EDIT, "%s is only used with --edit"),
    naming(text("--new", "DIR", &cmdline::new_dir, "write a starter show into the new folder DIR and exit"),
           "a folder name"),
    only(whole("--bpm", "N", &cmdline::bpm, 1, CMDLINE_MAX_BPM, "a whole number of beats per minute from %d to %d",
               "with --new: its tempo in beats per minute (default 120)"),
         CMDLINE_NEW, "--bpm and --length are only used with --new"),
    only(seconds("--length", "SECONDS", &cmdline::length, 0, CMDLINE_MAX_LENGTH,
                 "a number of seconds above %d, at most %d", "with --new: its length (default 20)"),
         CMDLINE_NEW, "--bpm and --length are only used with --new"),
    flag("--analyse", &cmdline::analyse, 1,
         "find the tempo, first downbeat, beats and onsets of the\nshow's music (or of SHOW_DIR given as FILE.mp3) "
         "and print\nthem as script lines; exit status 1 when it has no steady\ntempo"),
    only(flag("--write", &cmdline::write, 1,
              "with --analyse: set bpm and beat_offset in the script's\nhead (the old script kept as script.txt~) and "
              "write the\nonsets to data/tracks/onsets.txt"),
         CMDLINE_ANALYSE, "%s is only used with --analyse"),
    only(flag("--force", &cmdline::force, 1,
              "with --write: replace a bpm or beat_offset the script sets\ndifferently"),
         CMDLINE_WRITE, "%s is only used with --analyse --write"),
    flag("--describe", &cmdline::describe, 1,
         "print the head settings and what every section type\nreads (or only TYPE) and exit", "[TYPE]"),
    flag("--reference", &cmdline::reference, 1, "print the same as a Markdown page and exit"),
    flag("--help", &cmdline::help, 1, "show this text and exit"),
    flag("-h", &cmdline::help, 1, nullptr),
    flag("--version", &cmdline::version, 1, "show the version and exit"),
};

const int CMDLINE_OPTION_COUNT = sizeof cmdline_options / sizeof cmdline_options[0];

const cmdline_option* cmdline_option_find(const char* name) {
    for (int i = 0; i < CMDLINE_OPTION_COUNT; ++i)
        if (std::strcmp(name, cmdline_options[i].name) == 0) return &cmdline_options[i];
    return nullptr;
}

// ---------------------------------------------------------------------------
// The usage text
// ---------------------------------------------------------------------------

// The help column; an option too wide to leave two blanks before it has its
// help on the lines below.
enum { HELP_COLUMN = 18 };

static std::string usage_from_table() {
    std::string text =
        "Usage: quillon [options] [SHOW_DIR]\n"
        "Plays the show in SHOW_DIR (default: the current folder) from its data/script.txt.\n"
        "\n"
        "Options:\n";
    for (const cmdline_option& row : cmdline_options) {
        if (!row.help) continue;
        std::string head = std::string("  ") + row.name + (row.value ? std::string(" ") + row.value : "");
        if (head.size() + 2 > HELP_COLUMN) head += "\n" + std::string(HELP_COLUMN, ' ');
        else head.resize(HELP_COLUMN, ' ');
        char help[1024];
        std::snprintf(help, sizeof help, row.help, row.low, row.high);
        text += head;
        for (const char* c = help; *c; ++c) text += *c == '\n' ? "\n" + std::string(HELP_COLUMN, ' ') : std::string(1, *c);
        text += "\n";
    }
    return text +
           "\n"
           "Edit mode keys: P pause/play; [ and ] seek 1 s back/forward (with Shift:\n"
           "  10 s); , and . step one frame back/forward while paused; PageUp/PageDown\n"
           "  previous/next section start; Left/Right previous/next bar (with Shift:\n"
           "  beat) of bpm and beat_offset; I and O set the loop's in and out at the\n"
           "  current time, L clears the loop; Home restarts from demostart; R reloads;\n"
           "  Tab shows the timeline view (with the music's waveform, onsets and the\n"
           "  beat and bar grid). Escape quits.\n"
           "\n"
           "--capture, --video and --bench draw offscreen at --size (16x16 up to the\n"
           "driver's limit) and need no display; with --windowed they draw in a window.\n"
           "SIGINT or SIGTERM stops them as Escape does, keeping what was written.\n";
}

const char* cmdline_usage() {
    static const std::string text = usage_from_table();
    return text.c_str();
}
