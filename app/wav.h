// WAV files of 16-bit signed PCM: the 44-byte header and a writer that fills
// in the sizes when it is closed. Pure file output, no SDL.
#pragma once

#include <cstdint>
#include <cstdio>

enum { WAV_HEADER_SIZE = 44 };

// The header of a file holding `frames` sample frames of `channels` 16-bit
// channels at `rate` Hz, little-endian as the format requires. Returns 0
// (and leaves `out` alone) when the data would not fit the format's 32-bit
// sizes or the rate or channel count is not positive.
int wav_header(uint8_t out[WAV_HEADER_SIZE], int rate, int channels, uint32_t frames);

struct wav_writer {
    FILE* file;
    int rate;
    int channels;
    uint32_t frames;   // sample frames written so far
    int failed;        // a write failed or the file grew past the format
};

// Creates (or truncates) `path` with a header for 0 frames. 0 when the file
// cannot be created.
int wav_open(wav_writer* w, const char* path, int rate, int channels);
// Appends `frames` interleaved frames (channels values each).
void wav_write(wav_writer* w, const int16_t* samples, int frames);
// Writes the final sizes into the header and closes. 0 when anything failed.
int wav_close(wav_writer* w);
