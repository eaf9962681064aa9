// Start-up, the main loop, input and shutdown.
#include "show/engine.h"

#include "core/clock.h"
#include "core/settings.h"
#include "platform/font.h"
#include "platform/music.h"
#include "platform/video.h"
#include "resources/free_camera.h"
#include "show/loading.h"
#include "show/timeline.h"

int quit_requested = 0;
int key_state[KEY_STATE_COUNT];

void start_up() {
    video_start();
    timeline_rewind();
    quit_requested = 0;
    loading_phase();
    if (quit_requested) return;
    timeline_catch_up();
    font_start();
    if (snd_enable) music_open();
    clock_reset();
    if (snd_enable) music_play();
}

void main_loop() {
    while (!quit_requested) {
        if (engine_poll_event()) continue;
        draw_frame();
        clock_tick();
    }
}

void shut_down() {
    music_close();
    video_stop();
    SDL_Quit();
}

// Flips the lowest bit of one overlay switch and clears the other, so at most
// one overlay shows.
static void toggle_overlay(int* shown, int* other) {
    *other = 0;
    *shown ^= 1;
}

void handle_event(const SDL_Event* event) {
    switch (event->type) {
    case SDL_KEYDOWN: {
        int sym = event->key.keysym.sym;
        if (sym == SDLK_ESCAPE) quit_requested = 1;
        else if (sym == SDLK_f) toggle_overlay(&camera_overlay, &timing);
        else if (sym == SDLK_t) toggle_overlay(&timing, &camera_overlay);
        else if (sym == SDLK_c && debug) free_camera_toggle_takeover();
        if (sym >= 0 && sym < KEY_STATE_COUNT) key_state[sym] = 1;
        break;
    }
    case SDL_KEYUP: {
        int sym = event->key.keysym.sym;
        if (sym >= 0 && sym < KEY_STATE_COUNT) key_state[sym] = 0;
        break;
    }
    case SDL_QUIT:
        quit_requested = 1;
        break;
    default:
        break;
    }
}

int engine_poll_event() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return 0;
    SDL_Event event;
    if (!SDL_PollEvent(&event)) return 0;
    handle_event(&event);
    return 1;
}
