// The timeline: pending sections ordered by start, active ones by layer, and
// the per-frame dispatch that starts, renders and retires them.
#include "core/timeline.h"

#include "core/clock.h"
#include "core/engine.h"
#include "core/gl_audit.h"
#include "core/settings.h"
#include "core/track.h"
#include "platform/overlay.h"
#include "platform/video.h"

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

void timeline_start_due() {
    while (pending_head && pending_head->start <= demo_time) {
        section* s = pending_head;
        current_section = s;
        track_apply(s, demo_time);
        section_types[s->type].start();
        s->local_time = demo_time - s->start;
        pending_unlink(s);
        active_insert(s);
    }
}

void timeline_render_active() {
    section* s = active_head;
    while (s) {
        section* next = s->active_next;
        if (s->end > demo_time) {
            s->local_time += frame_delta;
            current_section = s;
            track_apply(s, demo_time);
            section_types[s->type].render();
            gl_audit("render", s->type, s->line);
        } else {
            active_unlink(s);
            if (s->end < demo_time) section_types[s->type].stop();
        }
        s = next;
    }
}

void timeline_check_end() {
    if (!pending_head && !active_head) quit_requested = 1;
    if (demoend > 0 && clock_reached(demoend)) quit_requested = 1;
}

void draw_frame() {
    timeline_start_due();
    frame_begin();
    timeline_render_active();
    frame_present();
    overlay_draw();
    if (frame_sink) frame_sink();
    frame_swap();
    timeline_check_end();
}

void timeline_reset() {
    while (pending_head) pending_unlink(pending_head);
    while (active_head) active_unlink(active_head);
}
