// The tempo analysis on generated pieces with known answers, through the
// MP3 encoder and the player's decoder as a show's soundtrack would go.
#include <gtest/gtest.h>

#include <cmath>

#include "app/music_analysis.h"
#include "platform/music_levels.h"
#include "platform/sound.h"
#include "assetlib/mp3_encode.h"
#include "assetlib/test_music.h"

namespace {

std::vector<float> decoded_piece(int id) {
    std::vector<unsigned char> mp3 = asset_encode_mp3(test_piece_pcm(id), 160);
    std::vector<float> mono;
    EXPECT_TRUE(music_decode_mono(mp3.data(), mp3.size(), &mono));
    return mono;
}

TEST(MusicAnalysis, FindsTempoDownbeatAndBeatsOfEachPiece) {
    for (int id = 0; id < TEST_PIECE_COUNT; ++id) {
        const test_piece& truth = test_piece_info(id);
        SCOPED_TRACE(truth.name);
        std::vector<float> mono = decoded_piece(id);
        music_analysis a = music_analyse(mono.data(), mono.size(), SOUND_RATE);
        std::printf("%-40s bpm %.3f confidence %.2f offset %.4f beats %zu onsets %zu\n", truth.name, a.bpm,
                    a.confidence, a.beat_offset, a.beats.size(), a.onsets.size());
        if (truth.bpm == 0) {
            EXPECT_FALSE(a.steady);
            continue;
        }
        ASSERT_TRUE(a.steady);
        EXPECT_NEAR(a.bpm, truth.bpm, truth.bpm * 0.005);
        EXPECT_NEAR(a.beat_offset, truth.first_downbeat, 0.015);
        // Every beat the piece plays, found within 15 ms.
        double period = 60.0 / truth.bpm, worst = 0;
        for (double t = truth.first_downbeat; t < truth.seconds - period; t += period) {
            double nearest = 1e9;
            for (double b : a.beats) nearest = std::min(nearest, std::abs(b - t));
            worst = std::max(worst, nearest);
        }
        std::printf("  worst beat error %.1f ms\n", worst * 1000);
        EXPECT_LT(worst, 0.015);
    }
}

}  // namespace
