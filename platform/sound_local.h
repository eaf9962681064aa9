// What the sound layer's files share: the stream record and the error code.
#pragma once

#include <mpg123.h>

#include "platform/sound.h"

struct sound_stream {
    mpg123_handle* decoder = nullptr;
    const unsigned char* data = nullptr;  // the caller's MP3 bytes
    size_t size = 0;
    size_t offset = 0;      // the decoder's read position in `data`
    size_t read_end = 0;    // the furthest byte the decoder has read
    int64_t length = 0;     // sample frames, exact after the frame scan
    int64_t position = 0;   // the sample frame sound_decode gives next
    bool finished = false;  // the end was reached: only silence follows
    // Seeking: the decoder's own seek placed the stream (it may have been
    // misled by damaged frames), and whether it has been found wrong, after
    // which every seek decodes from the start.
    bool decoder_placed = false;
    bool decoder_seek_wrong = false;
    int channel = -1;       // the channel playing it, -1 when none
};

void sound_set_error(int code);

// The mixer's side of streams: releases the decoder (the channel must
// already have been freed).
void sound_stream_free(sound_stream* stream);
// Moves the decoder to `frame` (or marks the stream finished past its end);
// the caller keeps the mixer away meanwhile.
bool sound_stream_seek_frames(sound_stream* stream, int64_t frame);
// The stream's position in sample frames (same guard as above).
int64_t sound_stream_tell(const sound_stream* stream);
