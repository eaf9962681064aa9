// The generated music's instruments: one sample of each at `t` seconds into
// its note, full scale about 1. Shared by the soundtrack and the test pieces.
#pragma once

float note_hz(int midi);
// A kick: a falling sine, 0.4 s.
float instrument_kick(float t);
// A closed hat: noise (by sample number), 80 ms.
float instrument_hat(float t, int sample);
// A minor-triad pad on `root` (MIDI), an octave up, slightly detuned.
float instrument_pad(float t, int root);
// A bass note on `root`, decaying through the beat; `t` is the piece's time
// (the oscillators run on through the notes).
float instrument_bass(float t_in_beat, float t, int root);
