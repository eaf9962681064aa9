// Deterministic value noise for the generated pictures (no global state).
#pragma once

// Hash of an integer lattice point to 0..1.
float noise_hash(int x, int y, int seed);
// Smoothly interpolated value noise at (x, y), 0..1.
float noise_value(float x, float y, int seed);
// Sum of `octaves` noise layers, each twice the frequency and half the weight.
float noise_fractal(float x, float y, int octaves, int seed);

float noise_clamp01(float v);
float noise_mix(float a, float b, float t);
