// The project's fixed random sequence (see random.h for its definition).
#include "core/random.h"

static uint32_t rand_state = 1;

int rand_next() {
    rand_state = rand_state * 1103515245u + 12345u;
    return static_cast<int>((rand_state >> 16) & 0x7fffu);
}

void rand_restart() { rand_state = 1; }

void rand_seed(uint32_t state) { rand_state = state; }

uint32_t rand_mix(uint32_t a, uint32_t b) {
    uint32_t h = a ^ (b + 0x9e3779b9u + (a << 6) + (a >> 2));
    h ^= h >> 16;
    h *= 0x85ebca6bu;
    h ^= h >> 13;
    h *= 0xc2b2ae35u;
    h ^= h >> 16;
    return h;
}
