// Fuzz target for the MP3 stream: open from memory, decode, seek (inside,
// at the end, past it) and decode again, without the audio output. A stream
// that opens has a positive length, decodes no more than asked, lands
// sample-exactly where it was sent and gives silence past its end; one that
// does not open says why; a seek gives the same samples as decoding up to it.
#include <cstdint>
#include <cstdlib>

#include "platform/sound.h"

enum { CHUNK = 2048 };

// Decodes up to CHUNKS chunks; returns the frames the first chunk gave.
static int decode_some(sound_stream* s, int chunks, int16_t* first = nullptr) {
    static int16_t out[2 * CHUNK];
    int first_got = 0;
    for (int i = 0; i < chunks; ++i) {
        int got = sound_decode(s, i == 0 && first ? first : out, CHUNK);
        if (got < 0 || got > CHUNK) abort();
        if (i == 0) first_got = got;
        if (got < CHUNK) break;
    }
    return first_got;
}

// A seek into the first chunk gives the samples a decode from the start gave
// there. The decoder's filters start afresh after a seek, which may move a
// sample by a step or two; a misplaced seek moves them far more.
static void seek_into_head(sound_stream* s, const int16_t* head, int head_frames) {
    int at = head_frames / 3, n = head_frames - at < 64 ? head_frames - at : 64;
    if (n <= 0 || !sound_stream_set_frame(s, at)) return;
    int16_t out[2 * 64];
    if (sound_decode(s, out, n) != n) abort();
    for (int i = 0; i < 2 * n; ++i)
        if (abs(out[i] - head[2 * at + i]) > 128) abort();
}

static void seek_and_check(sound_stream* s, int ms) {
    if (!sound_stream_set_time(s, ms)) return;  // undecodable further on: refused, not a fault
    int64_t frame = static_cast<int64_t>(ms) * SOUND_RATE / 1000;
    int64_t length = sound_stream_length(s);
    int64_t at = sound_stream_position(s);
    if (at != (frame < length ? frame : length)) abort();
    decode_some(s, 2);
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    sound_stream* s = sound_stream_open_memory(data, size);
    if (!s) {
        int code = sound_error();
        if (code != SOUND_ERR_FILE_FORMAT && code != SOUND_ERR_FILE_BAD && code != SOUND_ERR_MEMORY) abort();
        return 0;
    }
    int64_t length = sound_stream_length(s);
    if (length <= 0) abort();
    static int16_t head[2 * CHUNK];
    int head_frames = decode_some(s, 2, head);
    seek_into_head(s, head, head_frames);
    int length_ms = static_cast<int>(length * 1000 / SOUND_RATE);
    seek_and_check(s, length_ms / 2);
    seek_and_check(s, 0);
    seek_and_check(s, length_ms + 1000);
    int16_t out[2 * 16];
    if (sound_decode(s, out, 16) != 0) abort();  // past the end: nothing more
    sound_stream_close(s);
    return 0;
}
