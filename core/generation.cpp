// Show generations: the list of objects the running one owns, its release,
// and the opening that repeats start-up's steps after the video set-up.
#include "core/generation.h"

#include <vector>

#include "core/clock.h"
#include "core/engine.h"
#include "core/loading.h"
#include "core/random.h"
#include "core/script.h"
#include "core/section.h"
#include "core/timeline.h"
#include "platform/font.h"
#include "platform/video.h"
#include "resources/texture.h"

namespace {

struct owned_object {
    void* object;
    void (*release)(void*);
};

std::vector<owned_object> owned;
int window_textures = 0;

}  // namespace

void generation_own(void* object, void (*release)(void*)) {
    if (object) owned.push_back({object, release});
}

int generation_size() { return static_cast<int>(owned.size()); }

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
    while (!owned.empty()) {
        owned_object last = owned.back();
        owned.pop_back();
        last.release(last.object);
    }
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
