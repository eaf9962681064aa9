// The project's own random numbers: one fixed sequence, never seeded, the same
// on every platform and compiler, so every run draws the same numbers.
//
// The generator is the 32-bit linear congruential recurrence
//     state = state * 1103515245 + 12345   (mod 2^32), state starting at 1
// and each draw returns bits 16..30 of the new state, a number in 0..32767.
// The first draws are 16838, 5758, 10113, 17515, 31051.
#pragma once

enum { RAND_LIMIT = 32767 };

int rand_next();

// Restarts the sequence from its first number (tests only; the show never
// calls it, so the draws run on across sections).
void rand_restart();
