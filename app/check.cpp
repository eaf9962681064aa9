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
#include "core/section.h"
#include "core/settings.h"
#include "core/track.h"
#include "platform/font.h"
#include "platform/music.h"
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
void check_soundtrack() {
    if (!snd_enable) return;
    fatal_attempt_call([] {
        std::vector<unsigned char> bytes;
        music_read_file(&bytes);
    });
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
    check_soundtrack();
    if (check_open_context()) {
        loading_check();
        fatal_attempt_call([] { font_start(); });
    }
    fatal_collect(nullptr);
    shut_down();
    return faults ? 255 : 0;
}

void check_list_types() {
    for (const section_type& row : section_types) std::printf("%s\n", row.name);
}
