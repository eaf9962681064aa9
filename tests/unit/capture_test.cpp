// The offline run's pure parts: the WAV header, the progress lines, the
// ffmpeg line, the PNG writer and the frame writer's thread, with the
// frames that cannot be written.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/capture.h"
#include "app/png_file.h"
#include "app/cmdline.h"
#include "app/frame_writer.h"
#include "app/progress.h"
#include "app/wav.h"
#include "core/clock.h"
#include "tests/test_support.h"

namespace {

// ---------------------------------------------------------------------------
// WAV
// ---------------------------------------------------------------------------

TEST(Wav, HeaderBytes) {
    uint8_t header[WAV_HEADER_SIZE];
    ASSERT_TRUE(wav_header(header, 44100, 2, 13230));
    const uint8_t expected[WAV_HEADER_SIZE] = {
        'R', 'I', 'F', 'F', 0xdc, 0xce, 0x00, 0x00,  // 36 + data bytes
        'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
        16, 0, 0, 0,                                  // fmt chunk size
        1, 0, 2, 0,                                   // PCM, 2 channels
        0x44, 0xac, 0x00, 0x00,                       // 44100 Hz
        0x10, 0xb1, 0x02, 0x00,                       // 176400 bytes a second
        4, 0, 16, 0,                                  // 4 bytes a frame, 16 bits
        'd', 'a', 't', 'a', 0xb8, 0xce, 0x00, 0x00,   // 13230 * 4 bytes
    };
    for (int i = 0; i < WAV_HEADER_SIZE; ++i) EXPECT_EQ(header[i], expected[i]) << "byte " << i;
}

TEST(Wav, HeaderRefusesWhatTheFormatCannotHold) {
    uint8_t header[WAV_HEADER_SIZE] = {};
    EXPECT_FALSE(wav_header(header, 0, 2, 10));
    EXPECT_FALSE(wav_header(header, 44100, 0, 10));
    EXPECT_FALSE(wav_header(header, 44100, 2, 0x40000000u));  // 4 GiB of data
    EXPECT_TRUE(wav_header(header, 44100, 2, (0xffffffffu - 36) / 4));
    EXPECT_FALSE(wav_header(header, 44100, 2, (0xffffffffu - 36) / 4 + 1));
}

// ---------------------------------------------------------------------------
// Progress
// ---------------------------------------------------------------------------

TEST(Progress, Texts) {
    EXPECT_EQ(progress_frame_text(120, 2, 20, 58.34f, 18.4f), "frame 120  2.00 / 20.00 s  58.3 fps  0:18 left");
    EXPECT_EQ(progress_frame_text(0, 0, 0.25f, 0, -1), "frame 0  0.00 / 0.25 s  0.0 fps  --:-- left");
    EXPECT_EQ(progress_frame_text(9, 1, 200, 1, 3725), "frame 9  1.00 / 200.00 s  1.0 fps  62:05 left");
    EXPECT_EQ(progress_loading_text(0.4f), "loading 40 %");
    EXPECT_EQ(progress_loading_text(2), "loading 100 %");
    EXPECT_EQ(progress_loading_text(-1), "loading 0 %");
    EXPECT_FLOAT_EQ(progress_seconds_left(2, 20, 60, 30), 36);  // 1080 frames at 30 a second
    EXPECT_FLOAT_EQ(progress_seconds_left(21, 20, 60, 30), 0);
    EXPECT_LT(progress_seconds_left(2, 20, 60, 0), 0);
}

TEST(Progress, PlainModePrintsOneLinePerTenth) {
    progress p;
    progress_begin(&p, 0);
    std::string out;
    for (int i = 0; i <= 100; ++i) out += progress_update(&p, i / 100.0f, "at " + std::to_string(i));
    EXPECT_EQ(out, "at 10\nat 20\nat 30\nat 40\nat 50\nat 60\nat 70\nat 80\nat 90\nat 100\n");
    EXPECT_EQ(progress_end(&p), "");
    // A jump over several tenths gives one line; going back gives none.
    progress_begin(&p, 0);
    EXPECT_EQ(progress_update(&p, 0.05f, "a"), "");
    EXPECT_EQ(progress_update(&p, 0.37f, "b"), "b\n");
    EXPECT_EQ(progress_update(&p, 0.2f, "c"), "");
    EXPECT_EQ(progress_update(&p, 7.0f, "d"), "d\n");  // clamped to the end
    EXPECT_EQ(progress_update(&p, 1.0f, "e"), "");
    // Seven frames of a tenth of a second from 12.5 s: the fraction, computed
    // from demo times, lands a hair below 0.7 and still counts as seven tenths.
    const float time = clock_fixed_time(12.5f, 7, 10);
    const float fraction = (time - 12.5f) / 1.0f;
    ASSERT_LT(fraction, 0.7f);
    progress_begin(&p, 0);
    p.tenths_shown = 6;
    EXPECT_EQ(progress_update(&p, fraction, "f"), "f\n");
    EXPECT_EQ(progress_update(&p, 0.79f, "g"), "");
}

// ---------------------------------------------------------------------------
// Capture pieces
// ---------------------------------------------------------------------------

TEST(Capture, FfmpegLine) {
    struct row {
        std::string dir;
        int fps, width, height, audio;
        std::string line;
    };
    const row rows[] = {
        {"out/capture", 60, 800, 600, 1,
         "ffmpeg -y -framerate 60 -i out/capture/frame_%06d.png -i out/capture/audio.wav -c:v libx264 "
         "-pix_fmt yuv420p -c:a aac -shortest out/show.mp4"},
        {"frames/", 20, 64, 36, 0, "ffmpeg -y -framerate 20 -i frames/frame_%06d.png -c:v libx264 -pix_fmt yuv420p show.mp4"},
        {"/tmp/a b", 30, 65, 36, 0,
         "ffmpeg -y -framerate 30 -i '/tmp/a b/frame_%06d.png' -vf 'pad=ceil(iw/2)*2:ceil(ih/2)*2' -c:v libx264 "
         "-pix_fmt yuv420p /tmp/show.mp4"},
        {"it's", 60, 2, 2, 0, "ffmpeg -y -framerate 60 -i 'it'\\''s/frame_%06d.png' -c:v libx264 -pix_fmt yuv420p show.mp4"},
    };
    for (const row& r : rows) EXPECT_EQ(capture_ffmpeg_line(r.dir, r.fps, r.width, r.height, r.audio), r.line);
}

TEST(Capture, PngHasTheTopRowFirstAndIsTheSameEveryTime) {
    temp_dir dir;
    // 3 x 2 pixels as GL reads them: the bottom row first, no row padding.
    const uint8_t bottom_up[] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    const std::string path = dir.file("f.png");
    ASSERT_TRUE(png_file_write(path.c_str(), 3, 2, bottom_up));
    png_pixels png = read_png(path);
    EXPECT_EQ(png.width, 3);
    EXPECT_EQ(png.height, 2);
    const std::vector<uint8_t> top_down = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 30, 40, 50, 60, 70, 80, 90};
    EXPECT_EQ(png.rgb, top_down);
    const std::string again = dir.file("g.png");
    ASSERT_TRUE(png_file_write(again.c_str(), 3, 2, bottom_up));
    EXPECT_EQ(read_file(path), read_file(again));
    EXPECT_FALSE(png_file_write(dir.file("no/such/folder/f.png").c_str(), 3, 2, bottom_up));
}

namespace fs = std::filesystem;

TEST(Capture, TheFrameWriterWritesEveryFrameItIsHandedAndNamesTheOneThatFails) {
    temp_dir dir;
    // Every frame a different picture, so a frame written from another
    // frame's buffer is seen.
    for (int frame = 0; frame < 5; frame++) {
        std::vector<uint8_t> rgb(8 * 4 * 3, static_cast<uint8_t>(40 * frame));
        ASSERT_TRUE(frame_writer_submit(dir.file(capture_frame_name(frame)), frame, 8, 4, &rgb));
    }
    ASSERT_TRUE(frame_writer_finish());
    for (int frame = 0; frame < 5; frame++) {
        png_pixels png = read_png(dir.file(capture_frame_name(frame)));
        EXPECT_EQ(png.width * png.height, 32);
        EXPECT_EQ(png.rgb, std::vector<uint8_t>(8 * 4 * 3, static_cast<uint8_t>(40 * frame))) << frame;
    }
    EXPECT_EQ(frame_writer_failed(), -1);

    // Frame 1 cannot be written: the writer says so at the next hand-over or
    // at the end, naming frame 1, and takes no more frames.
    std::vector<uint8_t> rgb(8 * 4 * 3, 1);
    ASSERT_TRUE(frame_writer_submit(dir.file("again_0.png"), 0, 8, 4, &rgb));
    rgb.assign(8 * 4 * 3, 1);
    ASSERT_TRUE(frame_writer_submit(dir.file("no/such/folder/f.png"), 1, 8, 4, &rgb));
    rgb.assign(8 * 4 * 3, 1);
    EXPECT_FALSE(frame_writer_submit(dir.file("again_2.png"), 2, 8, 4, &rgb));
    EXPECT_FALSE(frame_writer_finish());
    EXPECT_EQ(frame_writer_failed(), 1);
    EXPECT_TRUE(fs::exists(dir.file("again_0.png")));
    EXPECT_FALSE(fs::exists(dir.file("again_2.png")));
}

TEST(Capture, AFrameNeverWritesThroughALinkAtItsName) {
    temp_dir dir;
    // A link at the frame's name (to a device that takes no bytes) is
    // replaced by the frame, not written through.
    const std::string path = dir.file("full.png");
    ASSERT_EQ(symlink("/dev/full", path.c_str()), 0);
    std::vector<uint8_t> rgb(64 * 64 * 3, 7);
    std::string error;
    bool replaced = false;
    EXPECT_TRUE(png_file_write(path.c_str(), 64, 64, rgb.data(), &error, &replaced)) << error;
    EXPECT_TRUE(replaced);
    struct stat info;
    ASSERT_EQ(lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(read_png(path).width, 64);
}

}  // namespace
