// The built-in tracks that follow the show's music: audio.level, audio.bass,
// audio.mid, audio.treble (the soundtrack's band levels, 1.0 where a band is
// as loud as it has been over the last seconds) and audio.beat (1 at each
// beat the tempo analysis finds, falling to 0 by the half beat).
//
// All are functions of time computed from the whole decoded soundtrack
// (snd_mp3file), never from the frames played, so play, edit mode, a run
// opened at any time and an offline render see the same values. The music is
// decoded and measured the first time a show names one of them, again when
// the file changes, and the analysis runs only for audio.beat.
#pragma once

enum audio_track_id { AUDIO_LEVEL, AUDIO_BASS, AUDIO_MID, AUDIO_TREBLE, AUDIO_BEAT, AUDIO_TRACK_COUNT };

// Makes the family known to the tracks (once, before a script is read).
void audio_tracks_register();

// The id of a track of the family by its whole name ("audio.bass"), or -1.
// Measures the script's music (fatal when it names none or it cannot be
// played).
int audio_track_find(const char* name);
// The track's value at `seconds`.
float audio_track_value(int id, double seconds);
