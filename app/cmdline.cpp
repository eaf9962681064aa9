// Command-line parsing for the player, kept apart from main so it can be
// tested as a pure function.
#include "app/cmdline.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include <iterator>
#include <vector>

#include "core/fatal.h"
#include "core/nearest.h"
#include "core/script_time.h"
#include "app/new_show.h"
#include "core/clock.h"
#include "core/settings.h"

const char* cmdline_usage() {
    return "Usage: quillon [options] [SHOW_DIR]\n"
           "Plays the show in SHOW_DIR (default: the current folder) from its data/script.txt.\n"
           "\n"
           "Options:\n"
           "  --script FILE   read FILE instead of data/script.txt (paths inside it\n"
           "                  stay relative to the show folder)\n"
           "  --windowed      play in a window, whatever gl_fullscreen says\n"
           "  --fullscreen    play full screen, whatever gl_fullscreen says\n"
           "  --mute          play without sound (as if snd_enable were 0)\n"
           "  --size WxH      window of W x H pixels instead of gl_width x gl_height\n"
           "  --start TIME    begin at TIME instead of demostart (the music follows);\n"
           "                  a time is seconds (12.5), beats (16b) or bar:beat (8:2),\n"
           "                  beats with the show's bpm and beat_offset\n"
           "  --end TIME      stop at TIME instead of demoend (0: no end)\n"
           "  --capture DIR   render offline on a fixed step: every frame to\n"
           "                  DIR/frame_000000.png, ..., the soundtrack (if the show\n"
           "                  plays one) to DIR/audio.wav\n"
           "  --video FILE    render offline on a fixed step into one video file with\n"
           "                  the soundtrack: FILE.mp4 (H.264, AAC), .mkv (H.264, FLAC)\n"
           "                  or .webm (VP9, Opus)\n"
           "  --crf N         with --video: quality, 0 (best) to 51 (default 20 for\n"
           "                  H.264, 32 for VP9)\n"
           "  --lossless      with --video FILE.mkv: FFV1 RGB pictures and FLAC sound,\n"
           "                  the exact frames, for archives\n"
           "  --frames FIRST:END\n"
           "                  with --video: render only frames FIRST to END-1 of the run\n"
           "                  (frame k at k / fps from its start), pictures only, as one\n"
           "                  piece for --join; a piece already rendered is kept\n"
           "  --join FILE PIECE...\n"
           "                  check the pieces, join them into FILE without encoding\n"
           "                  them again and add the soundtrack once\n"
           "  --farm DIR      write plans that render the show in --pieces N pieces on\n"
           "                  GNU parallel (DIR/parallel.sh), Slurm (DIR/slurm.sh) or\n"
           "                  Kubernetes (DIR/kubernetes.yaml) and join them into the\n"
           "                  file of --video (default DIR/show.mp4)\n"
           "  --pieces N      with --farm: how many pieces (1 to 10000)\n"
           "  --sshlogin HOSTS\n"
           "                  with --farm: GNU parallel runs the pieces on these hosts\n"
           "                  (its --sshlogin list; the folders must be shared)\n"
           "  --rtt WxH       render target of W x H pixels instead of gl_rttWidth x\n"
           "                  gl_rttHeight (reduced to fit a smaller output)\n"

           "  --bench         play on the fixed step and report the time of every\n"
           "                  section, frame and loading step\n"
           "  --fps N         frames per second of --capture, --video and --bench\n"
           "                  (default 60)\n"
           "  --json FILE     with --bench: write the report to FILE as JSON too\n"
           "  --passes N      with --bench: play the timeline N times without reloading,\n"
           "                  report the peak resident memory of each pass and fail\n"
           "                  when it keeps growing after the first\n"
           "  --check         read the script and load every section's files (whatever\n"
           "                  demostart and demoend say), print every fault found, play\n"
           "                  nothing; exit status 255 when there was a fault, else 0\n"
           "  --list-types    print the section type names and exit\n"
           "  --edit          edit mode: play in a window that follows every save of the\n"
           "                  script and the files it names, with pause, seek, loop\n"
           "                  and a timeline view (keys below); --fps N puts it on a\n"
           "                  fixed step of 1/N s per frame\n"
           "  --control FILE  with --edit: read commands from FILE (a named pipe, or -\n"
           "                  for standard input), one a line: seek TIME, pause,\n"
           "                  play, step N, loop A B, loop off, reload, still FILE.png,\n"
           "                  shot FILE.png (the window as shown, view included),\n"
           "                  status, timeline (shows or hides the view), key NAME\n"
           "                  (presses a key below: p, ], shift+], pageup, tab...), quit;\n"
           "                  track NAME (prints its value now), key NAME TIME VALUE\n"
           "                  [step|linear|smooth|ramp], unkey NAME TIME\n"
           "  --tracker [HOST[:PORT]]\n"
           "                  with --edit: follow a sync-tracker editor listening at\n"
           "                  HOST:PORT (default localhost:1338): its keys drive the\n"
           "                  tracks, its cursor seeks, it pauses and plays the show and\n"
           "                  saves the tracks; HOST is read as such when it holds a ':'\n"
           "                  or a show folder follows it\n"
           "  --new DIR       write a starter show into the new folder DIR and exit\n"
           "  --bpm N         with --new: its tempo in beats per minute (default 120)\n"
           "  --length SECONDS\n"
           "                  with --new: its length (default 20)\n"
           "  --analyse       find the tempo, first downbeat, beats and onsets of the\n"
           "                  show's music (or of SHOW_DIR given as FILE.mp3) and print\n"
           "                  them as script lines; exit status 1 when it has no steady\n"
           "                  tempo\n"
           "  --write         with --analyse: set bpm and beat_offset in the script's\n"
           "                  head (the old script kept as script.txt~) and write the\n"
           "                  onsets to data/tracks/onsets.txt\n"
           "  --force         with --write: replace a bpm or beat_offset the script sets\n"
           "                  differently\n"
           "  --describe [TYPE]\n"
           "                  print the head settings and what every section type\n"
           "                  reads (or only TYPE) and exit\n"
           "  --reference     print the same as a Markdown page and exit\n"
           "  --help          show this text and exit\n"
           "  --version       show the version and exit\n"
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

static const char* const VALUE_OPTIONS[] = {"--script", "--capture", "--fps",     "--json",  "--size",
                                            "--start",  "--end",     "--passes",  "--control", "--new",
                                            "--bpm",    "--length",  "--video",   "--crf",   "--rtt",
                                            "--frames", "--join",    "--farm",    "--pieces", "--sshlogin"};

static int takes_value(const char* option) {
    for (const char* name : VALUE_OPTIONS)
        if (std::strcmp(option, name) == 0) return 1;
    return 0;
}

// A whole decimal number from `low` to `high` filling all of `text`.
static int parse_int(const char* text, int low, int high, int* out) {
    if (!*text || *text == '+' || std::isspace(static_cast<unsigned char>(*text))) return 0;
    errno = 0;
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (errno || *end || value < low || value > high) return 0;
    *out = static_cast<int>(value);
    return 1;
}

// A finite number of seconds, 0 or more, filling all of `text`.
static int parse_seconds(const char* text, float* out) {
    if (!*text || std::isspace(static_cast<unsigned char>(*text))) return 0;
    char* end = nullptr;
    float value = std::strtof(text, &end);
    if (*end || !std::isfinite(value) || value < 0) return 0;
    *out = value;
    return 1;
}

// A time in any of the script's forms. One in beats is read here with a
// stand-in tempo, for its form only: cmdline_apply reads it again with the
// show's.
static int parse_time(cmdline* out, const char* option, const char* value, float* seconds, int* in_beats) {
    const script_tempo stand_in = {120, 0};
    const char* why = script_time_read(value, stand_in, seconds, in_beats);
    if (!why && *seconds < 0) why = "a time must be 0 or more";
    if (why) std::snprintf(out->value_error, sizeof out->value_error, "%s %s: %s", option, value, why);
    return !why;
}

// Two whole numbers joined by one of `separators`, each within its limits.
static int parse_pair(const char* text, const char* separators, const int limits[4], int* a, int* b) {
    const char* middle = std::strpbrk(text, separators);
    if (!middle || middle == text) return 0;
    char left[16];
    size_t length = static_cast<size_t>(middle - text);
    if (length >= sizeof left) return 0;
    std::memcpy(left, text, length);
    left[length] = '\0';
    return parse_int(left, limits[0], limits[1], a) && parse_int(middle + 1, limits[2], limits[3], b);
}

// "FIRST:END", whole frame numbers with FIRST below END.
static int parse_frames(const char* text, int* first, int* end) {
    static const int limits[4] = {0, 0x7fffffff, 1, 0x7fffffff};
    return parse_pair(text, ":", limits, first, end) && *first < *end;
}

// "WxH" (or "WXH"), both sides from 1 to CMDLINE_MAX_SIZE.
static int parse_size(const char* text, int* width, int* height) {
    static const int limits[4] = {1, CMDLINE_MAX_SIZE, 1, CMDLINE_MAX_SIZE};
    return parse_pair(text, "xX", limits, width, height);
}

static void value_error(cmdline* out, const char* option, const char* value) {
    const char* rule = "";
    if (std::strcmp(option, "--fps") == 0) rule = "a whole number of frames per second from 1 to 1000";
    else if (std::strcmp(option, "--size") == 0) rule = "WIDTHxHEIGHT, both whole numbers from 1 to 16384";
    else if (std::strcmp(option, "--passes") == 0) rule = "a whole number of passes from 1 to 1000";
    else if (std::strcmp(option, "--bpm") == 0) rule = "a whole number of beats per minute from 1 to 300";
    else if (std::strcmp(option, "--length") == 0) rule = "a number of seconds above 0, at most 600";
    else if (std::strcmp(option, "--rtt") == 0) rule = "WIDTHxHEIGHT, both whole numbers from 1 to 16384";
    else if (std::strcmp(option, "--crf") == 0) rule = "a whole number from 0 to 51";
    else if (std::strcmp(option, "--frames") == 0) rule = "FIRST:END, whole frame numbers with FIRST below END";
    else if (std::strcmp(option, "--pieces") == 0) rule = "a whole number of pieces from 1 to 10000";
    else rule = "a number of seconds, 0 or more";
    std::snprintf(out->value_error, sizeof out->value_error, "%s must be %s, not '%s'", option, rule, value);
}

// Stores the value of one of the options that take one.
static void take_value(cmdline* out, const char* option, const char* value) {
    int ok = 1;
    if (std::strcmp(option, "--script") == 0) out->script = value;
    else if (std::strcmp(option, "--capture") == 0) out->capture_dir = value;
    else if (std::strcmp(option, "--json") == 0) out->json = value;
    else if (std::strcmp(option, "--control") == 0) out->control = value;
    else if (std::strcmp(option, "--new") == 0) out->new_dir = value;
    else if (std::strcmp(option, "--bpm") == 0) ok = parse_int(value, 1, CMDLINE_MAX_BPM, &out->bpm);
    else if (std::strcmp(option, "--length") == 0) ok = parse_seconds(value, &out->length) && out->length > 0 &&
                                                    out->length <= CMDLINE_MAX_LENGTH;
    else if (std::strcmp(option, "--fps") == 0) ok = parse_int(value, 1, CMDLINE_MAX_FPS, &out->offline_fps);
    else if (std::strcmp(option, "--size") == 0) ok = parse_size(value, &out->width, &out->height);
    else if (std::strcmp(option, "--passes") == 0) ok = parse_int(value, 1, CMDLINE_MAX_PASSES, &out->passes);
    else if (std::strcmp(option, "--video") == 0) out->video = value;
    else if (std::strcmp(option, "--crf") == 0) ok = parse_int(value, 0, CMDLINE_MAX_CRF, &out->crf);
    else if (std::strcmp(option, "--rtt") == 0) ok = parse_size(value, &out->rtt_width, &out->rtt_height);
    else if (std::strcmp(option, "--frames") == 0)
        ok = out->has_frames = parse_frames(value, &out->frame_first, &out->frame_end);
    else if (std::strcmp(option, "--join") == 0) out->join = value;
    else if (std::strcmp(option, "--farm") == 0) out->farm = value;
    else if (std::strcmp(option, "--pieces") == 0) ok = parse_int(value, 1, CMDLINE_MAX_PIECES, &out->farm_pieces);
    else if (std::strcmp(option, "--sshlogin") == 0) out->sshlogin = value;
    else if (std::strcmp(option, "--start") == 0) {
        out->start_text = value;
        ok = out->has_start = parse_time(out, option, value, &out->start, &out->start_in_beats);
    } else {
        out->end_text = value;
        ok = out->has_end = parse_time(out, option, value, &out->end, &out->end_in_beats);
    }
    if (!ok && !out->value_error[0]) value_error(out, option, value);
}

// Pieces, joins and plans: what goes with what.
static void check_pieces(cmdline* out) {
    char* message = out->value_error;
    size_t size = sizeof out->value_error;
    if (out->join && (out->video || out->capture_dir || out->bench || out->edit || out->check || out->farm))
        std::snprintf(message, size,
                      "--join cannot be combined with --video, --capture, --bench, --edit, --check or --farm");
    else if (out->join && (out->offline_fps || out->width || out->crf >= 0 || out->lossless || out->has_start ||
                           out->has_end || out->rtt_width))
        std::snprintf(message, size, "--join takes the size, rate, span and quality from its pieces");
    else if (out->join && !cmdline_names_video(out->join))
        std::snprintf(message, size, "--join needs a file name ending in .mp4, .mkv or .webm, not '%s'", out->join);
    else if (out->join && out->pieces.empty())
        std::snprintf(message, size, "--join %s needs the pieces to join", out->join);
    else if (out->farm && (out->capture_dir || out->bench || out->edit || out->check || out->has_frames))
        std::snprintf(message, size, "--farm cannot be combined with --capture, --bench, --edit, --check or --frames");
    else if (out->farm && !out->farm[0])
        std::snprintf(message, size, "--farm needs a folder name");
    else if (out->farm && !out->farm_pieces)
        std::snprintf(message, size, "--farm needs --pieces N");
    else if (out->farm_pieces && !out->farm)
        std::snprintf(message, size, "--pieces is only used with --farm");
    else if (out->sshlogin && !out->farm)
        std::snprintf(message, size, "--sshlogin is only used with --farm");
    else if (out->has_frames && !out->video)
        std::snprintf(message, size, "--frames is only used with --video");
}

// Options that only make sense together.
static void check_combinations(cmdline* out) {
    char* message = out->value_error;
    size_t size = sizeof out->value_error;
    if (message[0]) return;
    check_pieces(out);
    if (message[0]) return;
    if (out->capture_dir && out->bench)
        std::snprintf(message, size, "--capture and --bench cannot be combined");
    else if (out->video && (out->capture_dir || out->bench))
        std::snprintf(message, size, "--video cannot be combined with --capture or --bench");
    else if (out->check && cmdline_offline(out))
        std::snprintf(message, size, "--check cannot be combined with --capture, --bench or --video");
    else if (out->check && out->edit)
        std::snprintf(message, size, "--check cannot be combined with --edit");
    else if (out->edit && cmdline_offline(out))
        std::snprintf(message, size, "--edit cannot be combined with --capture, --bench or --video");
    else if (out->offline_fps && !cmdline_offline(out) && !out->edit && !out->farm)
        std::snprintf(message, size, "--fps is only used with --capture, --bench, --video or --edit");
    else if (out->control && !out->edit)
        std::snprintf(message, size, "--control is only used with --edit");
    else if (out->tracker && !out->edit)
        std::snprintf(message, size, "--tracker is only used with --edit");
    else if ((out->crf >= 0 || out->lossless) && !out->video && !out->farm)
        std::snprintf(message, size, "%s is only used with --video", out->lossless ? "--lossless" : "--crf");
    else if (out->crf >= 0 && out->lossless)
        std::snprintf(message, size, "--crf and --lossless cannot be combined");
    else if (out->video && !out->video[0])
        std::snprintf(message, size, "--video needs a file name");
    else if (cmdline_offline(out) && out->width &&
             (out->width < CMDLINE_MIN_OFFLINE_SIZE || out->height < CMDLINE_MIN_OFFLINE_SIZE))
        std::snprintf(message, size, "--size must be at least %dx%d for offline rendering, not %dx%d",
                      CMDLINE_MIN_OFFLINE_SIZE, CMDLINE_MIN_OFFLINE_SIZE, out->width, out->height);
    else if (out->json && !out->bench)
        std::snprintf(message, size, "--json is only used with --bench");
    else if (out->passes && !out->bench)
        std::snprintf(message, size, "--passes is only used with --bench");
    else if ((out->bpm || out->length > 0) && !out->new_dir)
        std::snprintf(message, size, "--bpm and --length are only used with --new");
    else if (out->new_dir && !out->new_dir[0])
        std::snprintf(message, size, "--new needs a folder name");
    else if (out->new_dir && out->show_dir)
        std::snprintf(message, size, "--new %s takes no show folder besides", out->new_dir);
    else if (out->length > 0 && out->length < 240.0f / (out->bpm ? out->bpm : NEW_SHOW_BPM))
        std::snprintf(message, size, "--length %g is shorter than one bar at %d BPM (%g s)", out->length,
                      out->bpm ? out->bpm : NEW_SHOW_BPM, 240.0 / (out->bpm ? out->bpm : NEW_SHOW_BPM));
    else if (out->analyse && (cmdline_offline(out) || out->edit || out->check || out->new_dir))
        std::snprintf(message, size, "--analyse cannot be combined with --capture, --bench, --video, --edit, --check or --new");
    else if (out->write && !out->analyse)
        std::snprintf(message, size, "--write is only used with --analyse");
    else if (out->force && !out->write)
        std::snprintf(message, size, "--force is only used with --analyse --write");
    else if (out->capture_dir && !out->capture_dir[0])
        std::snprintf(message, size, "--capture needs a folder name");
    else if (out->has_start && out->has_end && !out->start_in_beats && !out->end_in_beats && out->end > 0 &&
             out->end <= out->start)
        std::snprintf(message, size, "--end %s must be after --start %s", out->end_text, out->start_text);
}

// The options that take no value: each sets one field of the record.
struct switch_option {
    const char* name;
    int cmdline::*field;
    int value;
};

static const switch_option SWITCHES[] = {
        {"--windowed", &cmdline::fullscreen, 0}, {"--fullscreen", &cmdline::fullscreen, 1},
        {"--mute", &cmdline::mute, 1},           {"--bench", &cmdline::bench, 1},
        {"--edit", &cmdline::edit, 1},           {"--lossless", &cmdline::lossless, 1},
        {"--help", &cmdline::help, 1},           {"-h", &cmdline::help, 1},
        {"--version", &cmdline::version, 1},     {"--check", &cmdline::check, 1},
        {"--list-types", &cmdline::list_types, 1}, {"--describe", &cmdline::describe, 1},
        {"--reference", &cmdline::reference, 1}, {"--analyse", &cmdline::analyse, 1},
        {"--write", &cmdline::write, 1},         {"--force", &cmdline::force, 1},
};

static const switch_option* find_switch(const char* arg) {
    for (const switch_option& option : SWITCHES)
        if (std::strcmp(arg, option.name) == 0) return &option;
    return nullptr;
}

// The option nearest to a misspelt one, as the tail of its message.
static std::string option_hint(const char* arg) {
    std::vector<const char*> names(std::begin(VALUE_OPTIONS), std::end(VALUE_OPTIONS));
    for (const switch_option& option : SWITCHES) names.push_back(option.name);
    return nearest_hint(arg, names.data(), static_cast<int>(names.size()));
}

// With --join every video file named is a piece and the one other name the
// show folder; without it there is one show folder.
static void sort_positionals(cmdline* out) {
    if (!out->join) {
        if (!out->pieces.empty()) {
            out->error = "more than one show folder:";
            out->error_arg = out->pieces[0];
        }
        return;
    }
    if (out->show_dir && cmdline_names_video(out->show_dir)) {
        out->pieces.insert(out->pieces.begin(), out->show_dir);
        out->show_dir = nullptr;
    }
    for (size_t i = 0; i < out->pieces.size(); ++i) {
        if (cmdline_names_video(out->pieces[i])) continue;
        if (out->show_dir) {
            out->error = "more than one show folder:";
            out->error_arg = out->pieces[i];
            return;
        }
        out->show_dir = out->pieces[i];
        out->pieces.erase(out->pieces.begin() + static_cast<long>(i--));
    }
}

cmdline cmdline_parse(int argc, char** argv) {
    cmdline out = {};
    out.fullscreen = -1;
    out.crf = -1;
    for (int i = 1; i < argc && !out.error; ++i) {
        const char* arg = argv[i];
        if (takes_value(arg)) {
            if (i + 1 >= argc) {
                out.error = "missing value for";
                out.error_arg = arg;
                break;
            }
            take_value(&out, arg, argv[++i]);
        } else if (std::strcmp(arg, "--tracker") == 0) {
            // Its HOST[:PORT] is optional: a next word holding a ':', or
            // followed by another word that is not an option (the show).
            const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
            bool host = next && next[0] != '-' &&
                        (std::strchr(next, ':') || (i + 2 < argc && argv[i + 2][0] != '-'));
            out.tracker = host ? argv[++i] : "";
        } else if (const switch_option* option = find_switch(arg)) {
            out.*option->field = option->value;
        } else if (arg[0] == '-' && arg[1] != '\0') {
            out.error = "unknown option";
            out.error_arg = arg;
            out.hint = option_hint(arg);
        } else if (!out.show_dir) {
            out.show_dir = arg;
        } else if (cmdline_names_video(arg) || out.join) {
            out.pieces.push_back(arg);  // a piece of --join, which may still come
        } else {
            out.error = "more than one show folder:";
            out.error_arg = arg;
        }
    }
    if (!out.error) sort_positionals(&out);
    if (!out.error) check_combinations(&out);
    if ((cmdline_offline(&out) || out.farm) && !out.offline_fps) out.offline_fps = CMDLINE_DEFAULT_FPS;
    return out;
}

int cmdline_names_video(const char* path) {
    size_t n = std::strlen(path);
    for (const char* extension : {".mp4", ".mkv", ".webm"}) {
        size_t m = std::strlen(extension);
        if (n > m && strcasecmp(path + n - m, extension) == 0) return 1;
    }
    return 0;
}

// --video names the plans' output with --farm, which renders nothing itself.
int cmdline_offline(const cmdline* options) {
    return !options->farm && (options->capture_dir || options->bench || options->video);
}

int cmdline_offscreen(const cmdline* options) { return cmdline_offline(options) && options->fullscreen != 0; }

// A --start or --end time in the show's tempo, read once the script has set it.
static float show_time(const char* option, const char* text, float seconds, int in_beats) {
    if (!in_beats) return seconds;
    const char* why = script_time_read(text, {bpm, beat_offset}, &seconds, nullptr);
    if (why) fatal_error("%s %s: %s", option, text, why);
    return seconds;
}

void cmdline_apply(const cmdline* options) {
    if (options->fullscreen >= 0) gl_fullscreen = options->fullscreen;
    if (cmdline_offline(options)) gl_fullscreen = 0;
    if (options->mute) snd_enable = 0;
    if (options->width > 0) {
        gl_width = options->width;
        gl_height = options->height;
    }
    if (options->rtt_width > 0) {
        gl_rttWidth = options->rtt_width;
        gl_rttHeight = options->rtt_height;
    }
    // Frames on the fixed step keep to the script's grid wherever a run
    // begins, so a run started later draws the frames of the whole run.
    clock_set_step_origin(demostart);
    // The engine's folder is not the viewer's to write a driver report into.
    if (options->plays_engine_show) gl_info = 0;
    if (options->has_start) demostart = show_time("--start", options->start_text, options->start, options->start_in_beats);
    if (options->has_end) demoend = show_time("--end", options->end_text, options->end, options->end_in_beats);
    if (options->has_start && options->has_end && demoend > 0 && demoend <= demostart)
        fatal_error("--end %s (%g s) must be after --start %s (%g s)", options->end_text, demoend, options->start_text,
                    demostart);
}
