// Snapshots of fed-back pictures: reading the declared textures back after
// a frame, the lookup an opening makes, and putting them back.
#include "show/feedback_snapshot.h"

#include <climits>
#include <map>
#include <utility>

#include "core/clock.h"
#include "core/section.h"
#include "show/feedback_cache.h"
#include "show/section_table.h"
#include "show/show_host.h"
#include "show/timeline.h"

namespace {

const int KEEPS_NOTHING = INT_MAX;
int opened_first = KEEPS_NOTHING;  // the running opening's first frame
// The first exact frame a restored section carries on from its snapshot.
std::map<feedback_key, int> carried;
int restored = 0;

int cache_lent() { return show_host_lent().feedback_cache_bytes > 0 && clock_step_fps() != 0; }

feedback_key key_of(const section* s) { return {s->type, s->start, s->end, s->layer, s->line}; }

int kept_type(const section* s) { return section_types[s->type].history && section_types[s->type].history_textures; }

int textures_of(const section* s, int* textures) {
    return kept_type(s) ? section_types[s->type].history_textures(s, textures) : 0;
}

// The first frame the section's pictures are exact for, as this opening
// draws them: at once when it started after the opening's first frame or
// was put back, else once its history has passed since then.
int exact_from(const section* s) {
    auto found = carried.find(key_of(s));
    if (found != carried.end()) return found->second;
    if (clock_start_frame(s->start) > opened_first) return INT_MIN;
    int history = section_types[s->type].history(s);
    return history >= INT_MAX - opened_first ? INT_MAX : opened_first + history;
}

}  // namespace

int feedback_snapshot_find(int target, int lowest) {
    if (!cache_lent()) return -1;
    std::vector<feedback_need> needs;
    for (const section* s = section_list; s; s = s->next)
        if (kept_type(s))
            needs.push_back({key_of(s), clock_start_frame(s->start), clock_start_frame(s->end)});
    return feedback_cache_latest(needs, lowest, target);
}

void feedback_snapshot_opened(int first) {
    carried.clear();
    restored = 0;
    opened_first = cache_lent() ? first : KEEPS_NOTHING;
}

int feedback_snapshot_restore(int frame, int target) {
    int textures[SECTION_HISTORY_TEXTURES];
    for (const section* s = active_head; s; s = s->active_next) {
        int count = textures_of(s, textures);
        const feedback_snapshot* kept = count > 0 ? feedback_cache_find(key_of(s), frame, target) : nullptr;
        if (!kept) continue;  // none is kept: the lookup found none needed
        for (int i = 0; i < count && i < static_cast<int>(kept->pictures.size()); ++i) {
            if (!texture_write_top(textures[i], kept->pictures[i])) {
                feedback_cache_clear();
                return 0;
            }
        }
        carried[key_of(s)] = kept->exact_from;
        restored = 1;
    }
    return 1;
}

int feedback_snapshot_restored() { return restored; }

void feedback_snapshot_take() {
    if (opened_first == KEEPS_NOTHING) return;
    const int frame = clock_grid_frame();
    int textures[SECTION_HISTORY_TEXTURES];
    for (const section* s = active_head; s; s = s->active_next) {
        int count = textures_of(s, textures);
        if (count == 0) continue;
        feedback_snapshot snapshot = {exact_from(s), {}};
        if (snapshot.exact_from == INT_MAX || feedback_cache_find(key_of(s), frame, snapshot.exact_from)) continue;
        snapshot.pictures.resize(count);
        for (int i = 0; i < count; ++i) texture_read_top(textures[i], &snapshot.pictures[i]);
        feedback_cache_store(key_of(s), frame, std::move(snapshot), show_host_lent().feedback_cache_bytes);
    }
}

void feedback_snapshot_forget() {
    feedback_cache_clear();
    carried.clear();
    restored = 0;
    opened_first = KEEPS_NOTHING;
}
