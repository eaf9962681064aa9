// The timeline: pending sections ordered by start, active ones by layer, and
// the per-frame dispatch that starts, renders and retires them.
#include "show/timeline.h"

#include <algorithm>
#include <climits>

#include "core/clock.h"
#include "core/settings.h"
#include "core/track.h"
#include "platform/overlay.h"
#include "platform/video.h"
#include "show/engine.h"
#include "show/feedback_snapshot.h"
#include "show/gl_audit.h"
#include "show/section_table.h"
#include "show/show_host.h"

section* pending_head = nullptr;
section* active_head = nullptr;

void schedule_section(section* s) {
    section* before = pending_head;
    section* last = nullptr;
    while (before && before->start < s->start) {
        last = before;
        before = before->pending_next;
    }
    s->pending_next = before;
    s->pending_prev = last;
    if (before) before->pending_prev = s;
    if (last) last->pending_next = s;
    else pending_head = s;
}

static void pending_unlink(section* s) {
    if (s->pending_prev) s->pending_prev->pending_next = s->pending_next;
    else pending_head = s->pending_next;
    if (s->pending_next) s->pending_next->pending_prev = s->pending_prev;
    s->pending_next = s->pending_prev = nullptr;
}

// Before the first section whose layer is greater than or equal to its own, so
// the one started last renders first among equals.
static void active_insert(section* s) {
    section* before = active_head;
    section* last = nullptr;
    while (before && before->layer < s->layer) {
        last = before;
        before = before->active_next;
    }
    s->active_next = before;
    s->active_prev = last;
    if (before) before->active_prev = s;
    if (last) last->active_next = s;
    else active_head = s;
}

static void active_unlink(section* s) {
    if (s->active_prev) s->active_prev->active_next = s->active_next;
    else active_head = s->active_next;
    if (s->active_next) s->active_next->active_prev = s->active_prev;
    s->active_next = s->active_prev = nullptr;
}

// A section started later than the run from the origin starts it: its
// motion is carried through the frames it rendered there, each with the
// demo_time, local_time and random numbers of that frame. In real time the
// frames are those of the nominal grid.
static void timeline_advance(section* s) {
    int first = clock_start_frame(s->start), now = clock_motion_frame();
    if (first >= now) return;
    float shown = s->local_time, shown_time = demo_time;
    const float step = clock_grid_step();
    s->local_time = clock_grid_time(first) - s->start;
    current_section = s;
    for (int frame = first; frame < now; ++frame) {
        demo_time = clock_grid_time(frame);
        s->local_time += frame == 0 ? 0.0f : step;
        track_apply(s, demo_time);
        section_rand_seed(s, static_cast<uint32_t>(frame));
        section_types[s->type].advance();
    }
    s->local_time = shown;
    demo_time = shown_time;
}

void timeline_start_due() {
    while (pending_head && pending_head->start <= demo_time) {
        section* s = pending_head;
        current_section = s;
        track_apply(s, demo_time);
        section_rand_seed(s, SECTION_MOMENT_START);
        section_types[s->type].start();
        s->local_time = clock_section_time(s->start);
        if (section_types[s->type].advance) timeline_advance(s);
        pending_unlink(s);
        active_insert(s);
    }
}

// One section's render, with what the program runs around it.
static void render_section(const section* s) {
    const show_host& host = show_host_lent();
    if (host.render_begin) host.render_begin(s);
    section_types[s->type].render();
    if (host.render_end) host.render_end(s);
}

// Renders the active sections in layer order up to and including `last`
// (all of them for null); the ones after it are carried through the frame
// without drawing: their local_time, and their motion when they have any.
static void render_up_to(const section* last) {
    int drawing = 1;
    section* s = active_head;
    while (s) {
        section* next = s->active_next;
        if (s->end > demo_time) {
            s->local_time += frame_delta;
            current_section = s;
            track_apply(s, demo_time);
            section_rand_seed(s, static_cast<uint32_t>(clock_grid_frame()));
            if (drawing) {
                render_section(s);
                gl_audit("render", s->type, s->line);
            } else if (section_types[s->type].advance) {
                section_types[s->type].advance();
            }
            if (s == last) drawing = 0;
        } else {
            active_unlink(s);
            if (s->end < demo_time) section_types[s->type].stop();
        }
        s = next;
    }
}

void timeline_render_active() { render_up_to(nullptr); }

int timeline_ended() { return (!pending_head && !active_head) || (demoend > 0 && clock_reached(demoend)); }

void timeline_check_end() {
    if (timeline_ended()) quit_requested = 1;
}

void draw_frame() {
    timeline_start_due();
    frame_begin();
    timeline_render_active();
    frame_present();
    overlay_draw();
    if (show_host_lent().frame_sink) show_host_lent().frame_sink();
    frame_swap();
    feedback_snapshot_take();
    timeline_check_end();
}

void timeline_reset() {
    while (pending_head) pending_unlink(pending_head);
    while (active_head) active_unlink(active_head);
}

int timeline_replay_start(int frame, int most) {
    if (frame <= 0) return frame;
    int from = frame - 1;
    for (int moved = 1; moved;) {
        moved = 0;
        float first_time = clock_grid_time(from), last_time = clock_grid_time(frame);
        for (const section* s = section_list; s; s = s->next) {
            if (!section_types[s->type].history || s->start > last_time || s->end <= first_time) continue;
            int shown = std::min(section_types[s->type].history(s), most);
            if (shown <= 0) continue;
            int early = std::max({clock_start_frame(s->start) - 1, frame - shown, 0});
            if (early < from) {
                from = early;
                moved = 1;
            }
        }
    }
    return from;
}

static int rewind_target = 0;
static int rewind_next = 0;
static float rewind_shown = 0;
static int rewinding = 0;
static int rewind_parked = 0;
static int rewound_in_real_time = 0;
static int opening_exact = 0;
static int restore_after = -1;  // the frame after which kept pictures go back

// In real time the frames before the one asked for are drawn on the nominal
// grid, and only when a section running there feeds back earlier pictures:
// what they rebuild is the look of those pictures, not the bits of a run
// whose steps nobody can know.
int timeline_rewind(timeline_reach reach) {
    if (rewound_in_real_time) clock_set_fixed_step(0);  // an opening that failed half-way
    rewound_in_real_time = 0;
    clock_start();
    rewinding = rewind_parked = 0;
    const int fixed = clock_step_fps() != 0;
    int target = clock_motion_frame();
    int exact_from = timeline_replay_start(target, INT_MAX);
    int from = fixed && reach == TIMELINE_EXACT ? exact_from : timeline_replay_start(target, TIMELINE_LOOK_FRAMES);
    opening_exact = fixed && from <= exact_from;
    restore_after = -1;
    // Kept pictures serve when they draw fewer frames than the exact replay
    // would, and no more than the look back would.
    if (fixed && (reach == TIMELINE_EXACT || !opening_exact)) {
        restore_after = feedback_snapshot_find(target, reach == TIMELINE_EXACT ? exact_from : from - 1);
        if (restore_after >= 0) from = restore_after;
        opening_exact = opening_exact || restore_after >= 0;
    }
    feedback_snapshot_opened(std::min(from, target));
    if (from >= target - (fixed ? 0 : 1)) return opening_exact;
    rewind_target = target;
    rewind_next = from;
    rewind_shown = demostart;
    rewinding = 1;
    if (!fixed) {
        clock_set_fixed_step(CLOCK_NOMINAL_FPS);
        rewound_in_real_time = 1;
    }
    demostart = clock_grid_time(from);
    clock_start();
    return opening_exact;
}

int timeline_opened_exactly() { return opening_exact; }

// The last section in layer order whose type shows earlier pictures (null
// when none runs): nothing drawn after it reaches a later frame's picture.
static const section* last_with_history() {
    const section* last = nullptr;
    for (const section* s = active_head; s; s = s->active_next)
        if (section_types[s->type].history && s->end > demo_time) last = s;
    return last;
}

// Whether a section with history draws its first frame next: its first
// picture, fed back from then on, takes the render state the whole frame
// before it leaves.
static int history_starts_next() {
    float next = clock_grid_time(clock_grid_frame() + 1);
    for (const section* s = pending_head; s && s->start <= next; s = s->pending_next)
        if (section_types[s->type].history) return 1;
    return 0;
}

// The frames before the last one only build the pictures that sections with
// history feed back: the sections drawn after those, the presentation and
// the sink are left out. The last one, and one before a section with
// history starts, are drawn and presented as the run draws them (presenting
// leaves its own render state), but not shown.
static void draw_hidden_frame() {
    timeline_start_due();
    frame_begin();
    if (clock_grid_frame() + 1 < rewind_target && !history_starts_next()) {
        render_up_to(last_with_history());
    } else {
        timeline_render_active();
        frame_present();
    }
    if (clock_grid_frame() == restore_after && !feedback_snapshot_restore(restore_after, rewind_target))
        opening_exact = 0;
    feedback_snapshot_take();
    clock_tick();
}

// Between two parts of a replay the clock stands at the frame to be shown,
// as a finished opening leaves it, and takes up the replay's own frame again
// from the grid (the grid's time and step are those the ticks give).
int timeline_catch_up(int most) {
    if (!rewinding) return 1;
    if (rewound_in_real_time) most = INT_MAX;
    if (rewind_parked) {
        demostart = clock_grid_time(rewind_next);
        clock_start();
    }
    for (int drawn = 0; drawn < most && clock_grid_frame() < rewind_target; ++drawn) draw_hidden_frame();
    rewind_next = clock_grid_frame();
    demostart = rewind_shown;
    rewind_parked = rewind_next < rewind_target;
    if (rewind_parked) {
        clock_start();
        return 0;
    }
    rewinding = 0;
    frame_number = 0;
    if (rewound_in_real_time) {
        clock_set_fixed_step(0);
        rewound_in_real_time = 0;
        clock_start();
    }
    return 1;
}
