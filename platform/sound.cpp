// The sound layer's output side: SDL 1.2 audio opened at 44100 Hz stereo
// 16-bit, a fixed set of mixing channels each playing one stream, the error
// code and its texts, and the load figure measured inside the callback.
#include <SDL/SDL.h>

#include <atomic>
#include <climits>
#include <ctime>

#include "platform/sound_local.h"

namespace {

struct sound_channel {
    sound_stream* stream = nullptr;  // null: the channel is free
    bool paused = true;
};

// Frames mixed per pass; the callback loops when SDL asks for more.
const int MIX_FRAMES = 1024;

struct sound_output {
    bool open = false;
    int channel_count = 0;
    sound_channel channels[SOUND_MAX_CHANNELS];
    sound_load_ring load;
    int32_t mix[MIX_FRAMES * 2];
    int16_t decoded[MIX_FRAMES * 2];
};

sound_output output;
std::atomic<int> last_error{SOUND_OK};

const char* const error_texts[] = {
    "No errors",
    "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first.",
    "This command failed because FSOUND_Init was not called",
    "Error initializing output device.",
    "Unknown file format",
    "Error loading file",
    "Not enough memory ",
    "An invalid parameter was passed to this function",
    "Failed to allocate a new channel",
};
const int ERROR_TEXT_COUNT = sizeof error_texts / sizeof error_texts[0];

int64_t monotonic_ns() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Keeps the audio callback out while the main thread changes shared state.
struct audio_guard {
    bool locked;
    audio_guard() : locked(output.open) {
        if (locked) SDL_LockAudio();
    }
    ~audio_guard() {
        if (locked) SDL_UnlockAudio();
    }
};

int16_t saturate(int32_t v) { return static_cast<int16_t>(v > 32767 ? 32767 : v < -32768 ? -32768 : v); }

// Mixes every playing channel into `out` (`frames` stereo frames).
void mix_pass(int16_t* out, int frames) {
    for (int i = 0; i < frames * 2; ++i) output.mix[i] = 0;
    for (int c = 0; c < output.channel_count; ++c) {
        sound_channel& ch = output.channels[c];
        if (!ch.stream || ch.paused) continue;
        int got = sound_decode(ch.stream, output.decoded, frames);
        for (int i = 0; i < got * 2; ++i) output.mix[i] += output.decoded[i];
    }
    for (int i = 0; i < frames * 2; ++i) out[i] = saturate(output.mix[i]);
}

void audio_callback(void*, Uint8* bytes, int len) {
    int64_t begin = monotonic_ns();
    int16_t* out = reinterpret_cast<int16_t*>(bytes);
    int frames = len / 4;
    while (frames > 0) {
        int n = frames < MIX_FRAMES ? frames : MIX_FRAMES;
        mix_pass(out, n);
        out += n * 2;
        frames -= n;
    }
    int64_t end = monotonic_ns();
    sound_load_add(&output.load, end, end - begin);
}

bool channel_valid(int channel) {
    return channel >= 0 && channel < output.channel_count && output.channels[channel].stream;
}

}  // namespace

void sound_set_error(int code) { last_error.store(code); }
int sound_error() { return last_error.load(); }

const char* sound_error_text(int code) {
    if (code < 0 || code >= ERROR_TEXT_COUNT) return "Unknown error";
    return error_texts[code];
}

float sound_version() { return 3.70f; }

bool sound_init(int rate, int channels, unsigned) {
    if (output.open) {
        sound_set_error(SOUND_ERR_INITIALISED);
        return false;
    }
    if (rate != SOUND_RATE || channels < 1 || channels > SOUND_MAX_CHANNELS) {
        sound_set_error(SOUND_ERR_INVALID_PARAM);
        return false;
    }
    SDL_AudioSpec wanted = {};
    wanted.freq = SOUND_RATE;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = MIX_FRAMES;
    wanted.callback = audio_callback;
    // Without an "obtained" format to fill in, SDL converts to the device itself,
    // so the callback always sees the format asked for.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0 || SDL_OpenAudio(&wanted, nullptr) < 0) {
        if (SDL_WasInit(SDL_INIT_AUDIO)) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        sound_set_error(SOUND_ERR_INIT);
        return false;
    }
    output.channel_count = channels;
    for (sound_channel& ch : output.channels) ch = sound_channel();
    sound_load_reset(&output.load, monotonic_ns());
    output.open = true;
    SDL_PauseAudio(0);
    sound_set_error(SOUND_OK);
    return true;
}

void sound_close() {
    if (!output.open) return;
    SDL_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    for (int c = 0; c < output.channel_count; ++c) {
        if (output.channels[c].stream) output.channels[c].stream->channel = -1;
        output.channels[c] = sound_channel();
    }
    output.channel_count = 0;
    output.open = false;
}

bool sound_stream_set_time(sound_stream* stream, int ms) {
    if (!stream || ms < 0) {
        sound_set_error(SOUND_ERR_INVALID_PARAM);
        return false;
    }
    return sound_stream_set_frame(stream, static_cast<int64_t>(ms) * SOUND_RATE / 1000);
}

bool sound_stream_set_frame(sound_stream* stream, int64_t frame) {
    if (!stream || frame < 0) {
        sound_set_error(SOUND_ERR_INVALID_PARAM);
        return false;
    }
    audio_guard guard;
    bool ok = sound_stream_seek_frames(stream, frame);
    sound_set_error(ok ? SOUND_OK : SOUND_ERR_FILE_BAD);
    return ok;
}

int64_t sound_stream_position(const sound_stream* stream) {
    if (!stream) return 0;
    audio_guard guard;
    return sound_stream_tell(stream);
}

int sound_stream_play(sound_stream* stream, bool paused) {
    if (!output.open) {
        sound_set_error(SOUND_ERR_UNINITIALISED);
        return -1;
    }
    if (!stream) {
        sound_set_error(SOUND_ERR_INVALID_PARAM);
        return -1;
    }
    audio_guard guard;
    int channel = stream->channel;
    for (int c = 0; c < output.channel_count && channel < 0; ++c)
        if (!output.channels[c].stream) channel = c;
    if (channel < 0) {
        sound_set_error(SOUND_ERR_CHANNEL_ALLOC);
        return -1;
    }
    output.channels[channel].stream = stream;
    output.channels[channel].paused = paused;
    stream->channel = channel;
    sound_set_error(SOUND_OK);
    return channel;
}

bool sound_set_paused(int channel, bool paused) {
    if (!output.open) {
        sound_set_error(SOUND_ERR_UNINITIALISED);
        return false;
    }
    audio_guard guard;
    if (!channel_valid(channel)) {
        sound_set_error(SOUND_ERR_INVALID_PARAM);
        return false;
    }
    output.channels[channel].paused = paused;
    sound_set_error(SOUND_OK);
    return true;
}

void sound_stream_close(sound_stream* stream) {
    if (!stream) return;
    {
        audio_guard guard;
        if (stream->channel >= 0 && stream->channel < output.channel_count)
            output.channels[stream->channel] = sound_channel();
    }
    sound_stream_free(stream);
}

float sound_cpu_usage() {
    if (!output.open) return 0.0f;
    audio_guard guard;
    return sound_load_percent(&output.load, monotonic_ns());
}

void sound_load_reset(sound_load_ring* ring, int64_t now_ns) {
    ring->count = 0;
    ring->next = 0;
    ring->start_ns = now_ns;
}

void sound_load_add(sound_load_ring* ring, int64_t end_ns, int64_t busy_ns) {
    ring->end_ns[ring->next] = end_ns;
    ring->busy_ns[ring->next] = busy_ns;
    ring->next = (ring->next + 1) % SOUND_LOAD_ENTRIES;
    if (ring->count < SOUND_LOAD_ENTRIES) ring->count++;
}

float sound_load_percent(const sound_load_ring* ring, int64_t now_ns) {
    const int64_t SECOND = 1000000000;
    int64_t window_start = now_ns - SECOND;
    if (ring->start_ns > window_start) window_start = ring->start_ns;
    // A full ring may not reach back a whole second: measure over what it holds.
    if (ring->count == SOUND_LOAD_ENTRIES) {
        int oldest = ring->next;
        int64_t covered = ring->end_ns[oldest] - ring->busy_ns[oldest];
        if (covered > window_start) window_start = covered;
    }
    int64_t busy = 0;
    for (int i = 0; i < ring->count; ++i)
        if (ring->end_ns[i] > window_start && ring->end_ns[i] <= now_ns) busy += ring->busy_ns[i];
    int64_t span = now_ns - window_start;
    if (span <= 0) return 0.0f;
    double percent = 100.0 * static_cast<double>(busy) / static_cast<double>(span);
    return static_cast<float>(percent < 0 ? 0 : percent > 100 ? 100 : percent);
}
