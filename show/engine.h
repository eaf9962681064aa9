// Start-up, main loop, input and shutdown.
#pragma once

#include <SDL/SDL.h>

enum { KEY_STATE_COUNT = SDLK_LAST };

extern int quit_requested;
extern int key_state[KEY_STATE_COUNT];

void start_up();
void main_loop();
void shut_down();
void handle_event(const SDL_Event* event);

// Takes one queued event, if any, and handles it. Returns 1 when one was
// handled.
int engine_poll_event();
