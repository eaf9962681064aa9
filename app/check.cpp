// The whole-show check. The engine's fatal error path collects instead of
// stopping while it runs (core/fatal), the script reader goes on after a
// faulty line, and loading_check() tries every loading step; this file only
// strings them together and counts what was reported.
#include "app/check.h"

#include <cstdio>
#include <vector>

#include "app/cmdline.h"
#include "core/engine.h"
#include "core/fatal.h"
#include "core/loading.h"
#include "core/script.h"
#include "core/section.h"
#include "core/settings.h"
#include "platform/font.h"
#include "platform/music.h"
#include "platform/video.h"

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

}  // namespace

int check_show(const cmdline* options) {
    faults = 0;
    fatal_collect(report_fault);
    // Faults inside the script are collected line by line; this attempt
    // fails only when there is no script to read.
    if (!fatal_attempt_call([] { read_script(); })) return 255;
    cmdline_apply(options);
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
