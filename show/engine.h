// Start-up, main loop, input and shutdown.
#pragma once

#include <SDL/SDL.h>

extern int quit_requested;

void start_up();
void main_loop();
void shut_down();
void handle_event(const SDL_Event* event);

// Takes one queued event, if any, and handles it. Returns 1 when one was
// handled.
int engine_poll_event();
