// MP3 encoding of 44100 Hz stereo 16-bit samples with libmp3lame, for the
// soundtrack and for tests and benchmarks that need MP3s of known content.
#pragma once

#include <cstdint>
#include <vector>

// `pcm` holds interleaved left/right samples. The output carries the
// encoder's info frame, so gapless decoders drop its delay and padding.
std::vector<unsigned char> asset_encode_mp3(const std::vector<int16_t>& pcm, int kbps);
