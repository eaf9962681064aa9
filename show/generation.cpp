// Show generations: the release of the running one, and the opening that
// repeats start-up's steps after the video set-up.
#include "show/generation.h"

#include <climits>

#include "core/clock.h"
#include "core/owned.h"
#include "core/random.h"
#include "core/script.h"
#include "core/section.h"
#include "platform/font.h"
#include "platform/video.h"
#include "resources/spline.h"
#include "resources/texture.h"
#include "show/engine.h"
#include "show/loading.h"
#include "show/timeline.h"

namespace {

int window_textures = 0;

}  // namespace

void generation_mark() {
    window_textures = texture_count;
    video_state_save();
}

void generation_release() {
    timeline_reset();
    for (section* s = section_list; s; s = s->next)
        for (int i = 0; s->splines && i < s->spline_count; ++i) spline_free(&s->splines[i]);
    script_reset();
    loading_section = nullptr;
    generation_release_owned();
    texture_release_from(window_textures);
    if (engine_font.texture >= window_textures) engine_font.texture = -1;  // its slot went with the rest
}

void generation_end() {
    generation_release();
    texture_release_from(0);
    texture_cache_trim();
}

// Rewinds and loads, then starts the font, as the run from the origin has
// it before its first frame; 0 when the viewer quit during loading.
static int load_from(timeline_reach reach) {
    timeline_rewind(reach);
    quit_requested = 0;
    loading_phase();
    if (quit_requested) return 0;
    font_start();
    return 1;
}

int generation_load() {
    if (!load_from(TIMELINE_EXACT)) return 0;
    timeline_catch_up(INT_MAX);
    return 1;
}

int generation_begin(timeline_reach reach) {
    rand_restart();
    video_state_restore();
    texture_reset_cache();
    return load_from(reach);
}

int generation_finish(int frames) {
    if (!timeline_catch_up(frames)) return 0;
    clock_reset();
    return 1;
}

int generation_open(timeline_reach reach) { return generation_begin(reach) && generation_finish(INT_MAX); }
