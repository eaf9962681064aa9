#include "app/soundtrack.h"

#include <algorithm>

#include "app/wav.h"
#include "core/fatal.h"
#include "core/file_read.h"
#include "core/settings.h"
#include "platform/sound.h"

int64_t soundtrack_frames(int frames, int fps, int rate) {
    if (frames <= 0 || fps <= 0) return 0;
    return (static_cast<int64_t>(frames) * rate + fps / 2) / fps;
}

void soundtrack_read(std::vector<unsigned char>* mp3) {
    mp3->clear();
    if (!snd_enable || !snd_mp3file) return;
    if (!file_read_all(snd_mp3file, mp3)) fatal_error("Capture: music file %s cannot be opened", snd_mp3file);
    sound_stream* stream = sound_stream_open_memory(mp3->data(), mp3->size());
    if (!stream) fatal_error("Capture: music file %s: %s", snd_mp3file, sound_error_text(sound_error()));
    sound_stream_close(stream);
}

void soundtrack_write_wav(const std::vector<unsigned char>& mp3, const std::string& folder, const std::string& shown,
                          int frames, int fps) {
    std::string path = folder + "/audio.wav";
    sound_stream* stream = sound_stream_open_memory(mp3.data(), mp3.size());
    if (!stream) fatal_error("Capture: music file %s: %s", snd_mp3file, sound_error_text(sound_error()));
    sound_stream_set_time(stream, static_cast<int>(demostart * 1000.0f + 0.5f));
    wav_writer wav;
    if (!wav_open(&wav, path.c_str(), SOUND_RATE, 2)) fatal_error("Capture: %s/audio.wav cannot be written", shown.c_str());
    enum { CHUNK_FRAMES = 4096 };
    std::vector<int16_t> samples(2 * CHUNK_FRAMES);
    for (int64_t left = soundtrack_frames(frames, fps, SOUND_RATE); left > 0;) {
        int want = left < CHUNK_FRAMES ? static_cast<int>(left) : CHUNK_FRAMES;
        int got = sound_decode(stream, samples.data(), want);
        if (got < 0) got = 0;
        std::fill(samples.begin() + 2 * got, samples.begin() + 2 * want, 0);
        wav_write(&wav, samples.data(), want);
        left -= want;
    }
    sound_stream_close(stream);
    if (!wav_close(&wav)) fatal_error("Capture: %s/audio.wav cannot be written", shown.c_str());
}
