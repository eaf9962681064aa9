// The soundtrack's band levels, measured on a bass burst over a steady high
// tone, through the MP3 encoder and the player's decoder.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/music_levels.h"
#include "platform/sound.h"
#include "assetlib/mp3_encode.h"

namespace {

const double BURST = 2.0, BURST_END = 2.6;  // seconds
const double HOP = double(MUSIC_LEVEL_HOP) / SOUND_RATE;

// 5 s of a 7 kHz tone, with a 60 Hz burst from BURST to BURST_END.
music_levels burst_levels() {
    const int frames = 5 * SOUND_RATE;
    std::vector<int16_t> pcm(size_t(frames) * 2);
    for (int i = 0; i < frames; ++i) {
        double t = double(i) / SOUND_RATE;
        double v = 0.2 * std::sin(2 * M_PI * 7000 * t);
        if (t >= BURST && t < BURST_END) v += 0.5 * std::sin(2 * M_PI * 60 * (t - BURST));
        pcm[size_t(i) * 2] = pcm[size_t(i) * 2 + 1] = int16_t(std::lround(v * 32767));
    }
    std::vector<unsigned char> mp3 = asset_encode_mp3(pcm, 192);
    std::vector<float> mono;
    EXPECT_TRUE(music_decode_mono(mp3.data(), mp3.size(), &mono));
    EXPECT_NEAR(double(mono.size()), frames, 1);
    return music_levels_compute(mono.data(), mono.size(), SOUND_RATE);
}

// The first time from `from` on (in steps of a tenth of a hop) where the
// band reaches `level`; -1 if it never does before `to`.
double first_reaching(const music_levels& l, music_band band, float level, double from, double to) {
    for (double t = from; t < to; t += HOP / 10)
        if (music_levels_at(l, band, t) >= level) return t;
    return -1;
}

TEST(MusicLevels, BassBurstRaisesBassAtItsTimeAndLeavesTreble) {
    music_levels l = burst_levels();
    // Before the burst the bass band holds only the encoder's noise.
    EXPECT_LT(music_levels_at(l, MUSIC_BASS, BURST - 0.5), 0.2f);
    double rise = first_reaching(l, MUSIC_BASS, 1.0f, 1.0, 3.0);
    EXPECT_NEAR(rise, BURST, HOP);
    EXPECT_GT(music_levels_at(l, MUSIC_BASS, BURST + 0.1), 1.5f);
    // The steady tone is as loud as ever: its level stays about 1.
    for (double t = 1.0; t < 3.5; t += 0.05) EXPECT_NEAR(music_levels_at(l, MUSIC_TREBLE, t), 1.0f, 0.2f) << t;
    // The whole-range level follows the burst as well.
    EXPECT_NEAR(first_reaching(l, MUSIC_LEVEL, 1.3f, 1.0, 3.0), BURST, 2 * HOP);
    // However quiet the time before, a level is bounded.
    EXPECT_EQ(music_levels_at(l, MUSIC_BASS, BURST + 0.3), MUSIC_LEVEL_MAX);
    // Before the music and after its end there is nothing.
    EXPECT_EQ(music_levels_at(l, MUSIC_BASS, -1.0), 0.0f);
    EXPECT_EQ(music_levels_at(l, MUSIC_TREBLE, 6.0), 0.0f);
}

}  // namespace
