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

#include <vector>

#include "app/cmdline_table.h"
#include "app/new_show.h"
#include "core/clock.h"
#include "core/fatal.h"
#include "core/nearest.h"
#include "core/script_time.h"
#include "core/settings.h"

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

// What `row` says of a value it refuses: "--fps must be a whole number of
// frames per second from 1 to 1000, not '0'".
static void value_error(cmdline* out, const cmdline_option& row, const char* value) {
    char rule[64];  // the longest rule is 51 characters
    std::snprintf(rule, sizeof rule, row.rule, row.low, row.high);
    std::snprintf(out->value_error, sizeof out->value_error, "%s must be %s, not '%s'", row.name, rule, value);
}

// Reads `value` into the fields `row` binds, as its kind says.
static void take_value(cmdline* out, const cmdline_option& row, const char* value) {
    const int sides[4] = {row.low, row.high, row.low, row.high};
    const int frames[4] = {0, 0x7fffffff, 1, 0x7fffffff};
    int ok = 1;
    if (row.text) out->*row.text = value;
    switch (row.kind) {
    case CMDLINE_WHOLE: ok = parse_int(value, row.low, row.high, &(out->*row.number)); break;
    case CMDLINE_SECONDS:
        ok = parse_seconds(value, &(out->*row.seconds)) && out->*row.seconds > row.low &&
             out->*row.seconds <= row.high;
        break;
    case CMDLINE_SIZE: ok = parse_pair(value, "xX", sides, &(out->*row.number), &(out->*row.second)); break;
    case CMDLINE_FRAMES:
        ok = parse_pair(value, ":", frames, &(out->*row.number), &(out->*row.second)) &&
             out->*row.number < out->*row.second;
        break;
    case CMDLINE_TIME: ok = parse_time(out, row.name, value, &(out->*row.seconds), &(out->*row.number)); break;
    default: break;
    }
    if (row.given) out->*row.given = ok;
    if (!ok && !out->value_error[0]) value_error(out, row, value);
}

// The modes the line chooses, as the table's rows name them.
static unsigned chosen_modes(const cmdline* out) {
    return (out->capture_dir ? CMDLINE_CAPTURE : 0) | (out->bench ? CMDLINE_BENCH : 0) |
           (out->video ? CMDLINE_VIDEO : 0) | (out->edit ? CMDLINE_EDIT : 0) | (out->farm ? CMDLINE_FARM : 0) |
           (out->new_dir ? CMDLINE_NEW : 0) | (out->analyse ? CMDLINE_ANALYSE : 0) |
           (out->analyse && out->write ? CMDLINE_WRITE : 0);
}

// Options that cannot go together.
static const char* conflict(const cmdline* out) {
    if (out->join && (out->video || out->capture_dir || out->bench || out->edit || out->check || out->farm))
        return "--join cannot be combined with --video, --capture, --bench, --edit, --check or --farm";
    if (out->join && (out->offline_fps || out->width || out->crf >= 0 || out->lossless || out->has_start ||
                      out->has_end || out->rtt_width))
        return "--join takes the size, rate, span and quality from its pieces";
    if (out->farm && (out->capture_dir || out->bench || out->edit || out->check || out->has_frames))
        return "--farm cannot be combined with --capture, --bench, --edit, --check or --frames";
    if (out->capture_dir && out->bench) return "--capture and --bench cannot be combined";
    if (out->video && (out->capture_dir || out->bench)) return "--video cannot be combined with --capture or --bench";
    if (out->check && cmdline_offline(out)) return "--check cannot be combined with --capture, --bench or --video";
    if (out->check && out->edit) return "--check cannot be combined with --edit";
    if (out->edit && cmdline_offline(out)) return "--edit cannot be combined with --capture, --bench or --video";
    if (out->analyse && (cmdline_offline(out) || out->edit || out->check || out->new_dir))
        return "--analyse cannot be combined with --capture, --bench, --video, --edit, --check or --new";
    return nullptr;
}

// What the table says of the options given (`given[i]` for its row i): a
// name left empty, or an option outside the modes that take it.
static void check_rows(cmdline* out, const std::vector<char>& given) {
    unsigned modes = chosen_modes(out);
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < CMDLINE_OPTION_COUNT && !out->value_error[0]; ++i) {
            const cmdline_option& row = cmdline_options[i];
            if (!given[i]) continue;
            if (pass == 0 && row.names && !(out->*row.text)[0])
                std::snprintf(out->value_error, sizeof out->value_error, "%s needs %s", row.name, row.names);
            if (pass == 1 && row.modes && !(modes & row.modes))
                std::snprintf(out->value_error, sizeof out->value_error, row.alone, row.name);
        }
}

// Options that only make sense together.
static void check_combinations(cmdline* out, const std::vector<char>& given) {
    char* message = out->value_error;
    size_t size = sizeof out->value_error;
    if (message[0]) return;
    if (const char* why = conflict(out)) {
        std::snprintf(message, size, "%s", why);
        return;
    }
    if (out->join && !cmdline_names_video(out->join))
        std::snprintf(message, size, "--join needs a file name ending in .mp4, .mkv or .webm, not '%s'", out->join);
    else if (out->join && out->pieces.empty())
        std::snprintf(message, size, "--join %s needs the pieces to join", out->join);
    else if (out->farm && out->farm[0] && !out->farm_pieces)
        std::snprintf(message, size, "--farm needs --pieces N");
    if (message[0]) return;
    check_rows(out, given);
    if (message[0]) return;
    if (out->crf >= 0 && out->lossless)
        std::snprintf(message, size, "--crf and --lossless cannot be combined");
    else if (cmdline_offline(out) && out->width &&
        (out->width < CMDLINE_MIN_OFFLINE_SIZE || out->height < CMDLINE_MIN_OFFLINE_SIZE))
        std::snprintf(message, size, "--size must be at least %dx%d for offline rendering, not %dx%d",
                      CMDLINE_MIN_OFFLINE_SIZE, CMDLINE_MIN_OFFLINE_SIZE, out->width, out->height);
    else if (out->new_dir && out->show_dir)
        std::snprintf(message, size, "--new %s takes no show folder besides", out->new_dir);
    else if (out->length > 0 && out->length < 240.0f / (out->bpm ? out->bpm : NEW_SHOW_BPM))
        std::snprintf(message, size, "--length %g is shorter than one bar at %d BPM (%g s)", out->length,
                      out->bpm ? out->bpm : NEW_SHOW_BPM, 240.0 / (out->bpm ? out->bpm : NEW_SHOW_BPM));
    else if (out->has_start && out->has_end && !out->start_in_beats && !out->end_in_beats && out->end > 0 &&
             out->end <= out->start)
        std::snprintf(message, size, "--end %s must be after --start %s", out->end_text, out->start_text);
}

// The option nearest to a misspelt one, as the tail of its message.
static std::string option_hint(const char* arg) {
    std::vector<const char*> names;
    for (int i = 0; i < CMDLINE_OPTION_COUNT; ++i) names.push_back(cmdline_options[i].name);
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
    std::vector<char> given(CMDLINE_OPTION_COUNT);
    for (int i = 1; i < argc && !out.error; ++i) {
        const char* arg = argv[i];
        const cmdline_option* row = cmdline_option_find(arg);
        if (row) given[row - cmdline_options] = 1;
        if (row && row->kind == CMDLINE_SWITCH) {
            out.*row->number = row->high;
        } else if (row && row->kind == CMDLINE_OPTIONAL) {
            // Its value is optional: a next word holding a ':', or one
            // followed by another word that is not an option (the show).
            const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
            bool taken = next && next[0] != '-' &&
                         (std::strchr(next, ':') || (i + 2 < argc && argv[i + 2][0] != '-'));
            out.*row->text = taken ? argv[++i] : "";
        } else if (row) {
            if (i + 1 >= argc) {
                out.error = "missing value for";
                out.error_arg = arg;
                break;
            }
            take_value(&out, *row, argv[++i]);
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
    if (!out.error) check_combinations(&out, given);
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
