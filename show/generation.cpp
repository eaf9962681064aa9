// Show generations: the release of the running one, and the opening that
// repeats start-up's steps after the video set-up.
#include "show/generation.h"

#include "core/clock.h"
#include "core/owned.h"
#include "core/random.h"
#include "core/script.h"
#include "core/section.h"
#include "platform/font.h"
#include "platform/video.h"
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
        for (int i = 0; i < s->spline_count; ++i) spline_free(&s->splines[i]);
    script_reset();
    loading_section = nullptr;
    generation_release_owned();
    texture_release_from(window_textures);
}

void generation_end() {
    generation_release();
    texture_release_from(0);
    texture_cache_trim();
}

int generation_open() {
    rand_restart();
    video_state_restore();
    texture_reset_cache();
    timeline_rewind();
    quit_requested = 0;
    loading_phase();
    if (quit_requested) return 0;
    timeline_catch_up();
    font_start();
    clock_reset();
    return 1;
}
