// The sound stream on MP3s made here from tones of known frequency and phase:
// gapless length, seeking past the end, a stream cut short.
#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/sound.h"
#include "tests/sound_support.h"
#include "tests/test_support.h"

namespace {

const int TONE_FRAMES = 3 * SOUND_RATE;

// Decodes `frames` frames from the stream's current position.
std::vector<int16_t> decode(sound_stream* s, int frames, int* got = nullptr) {
    std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
    int n = sound_decode(s, out.data(), frames);
    if (got) *got = n;
    return out;
}

struct stream_holder {
    sound_stream* s;
    explicit stream_holder(const std::vector<unsigned char>& mp3) : s(sound_stream_open_memory(mp3.data(), mp3.size())) {}
    ~stream_holder() { sound_stream_close(s); }
};

TEST(sound_stream, gapless_decoding_gives_back_exactly_the_encoded_samples) {
    const std::vector<unsigned char>& mp3 = tone_mp3(TONE_FRAMES);
    stream_holder h(mp3);
    ASSERT_NE(h.s, nullptr) << sound_error_text(sound_error());
    EXPECT_EQ(sound_error(), SOUND_OK);
    EXPECT_EQ(sound_stream_length(h.s), TONE_FRAMES);
    int got = 0;
    std::vector<int16_t> all = decode(h.s, TONE_FRAMES + 5000, &got);
    EXPECT_EQ(got, TONE_FRAMES);
    // Away from the edges the decoded signal lines up with the tone at lag 0.
    tone_match m = tone_best_lag(all.data() + 2 * 20000, 2048, 20000, 1152);
    EXPECT_EQ(m.lag, 0);
    EXPECT_LT(m.rms, 600.0);
    // Once at its end the stream gives silence only.
    EXPECT_EQ(sound_decode(h.s, all.data(), 100), 0);
    EXPECT_EQ(sound_stream_position(h.s), TONE_FRAMES);
}

TEST(sound_stream, seeking_past_the_end_leaves_silence_and_bad_positions_are_refused) {
    const std::vector<unsigned char>& mp3 = tone_mp3(TONE_FRAMES);
    stream_holder h(mp3);
    ASSERT_NE(h.s, nullptr);
    EXPECT_TRUE(sound_stream_set_time(h.s, 60000));
    EXPECT_EQ(sound_stream_position(h.s), TONE_FRAMES);
    int got = -1;
    decode(h.s, 512, &got);
    EXPECT_EQ(got, 0);
    // A stream at its end can be brought back.
    EXPECT_TRUE(sound_stream_set_time(h.s, 2990));
    decode(h.s, 4096, &got);
    EXPECT_EQ(got, TONE_FRAMES - 2990 * 441 / 10);

    EXPECT_FALSE(sound_stream_set_time(h.s, -1));
    EXPECT_EQ(sound_error(), SOUND_ERR_INVALID_PARAM);
    EXPECT_FALSE(sound_stream_set_time(nullptr, 0));
    EXPECT_STREQ(sound_error_text(sound_error()), "An invalid parameter was passed to this function");
    EXPECT_EQ(sound_decode(nullptr, nullptr, 10), 0);
}

// Seeks land on the samples a decode from the start gives at that position.
void expect_seeks_land_exactly(sound_stream* s) {
    int64_t length = sound_stream_length(s);
    ASSERT_TRUE(sound_stream_set_frame(s, 0));
    int got = 0;
    std::vector<int16_t> all = decode(s, static_cast<int>(length), &got);
    ASSERT_EQ(got, length);
    // One seek to the first sound after the middle, so the samples compared
    // are not silence.
    int64_t sound = length / 2;
    while (sound < length - 32 && all[2 * sound] == 0) ++sound;
    for (int64_t at : {sound, length / 7, length - 40}) {
        ASSERT_TRUE(sound_stream_set_frame(s, at)) << at;
        EXPECT_EQ(sound_stream_position(s), at);
        std::vector<int16_t> part = decode(s, 32, &got);
        EXPECT_EQ(got, 32);
        EXPECT_TRUE(std::equal(part.begin(), part.end(), all.begin() + 2 * at)) << "seek to " << at;
        EXPECT_EQ(sound_stream_position(s), at + 32);
    }
}

TEST(sound_stream, a_stream_cut_short_plays_and_seeks_in_what_it_holds) {
    const std::vector<unsigned char>& mp3 = tone_mp3(TONE_FRAMES);
    std::vector<unsigned char> half(mp3.begin(), mp3.begin() + mp3.size() / 2 + 77);
    stream_holder h(half);
    ASSERT_NE(h.s, nullptr) << sound_error();
    int64_t length = sound_stream_length(h.s);
    EXPECT_GT(length, TONE_FRAMES / 2 - 2 * 1152);
    EXPECT_LT(length, TONE_FRAMES / 2 + 2 * 1152);
    int got = 0;
    decode(h.s, TONE_FRAMES, &got);
    EXPECT_EQ(got, length);
    expect_seeks_land_exactly(h.s);
}

// Damaged frames behind an intact tag: the decoder's own seek lands hundreds
// of samples away from where it says it is.
TEST(sound_stream, a_stream_with_damaged_frames_seeks_exactly) {
    std::string bytes = read_file(std::string(QUILLON_SOURCE_DIR) + "/fuzz/seeds/mp3/damaged_frames");
    std::vector<unsigned char> damaged(bytes.begin(), bytes.end());
    stream_holder h(damaged);
    ASSERT_NE(h.s, nullptr) << sound_error();
    expect_seeks_land_exactly(h.s);
}

// A channel started paused is not mixed: its stream stays at its start
// until the channel plays (SDL's dummy driver: real callbacks on the audio
// thread, no device).
TEST(sound_channel, a_paused_channel_is_not_mixed_until_it_plays) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_TRUE(sound_init(SOUND_RATE, 2, 0)) << sound_error_text(sound_error());
    stream_holder tone(tone_mp3(TONE_FRAMES));
    int channel = sound_stream_play(tone.s, true);
    ASSERT_GE(channel, 0);
    SDL_Delay(200);
    EXPECT_EQ(sound_stream_position(tone.s), 0);
    sound_set_paused(channel, false);
    for (int i = 0; i < 200 && sound_stream_position(tone.s) == 0; ++i) SDL_Delay(10);
    EXPECT_GT(sound_stream_position(tone.s), 0);
    sound_set_paused(channel, true);
    sound_close();
}

}  // namespace
