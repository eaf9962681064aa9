// The music stream: the script's MP3 read into memory, opened on the sound
// layer, positioned at demostart and started paused, then unpaused right
// after the clock reset so sound and pictures share one origin. Every
// failure is fatal with the layer's error text (followed by the file's name
// when the file is at fault).
#include "platform/music.h"

#include <climits>
#include <cstdio>
#include <vector>

#include "core/fatal.h"
#include "core/file_read.h"
#include "core/settings.h"
#include "platform/sound.h"

namespace {

const float MINIMUM_VERSION = 3.63f;

bool sound_started = false;
std::vector<unsigned char> music_file;  // the stream reads from it: keep it
sound_stream* music_stream = nullptr;
int music_channel = -1;

[[noreturn]] void music_fail() { fatal_error("%s", sound_error_text(sound_error())); }
// A fault of the file itself: the layer's text first, then the file it concerns.
[[noreturn]] void music_file_fail() { fatal_error("%s: %s", sound_error_text(sound_error()), snd_mp3file); }

void require_file_name() {
    if (!snd_mp3file) fatal_error("Script: snd_enable is set but snd_mp3file is not");
}

}  // namespace

int music_start_ms(float start) {
    if (!(start > 0)) return 0;
    float ms = start * 1000.0f;
    if (ms >= static_cast<float>(INT_MAX)) return INT_MAX;
    return static_cast<int>(ms);
}

void music_read_file(std::vector<unsigned char>* bytes) {
    require_file_name();
    if (!file_read_all(snd_mp3file, bytes)) fatal_error("Mp3 file not found in %s", snd_mp3file);
}

void music_open() {
    require_file_name();
    if (sound_version() < MINIMUM_VERSION) music_fail();
    if (!sound_init(SOUND_RATE, SOUND_MAX_CHANNELS, 0)) music_fail();
    sound_started = true;
    music_read_file(&music_file);
    music_stream = sound_stream_open_memory(music_file.data(), music_file.size());
    if (!music_stream) music_file_fail();
    if (demostart > 0 && !sound_stream_set_time(music_stream, music_start_ms(demostart))) music_file_fail();
}

void music_play() {
    music_channel = sound_stream_play(music_stream, true);
    if (music_channel < 0) music_fail();
    if (!sound_set_paused(music_channel, false)) music_fail();
}

void music_close() {
    sound_stream_close(music_stream);
    music_stream = nullptr;
    music_channel = -1;
    if (sound_started) sound_close();
    sound_started = false;
    music_file.clear();
    music_file.shrink_to_fit();
}

float music_cpu_usage() { return sound_started ? sound_cpu_usage() : 0.0f; }

sound_stream* music_current_stream() { return music_stream; }
