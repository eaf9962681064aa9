// WAV writer: a RIFF file with one "fmt " chunk (PCM, 16 bits) and one "data"
// chunk. The header is written first with zero sizes and rewritten at close,
// so samples can be streamed without knowing their count in advance.
#include "app/wav.h"

#include <cstring>

static void put_u32(uint8_t* at, uint32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(v >> (8 * i));
}

static void put_u16(uint8_t* at, uint32_t v) {
    at[0] = static_cast<uint8_t>(v);
    at[1] = static_cast<uint8_t>(v >> 8);
}

int wav_header(uint8_t out[WAV_HEADER_SIZE], int rate, int channels, uint32_t frames) {
    if (rate <= 0 || channels <= 0 || channels > 0xffff) return 0;
    const uint64_t frame_bytes = 2ull * static_cast<uint64_t>(channels);
    const uint64_t data_bytes = frame_bytes * frames;
    if (data_bytes + WAV_HEADER_SIZE - 8 > 0xffffffffull) return 0;
    std::memcpy(out, "RIFF", 4);
    put_u32(out + 4, static_cast<uint32_t>(data_bytes + WAV_HEADER_SIZE - 8));
    std::memcpy(out + 8, "WAVEfmt ", 8);
    put_u32(out + 16, 16);  // size of the fmt chunk
    put_u16(out + 20, 1);   // PCM
    put_u16(out + 22, static_cast<uint32_t>(channels));
    put_u32(out + 24, static_cast<uint32_t>(rate));
    put_u32(out + 28, static_cast<uint32_t>(rate * frame_bytes));  // bytes per second
    put_u16(out + 32, static_cast<uint32_t>(frame_bytes));        // block align
    put_u16(out + 34, 16);  // bits per sample
    std::memcpy(out + 36, "data", 4);
    put_u32(out + 40, static_cast<uint32_t>(data_bytes));
    return 1;
}

static void write_header(wav_writer* w) {
    uint8_t header[WAV_HEADER_SIZE];
    if (!wav_header(header, w->rate, w->channels, w->frames)) {
        w->failed = 1;
        return;
    }
    if (std::fseek(w->file, 0, SEEK_SET) != 0 || std::fwrite(header, 1, sizeof header, w->file) != sizeof header)
        w->failed = 1;
}

int wav_open(wav_writer* w, const char* path, int rate, int channels) {
    *w = wav_writer{};
    w->rate = rate;
    w->channels = channels;
    w->file = std::fopen(path, "wb");
    if (!w->file) return 0;
    write_header(w);
    return 1;
}

// Samples go out as little-endian bytes whatever the machine's order. A
// write that would take the file past the format's 4 GiB marks it failed.
void wav_write(wav_writer* w, const int16_t* samples, int frames) {
    if (!w->file || w->failed || frames <= 0) return;
    const uint64_t total = static_cast<uint64_t>(w->frames) + static_cast<uint64_t>(frames);
    uint8_t probe[WAV_HEADER_SIZE];
    if (total > 0xffffffffull || !wav_header(probe, w->rate, w->channels, static_cast<uint32_t>(total))) {
        w->failed = 1;
        return;
    }
    uint8_t chunk[4096];
    const size_t values = static_cast<size_t>(frames) * static_cast<size_t>(w->channels);
    for (size_t done = 0; done < values;) {
        size_t n = values - done < sizeof chunk / 2 ? values - done : sizeof chunk / 2;
        for (size_t i = 0; i < n; ++i) put_u16(chunk + 2 * i, static_cast<uint16_t>(samples[done + i]));
        if (std::fwrite(chunk, 2, n, w->file) != n) w->failed = 1;
        done += n;
    }
    w->frames = static_cast<uint32_t>(total);
}

int wav_close(wav_writer* w) {
    if (!w->file) return 0;
    if (!w->failed) write_header(w);
    if (std::fclose(w->file) != 0) w->failed = 1;
    w->file = nullptr;
    return !w->failed;
}
