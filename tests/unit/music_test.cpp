// The music stream on the sound layer with SDL's dummy audio driver: the
// start position taken from demostart, the fatal paths and their messages,
// and closing whatever state a failure left.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/settings.h"
#include "platform/music.h"
#include "platform/sound.h"
#include "tests/sound_support.h"
#include "tests/test_support.h"

namespace {

// A script state with sound on and the MP3 at `path` (null: none given).
struct music_script {
    catch_fatal fatal;
    explicit music_script(const char* path, float start = 0) {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        settings_reset();
        snd_enable = 1;
        if (path) snd_mp3file = strdup(path);
        demostart = start;
    }
    ~music_script() {
        music_close();
        settings_reset();
    }
};

TEST(music, failures_are_fatal_with_their_messages) {
    temp_dir dir;
    std::string garbage = dir.write("garbage.mp3", "this is not an mp3 at all\n");
    std::string empty = dir.write("empty.mp3", "");
    struct row {
        const char* path;
        const char* message;
    } rows[] = {
        {nullptr, "Script: snd_enable is set but snd_mp3file is not"},
        {"/no/such/folder/song.mp3", "Mp3 file not found in /no/such/folder/song.mp3"},
        {dir.path.c_str(), nullptr},  // a folder opens but cannot be read
        {garbage.c_str(), "Unknown file format: "},
        {empty.c_str(), "Unknown file format: "},
    };
    std::string folder_message = "Mp3 file not found in " + dir.path;
    for (const row& r : rows) {
        music_script script(r.path);
        std::string expected = r.message ? r.message : folder_message;
        // The layer's text first, then the file it is about.
        if (expected.back() == ' ') expected += r.path;
        EXPECT_EQ(fatal_message(music_open), expected) << (r.path ? r.path : "null");
    }
}

TEST(music, an_output_that_cannot_open_is_fatal) {
    temp_dir dir;
    const std::vector<unsigned char>& mp3 = tone_mp3(SOUND_RATE);
    std::string path = dir.write("tone.mp3", std::string(mp3.begin(), mp3.end()));
    music_script script(path.c_str());
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_EQ(fatal_message(music_open), "Error initializing output device.");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

}  // namespace
