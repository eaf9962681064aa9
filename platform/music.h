// The music stream, played from demostart in step with the clock.
#pragma once

#include <vector>

struct sound_stream;

// Reads the MP3 named by snd_mp3file into `bytes`; a fatal error when the
// setting is missing or the file cannot be read.
void music_read_file(std::vector<unsigned char>* bytes);
// Opens the stream named by snd_mp3file and positions it at demostart.
void music_open();
// Starts playback (right after the clock reset).
void music_play();
// Stops and closes; safe when nothing was opened.
void music_close();
// The mixer's load in percent over the last second; 0 when sound is off.
float music_cpu_usage();

// The start position for a demostart in seconds: whole milliseconds,
// truncated; 0 for a start at or before 0.
int music_start_ms(float start);
// The open stream, or null (for offline capture and tests).
sound_stream* music_current_stream();
