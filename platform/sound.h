// The sound layer: MP3 streams decoded from memory and mixed into SDL's audio
// output (44100 Hz, stereo, 16-bit signed), with error codes, their texts and
// a mixer-load figure.
//
// Every call that fails sets the error code that sound_error() returns; a
// call that succeeds sets it to SOUND_OK. Calls are made from the main
// thread; the audio callback runs on SDL's audio thread and everything it
// shares with the main thread is guarded by SDL_LockAudio.
#pragma once

#include <cstddef>
#include <cstdint>

enum {
    SOUND_RATE = 44100,       // the only mixing rate; streams are decoded to it
    SOUND_MAX_CHANNELS = 32,  // mixing channels sound_init accepts at most
};

// Error codes, numbered as the texts of sound_error_text().
enum sound_error_code {
    SOUND_OK = 0,
    SOUND_ERR_INITIALISED = 1,
    SOUND_ERR_UNINITIALISED = 2,
    SOUND_ERR_INIT = 3,
    SOUND_ERR_FILE_FORMAT = 4,
    SOUND_ERR_FILE_BAD = 5,
    SOUND_ERR_MEMORY = 6,
    SOUND_ERR_INVALID_PARAM = 7,
    SOUND_ERR_CHANNEL_ALLOC = 8,
};

struct sound_stream;

// This layer's version number.
float sound_version();

// Opens the audio output: `rate` must be SOUND_RATE, `channels` (mixing
// channels, 1..SOUND_MAX_CHANNELS) bounds how many streams play at once.
// `flags` is reserved (pass 0). False on failure.
bool sound_init(int rate, int channels, unsigned flags);
// Stops the output and frees every channel; streams stay open. Safe when the
// output was never opened.
void sound_close();

// Opens an MP3 held in memory. The bytes are not copied: they must outlive
// the stream. Null when the data is not an MP3 (SOUND_ERR_FILE_FORMAT) or an
// MP3 whose frames cannot all be read (SOUND_ERR_FILE_BAD).
sound_stream* sound_stream_open_memory(const unsigned char* data, size_t size);
// Positions the stream so that the next sample produced is the one at `ms`
// milliseconds (sample-exact). A position past the end leaves the stream at
// its end (it then produces silence).
bool sound_stream_set_time(sound_stream* stream, int ms);
// The same at a sample frame.
bool sound_stream_set_frame(sound_stream* stream, int64_t frame);
// The stream's position in sample frames from its start.
int64_t sound_stream_position(const sound_stream* stream);
// The stream's length in sample frames.
int64_t sound_stream_length(const sound_stream* stream);
// Starts the stream on a free channel, paused or not; the channel number, or
// -1 on failure.
int sound_stream_play(sound_stream* stream, bool paused);
bool sound_set_paused(int channel, bool paused);
// Stops the stream's channel (if any) and frees the stream. Null is ignored.
void sound_stream_close(sound_stream* stream);

// Decodes up to `frames` stereo sample frames (2 values each) into `out`
// without the audio output; returns how many were decoded (fewer only at the
// stream's end). Used by the mixer, by offline capture and by tests; not for
// a stream that is playing on an unpaused channel (the mixer reads it).
int sound_decode(sound_stream* stream, int16_t* out, int frames);

// The code of the last call, and the text for a code ("Unknown error" for a
// code without one).
int sound_error();
const char* sound_error_text(int code);

// Share of wall time spent in the audio callback (decoding and mixing) over
// the last second, in percent; 0 when the output is not open.
float sound_cpu_usage();

// The figures behind sound_cpu_usage(): one entry per callback, the newest
// SOUND_LOAD_ENTRIES kept. Times are nanoseconds on a monotonic clock.
enum { SOUND_LOAD_ENTRIES = 256 };
struct sound_load_ring {
    int64_t end_ns[SOUND_LOAD_ENTRIES];
    int64_t busy_ns[SOUND_LOAD_ENTRIES];
    int count;     // entries filled, up to SOUND_LOAD_ENTRIES
    int next;      // where the next entry goes
    int64_t start_ns;  // when measuring began
};
void sound_load_reset(sound_load_ring* ring, int64_t now_ns);
void sound_load_add(sound_load_ring* ring, int64_t end_ns, int64_t busy_ns);
// Busy time of the callbacks that ended within the last second before
// `now_ns`, as a percentage of that second (or of the time since measuring
// began when that is shorter), clamped to 0..100.
float sound_load_percent(const sound_load_ring* ring, int64_t now_ns);
