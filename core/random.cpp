// The project's fixed random sequence (see random.h for its definition).
#include "core/random.h"

#include <cstdint>

static uint32_t rand_state = 1;

int rand_next() {
    rand_state = rand_state * 1103515245u + 12345u;
    return static_cast<int>((rand_state >> 16) & 0x7fffu);
}

void rand_restart() { rand_state = 1; }
