// The soundtrack of an offline run: the show's music file read whole before
// the run (sound is off while it draws), the sample frames that cover a
// number of pictures, and --capture's audio.wav.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Sample frames of sound that cover `frames` pictures at `fps`, rounded to
// the nearest sample.
int64_t soundtrack_frames(int frames, int fps, int rate);

// The show's music file (snd_mp3file) whole in `mp3`, checked to decode;
// empty when the show has no sound. A file that cannot be read or decoded
// is a fatal error.
void soundtrack_read(std::vector<unsigned char>* mp3);

// Writes `folder`/audio.wav: the music from demostart for as long as
// `frames` pictures at `fps` last, silence past its end, so picture and
// sound have one length. `shown` is the folder as the user named it.
void soundtrack_write_wav(const std::vector<unsigned char>& mp3, const std::string& folder, const std::string& shown,
                          int frames, int fps);
