// Edit mode's run: the first opening, the loop that draws frames, looks at
// the keys, the control channel and the files, and every later opening at a
// given time. An opening repeats what a fresh run started at that time does
// (the generation's own steps) with the files kept by edit_files, so a frame
// after a seek is the frame a fresh run would draw there.
#include "app/edit_mode.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <malloc.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "app/cmdline.h"
#include "app/edit_files.h"
#include "app/edit_local.h"
#include "app/tracker.h"
#include "core/clock.h"
#include "core/fatal.h"
#include "core/script.h"
#include "core/section.h"
#include "core/settings.h"
#include "platform/platform.h"
#include "platform/sound.h"
#include "platform/video.h"
#include "resources/texture.h"
#include "show/engine.h"
#include "show/feedback_cache.h"
#include "show/feedback_snapshot.h"
#include "show/generation.h"
#include "show/loading.h"
#include "show/show_host.h"
#include "show/timeline.h"

edit_session edit;

namespace {

// A fatal error while opening the show: the message, carried back to the
// opening instead of ending the process.
struct open_failed : std::runtime_error {
    explicit open_failed(const char* message) : std::runtime_error(message) {}
};

void throw_failure(const char* message) { throw open_failed(message); }

// The last failure printed: the same one again (the watch retrying a file
// that stays broken) is not printed again until another comes, or the show
// opens well.
std::string last_printed;

// The failure on standard error, as plain play prints it.
void print_failure(const open_failed& failure) {
    if (last_printed == failure.what()) return;
    last_printed = failure.what();
    std::fprintf(stderr, "Error: %s\n", failure.what());
    std::fflush(stderr);
}

// The window is opened once: what a new script says about it waits for the
// next start.
struct window_settings {
    int fullscreen, panoramic, width, height, bpp, zbuffer, rtt_width, rtt_height;
};
window_settings window;

void keep_window() {
    window = {gl_fullscreen, gl_panoramic, gl_width, gl_height, gl_bpp, gl_zbuffer, gl_rttWidth, gl_rttHeight};
}

void restore_window() {
    gl_fullscreen = window.fullscreen;
    gl_panoramic = window.panoramic;
    gl_width = window.width;
    gl_height = window.height;
    gl_bpp = window.bpp;
    gl_zbuffer = window.zbuffer;
    gl_rttWidth = window.rtt_width;
    gl_rttHeight = window.rtt_height;
}

// Reads the script and opens the show at `t`; throws open_failed. A staged
// opening stops after the loading phase (see edit_replay_some) and leaves
// the music where the first picture put it.
void open_show(float t, timeline_reach reach, int staged) {
    int shown_camera = camera_overlay, shown_timing = timing;
    read_script();
    cmdline_apply(edit.options);
    restore_window();
    camera_overlay = shown_camera;
    timing = shown_timing;
    edit.show_start = demostart;
    edit.show_end = loading_show_end();
    demostart = edit_clamp_time(t, edit.show_start, edit.show_end);
    if (staged) {
        generation_begin(reach);
        return;
    }
    if (!generation_open(reach)) return;
    edit_music_start();
}

// One opening at `t`, from the disk or from the good versions; the failure
// of an opening from the disk is the error shown.
int try_open(float t, int from_good, timeline_reach reach) {
    edit_files_begin(from_good);
    try {
        open_show(t, reach, 0);
    } catch (const open_failed& failure) {
        if (!from_good) {
            edit.error = failure.what();
            print_failure(failure);
        }
        generation_release();
        edit_files_abandon();
        return 0;
    }
    int restored = feedback_snapshot_restored();
    if (edit_files_commit()) {
        // Pictures kept from other versions of the files are never shown.
        feedback_cache_clear();
        if (restored) {
            generation_release();
            return try_open(t, from_good, reach);
        }
    }
    texture_cache_trim();
    edit.good_time = demostart;
    return 1;
}

// The opening of edit_open_at; `reach` TIMELINE_LOOK leaves a replay pending
// where the picture shown is not yet the run's.
void open_at(float t, timeline_reach reach) {
    edit_view_forget_times();
    generation_release();
    // What the generation freed goes back to the system, so resident memory
    // shows what the show holds rather than what it once held.
    malloc_trim(0);
    edit.steps_left = 0;
    edit.replay = 0;
    if (try_open(t, 0, reach)) {
        edit.error.clear();
        last_printed.clear();
    } else if (!try_open(t, 1, reach)) {
        // A file no good opening read is broken: the show is opened again
        // where it last opened well, with the error shown.
        float back = edit.good_time;
        if (!try_open(back, 1, reach)) {
            fatal_set_hook(nullptr);
            fatal_error("%s", edit.error.c_str());
        }
        std::fprintf(stderr, "Edit: the show cannot open at %.3f s; shown at %.3f s, where it last opened\n", t, back);
        std::fflush(stderr);
    }
    edit.replay = edit.step_fps && !timeline_opened_exactly();
    edit.replay_time = demostart;
    edit.frame_due = 1;
    // The music waits with the picture for the exact frame (see replay_run).
    if (edit.replay && edit.music) sound_set_paused(edit.music_channel, true);
}

// The exact frame behind a first picture: the show opened again at the same
// moment from the versions the first picture read, loaded from where its
// replay begins.
void replay_begin() {
    edit_view_forget_times();
    generation_release();
    edit_files_begin(1);
    try {
        open_show(edit.replay_time, TIMELINE_EXACT, 1);
    } catch (const open_failed&) {
        edit_files_abandon();
        throw;
    }
    edit_files_commit();
    edit.replay = 2;
}

bool events_waiting() {
    SDL_Event event;
    return SDL_WasInit(SDL_INIT_VIDEO) && SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) > 0;
}

// A key, or any other event of the window, or a command.
bool input_waiting() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_PumpEvents();
    return events_waiting() || edit_channel_waiting(&edit.channel);
}

// Parts of the replay, until `budget_ms` have gone or a key or a command
// waits (all of it for a negative budget); a fault in them is met as an
// opening's: the show opened whole, with its fall-backs.
void replay_run(double budget_ms) {
    auto began = std::chrono::steady_clock::now();
    auto spent = [&] { return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - began).count(); };
    try {
        if (edit.replay == 1) replay_begin();
        if (quit_requested) return;
        while (!generation_finish(1))
            if (budget_ms >= 0 && (spent() >= budget_ms || input_waiting())) return;
    } catch (const open_failed&) {
        open_at(edit.replay_time, TIMELINE_EXACT);
        return;
    }
    edit.replay = 0;
    edit.frame_due = 1;
    if (edit.music) edit_music_follow();
}

// The time one idle turn gives a replay when nothing waits (a key or a
// command ends the turn after the frame under way), so the window is drawn
// again a few times a second without its cost adding much to the replay's.
const double REPLAY_PART_MS = 200;

}  // namespace

// Not while input waits: the loading phase takes events of the window as
// its own, and the input comes first anyway.
void edit_replay_some() {
    if (!input_waiting()) replay_run(REPLAY_PART_MS);
}

void edit_replay_finish() {
    if (edit.replay) replay_run(-1);
}

void edit_draw_exact() {
    edit_replay_finish();
    if (edit.frame_due) edit_draw_now();
}

float edit_clamp_time(float t, float start, float end) {
    float last = end - 0.001f;
    if (t > last) t = last;
    if (t < start) t = start;
    return t;
}

float edit_frame_step() { return edit.step_fps ? 1.0f / static_cast<float>(edit.step_fps) : 1.0f / 60.0f; }

// A fault while drawing ends the frame: the error is shown, the show is
// paused and opened again where it was.
void edit_draw_now() {
    auto began = std::chrono::steady_clock::now();
    try {
        draw_frame();
        glFinish();
        auto now = std::chrono::steady_clock::now();
        edit.last_frame_ms = std::chrono::duration<double, std::milli>(now - began).count();
        if (edit.step_fps && !edit.replay && edit.last_exact_ms < 0)
            edit.last_exact_ms = std::chrono::duration<double, std::milli>(now - edit.opened_at).count();
        edit.frame_due = 0;
        if (quit_requested && timeline_ended()) {
            engine_cancel_quit();
            edit_set_paused(1);
        }
    } catch (const open_failed& failure) {
        print_failure(failure);
        std::string message = failure.what();
        edit_set_paused(1);
        edit_open_at(demo_time);
        edit.error = message;
    }
}

int edit_open_at(float t) {
    edit.opened_at = std::chrono::steady_clock::now();
    edit.last_exact_ms = -1;
    open_at(t, TIMELINE_LOOK);
    edit.last_open_ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - edit.opened_at).count();
    return !quit_requested;
}

void edit_prepare(const cmdline* options) {
    edit.channel.fd = -1;
    char* here = getcwd(nullptr, 0);
    edit.start_folder = here ? here : ".";
    std::free(here);
    if (!options->control) return;
    if (!edit_channel_open(&edit.channel, options->control))
        fatal_error("Control channel %s cannot be opened: %s", options->control, std::strerror(errno));
}

namespace {

// The state a paused show shows again: the last frame, the overlays.
void show_again() {
    edit_view_show_again();
    frame_swap();
}

// When playing, after a frame: the clock moves on, and the loop is looked
// after.
void play_on() {
    if (edit.paused) return;
    clock_tick();
    if (edit.has_loop && demo_time >= edit.loop_out) edit_open_at(edit.loop_in);
}

int poll_input() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        SDL_Event event;
        if (SDL_PollEvent(&event)) {
            if (event.type != SDL_KEYDOWN || !edit_key(event.key.keysym.sym, event.key.keysym.mod))
                handle_event(&event);
            return 1;
        }
    }
    // A key a command queued is taken before the next command.
    std::string line;
    while (!quit_requested && !edit.steps_left && !events_waiting() && edit_channel_next(&edit.channel, &line))
        if (!edit_run_command(line)) engine_request_quit();
    if (!edit.channel.dropped.empty()) {
        std::fprintf(stderr, "Edit: %s has no line end; its writer closed the channel, so it is dropped\n",
                     edit_quote(edit.channel.dropped).c_str());
        std::fflush(stderr);
        edit.channel.dropped.clear();
    }
    return 0;
}

void watch_files() {
    static auto last = std::chrono::steady_clock::now();
    auto now = std::chrono::steady_clock::now();
    if (now - last < std::chrono::milliseconds(200)) return;
    last = now;
    if (edit_files_changed()) edit_open_at(demo_time);
}

void edit_step_loop() {
    tracker_poll();
    if (poll_input() || quit_requested) return;
    watch_files();
    if (edit.steps_left > 0) {
        edit_step_frame();
    } else if (edit.replay && !edit.frame_due) {
        edit_replay_some();
        show_again();
    } else if (!edit.paused || edit.frame_due) {
        edit_draw_now();
        play_on();
    } else {
        show_again();
        SDL_Delay(15);
    }
}

// Opening and drawing look after their own faults; any other one (the sound
// output failing, say) is shown like them and pauses the show.
void edit_loop() {
    while (!quit_requested) {
        try {
            edit_step_loop();
        } catch (const open_failed& failure) {
            print_failure(failure);
            edit.error = failure.what();
            edit.paused = 1;
        }
    }
}

}  // namespace

int edit_run(const cmdline* options) {
    edit.options = options;
    edit.step_fps = options->offline_fps;
    show_host host = {};
    host.quiet_loading = 1;
    host.feedback_cache_bytes = options->offline_fps ? FEEDBACK_CACHE_BYTES : 0;
    edit_files_lend(&host);
    edit_view_lend(&host);
    show_host_install(&host);
    read_script();
    cmdline_apply(options);
    video_start();
    keep_window();  // as the window was opened (a windowed run takes the screen's depth)
    generation_mark();
    clock_set_fixed_step(edit.step_fps);
    fatal_set_hook(throw_failure);
    float start = demostart;
    generation_release();
    edit.opened_at = std::chrono::steady_clock::now();
    edit.last_exact_ms = -1;
    if (!try_open(start, 0, TIMELINE_EXACT)) {
        // Printed already: the run ends as a fatal error does.
        fatal_set_hook(nullptr);
        shut_down();
        platform_exit(255);
    }
    edit.frame_due = 1;
    if (options->tracker) tracker_start(options->tracker);
    edit_loop();
    tracker_stop();
    fatal_set_hook(nullptr);
    edit_view_forget_times();
    generation_end();
    edit_music_close();
    if (edit.sound_open) sound_close();
    edit_channel_close(&edit.channel);
    shut_down();
    return 0;
}
