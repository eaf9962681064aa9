// The project's own random numbers: fixed sequences, the same on every
// platform and compiler, so every run draws the same numbers.
//
// The generator is the 32-bit linear congruential recurrence
//     state = state * 1103515245 + 12345   (mod 2^32), state starting at 1
// and each draw returns bits 16..30 of the new state, a number in 0..32767.
// The first draws are 16838, 5758, 10113, 17515, 31051.
//
// The engine seeds the generator before every callback it makes (a type's
// load, a section's init, start and each render) from what the callback
// concerns and, for a render, the frame: what a section draws depends only
// on itself and the moment, never on what other sections drew before it.
#pragma once

#include <cstdint>

enum { RAND_LIMIT = 32767 };

int rand_next();

// Restarts the sequence from its first number (state 1).
void rand_restart();

// Continues from `state` instead.
void rand_seed(uint32_t state);

// Mixes two numbers into a well-spread seed (a small change to either
// changes about half its bits).
uint32_t rand_mix(uint32_t a, uint32_t b);
