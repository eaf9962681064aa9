// The whole-show check. The engine's fatal error path collects instead of
// stopping while it runs (core/fatal), the script reader goes on after a
// faulty line, and loading_check() tries every loading step; this file only
// strings them together and counts what was reported.
#include "app/check.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/cmdline.h"
#include "core/fatal.h"
#include "core/script.h"
#include "core/script_time.h"
#include "core/section.h"
#include "core/settings.h"
#include "core/track.h"
#include "platform/font.h"
#include "platform/music.h"
#include "platform/sound.h"
#include "platform/video.h"
#include "show/engine.h"
#include "show/loading.h"

namespace {

int faults = 0;

void report_fault(const char* message) {
    std::fprintf(stderr, "Error: %s\n", message);
    std::fflush(stderr);
    ++faults;
}

void warn_unplayed_sections() {
    for (const section* s = section_list; s; s = s->next) {
        if (loading_section_plays(s) || script_span_refused(s)) continue;
        fatal_warning("%s at line %d (%g to %g s) lies outside demostart %g .. demoend %g and is not played",
                      section_types[s->type].name, s->line, s->start, s->end, demostart, demoend);
    }
}

// The GL context the loaders upload into. The one place the check opens it:
// a window today (hidden under Xvfb in the tests), an offscreen context once
// the engine has one.
int check_open_context() {
    gl_fullscreen = 0;
    gl_info = 0;  // the check writes no driver report
    video_offscreen = 1;  // no window, and no display needed
    return fatal_attempt_call([] { video_start(); });
}

// The soundtrack is only read, not played: the check opens no sound device.
// Its length in seconds, or -1 when the show plays none or it is unreadable.
double check_soundtrack() {
    if (!snd_enable) return -1;
    double seconds = -1;
    fatal_attempt_call([&seconds] {
        std::vector<unsigned char> bytes;
        music_read_file(&bytes);
        sound_stream* stream = sound_stream_open_memory(bytes.data(), bytes.size());
        if (!stream) fatal_error("%s: %s", sound_error_text(sound_error()), snd_mp3file);
        seconds = static_cast<double>(sound_stream_length(stream)) / SOUND_RATE;
        sound_stream_close(stream);
    });
    return seconds;
}

// The end of the last section that plays (demoend when it comes first).
float played_end() {
    float end = demostart;
    for (const section* s = section_list; s; s = s->next)
        if (loading_section_plays(s) && s->end > end) end = s->end;
    return demoend > 0 && demoend < end ? demoend : end;
}

// Sections that play past the music's end play on in silence: worth a word.
void warn_past_soundtrack(double music_seconds) {
    if (music_seconds < 0) return;
    for (const section* s = section_list; s; s = s->next)
        if (s->type != 0 && loading_section_plays(s) && s->end > music_seconds + 0.001)
            fatal_warning("%s at line %d runs to %g s, past the end of the soundtrack %s (%.3f s)",
                          section_types[s->type].name, s->line, s->end, snd_mp3file, music_seconds);
}

// One line on a show that passed: what plays, for how long, at what tempo,
// to what music.
void print_summary(double music_seconds) {
    int played = 0;
    for (const section* s = section_list; s; s = s->next) played += loading_section_plays(s);
    float end = played_end();
    char from[32] = "", to[32] = "", tempo[96] = "no bpm";
    script_time_bar_beat(demostart, {bpm, beat_offset}, from, sizeof from);
    script_time_bar_beat(end, {bpm, beat_offset}, to, sizeof to);
    if (bpm > 0) std::snprintf(tempo, sizeof tempo, "%g BPM, %s to %s", bpm, from[0] ? from : "-", to[0] ? to : "-");
    char music[300] = "no soundtrack";
    if (music_seconds >= 0) std::snprintf(music, sizeof music, "soundtrack %s of %.3f s", snd_mp3file, music_seconds);
    std::printf("OK: %s, %d sections play from %g to %g s (%s), %s\n", script_path, played, demostart, end, tempo,
                music);
}

// The name of the track a file of data/tracks/ holds, or "" for a file that
// is not a track: NAME.txt, or sync_NAME.track with its -XX escapes undone.
std::string track_name_of(const std::string& file) {
    auto ends = [&](const std::string& end) {
        return file.size() > end.size() && file.compare(file.size() - end.size(), end.size(), end) == 0;
    };
    if (ends(".txt")) return file.substr(0, file.size() - 4);
    if (!ends(".track") || file.compare(0, 5, "sync_") != 0) return "";
    std::string coded = file.substr(5, file.size() - 11), name;
    for (size_t i = 0; i < coded.size(); ++i) {
        if (coded[i] == '-' && i + 2 < coded.size() && std::isxdigit(static_cast<unsigned char>(coded[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(coded[i + 2]))) {
            name += static_cast<char>(std::stoi(coded.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            name += coded[i];
        }
    }
    return name;
}

// Every track of the show's data/tracks/ folder is read, named by a param
// or not: a track written for later is checked now, with the script's
// tempo. A script without one (an example beside the show, say) has only
// the tracks it names read: the others may count in beats.
void check_tracks() {
    if (!(bpm > 0)) return;
    std::error_code error;
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator("data/tracks", error))
        files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    for (const std::string& file : files) {
        std::string name = track_name_of(file);
        if (name.empty()) continue;
        fatal_attempt_call([&] {
            track_ref ref;
            std::string fault;
            if (!track_resolve(name.c_str(), {bpm, beat_offset}, rows_per_beat, &ref, &fault) && !fault.empty())
                fatal_error("%s", fault.c_str());
        });
    }
}

}  // namespace

int check_show(const cmdline* options) {
    faults = 0;
    fatal_collect(report_fault);
    // Faults inside the script are collected line by line; this attempt
    // fails only when there is no script to read.
    if (!fatal_attempt_call([] { read_script(); })) return 255;
    cmdline_apply(options);
    check_tracks();
    warn_unplayed_sections();
    double music_seconds = check_soundtrack();
    warn_past_soundtrack(music_seconds);
    if (check_open_context()) {
        loading_check();
        fatal_attempt_call([] { font_start(); });
    }
    fatal_collect(nullptr);
    shut_down();
    if (!faults) print_summary(music_seconds);
    return faults ? 255 : 0;
}

void check_list_types() {
    for (const section_type& row : section_types) std::printf("%s\n", row.name);
}
