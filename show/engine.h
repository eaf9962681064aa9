// Start-up, main loop, input and shutdown.
#pragma once

#include <SDL/SDL.h>

// Set when the main loop is to stop after the frame being drawn: the
// viewer's Escape, the show's end, or the program's request.
extern int quit_requested;

// The program's requests: stop after this frame, or go on after all (a run
// that plays the show again, or pauses at its end).
void engine_request_quit();
void engine_cancel_quit();

void start_up();
void main_loop();
void shut_down();
void handle_event(const SDL_Event* event);

// Takes one queued event, if any, and handles it. Returns 1 when one was
// handled.
int engine_poll_event();
