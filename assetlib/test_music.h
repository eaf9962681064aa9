// Pieces of generated music whose tempo and first downbeat are known, for
// the tempo analysis's tests and benchmarks. Stereo 44100 Hz 16-bit.
#pragma once

#include <cstdint>
#include <vector>

enum test_piece_id {
    TEST_PIECE_KICKS,      // a kick on every beat at 128 BPM from 0.25 s
    TEST_PIECE_OFFBEATS,   // 97.3 BPM: kick and a bass line on the beats, hats between
    TEST_PIECE_SWING,      // 110 BPM: kick and snare, hats swung to two thirds of the beat
    TEST_PIECE_PAD,        // chords swelling in at uneven times: no steady tempo
    TEST_PIECE_COUNT
};

struct test_piece {
    const char* name;
    double bpm;             // 0: no steady tempo
    double first_downbeat;  // seconds
    float seconds;
};

const test_piece& test_piece_info(int id);
// The piece's samples, left and right interleaved.
std::vector<int16_t> test_piece_pcm(int id);
