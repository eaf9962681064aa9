// The soundtrack's levels as functions of time: the whole MP3 decoded to
// mono, cut into windows of MUSIC_LEVEL_WINDOW samples every MUSIC_LEVEL_HOP
// samples, each window's spectrum summed into bands, each band divided by its
// own mean over the preceding MUSIC_LEVEL_MEMORY seconds. So 1.0 is "as loud
// as this band has been lately", a hit above it, a lull below; silence is 0.
//
// Bands (Hz): level 20-16000 (everything heard), bass 20-250, mid 250-4000,
// treble 4000-16000. The window ending at a hop's time gives its value, so a
// sound raises the level from the moment it starts, never before; between
// hops the value is interpolated linearly. Every value is a pure function of
// the samples and the time asked for, so play, a run opened at any time and
// an offline render see the same numbers.
#pragma once

#include <cstddef>
#include <vector>

enum {
    MUSIC_LEVEL_WINDOW = 1024,  // samples per spectrum (23 ms at 44100 Hz)
    MUSIC_LEVEL_HOP = 512,      // samples between two values (11.6 ms)
    MUSIC_LEVEL_MEMORY = 3,     // seconds the mean a level is divided by covers
};

enum music_band { MUSIC_LEVEL, MUSIC_BASS, MUSIC_MID, MUSIC_TREBLE, MUSIC_BAND_COUNT };

// A level never goes above this, however quiet the time before it was.
const float MUSIC_LEVEL_MAX = 4.0f;

struct music_levels {
    int rate = 0;
    std::vector<float> band[MUSIC_BAND_COUNT];  // one value per hop; hop h is at h * HOP / rate seconds
};

// Decodes a whole MP3 (as the sound layer plays it) to mono samples in
// -1..1 at SOUND_RATE. False, with the sound layer's error set, when it is
// not an MP3 the layer can play.
bool music_decode_mono(const unsigned char* mp3, size_t size, std::vector<float>* mono);

// The levels of `count` mono samples at `rate` samples a second.
music_levels music_levels_compute(const float* mono, size_t count, int rate);

// The band's value at `seconds`: 0 before the first sample and after the
// last hop, and when nothing was computed.
float music_levels_at(const music_levels& levels, music_band band, double seconds);
