// Unit tests of the offline run's pure parts: the fixed-step clock, the new
// command-line options, the bench figures and texts, the WAV header and
// writer, the progress lines, the PNG writer and the ffmpeg line.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <png.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/bench_report.h"
#include "app/capture.h"
#include "core/clock.h"
#include "app/frame_writer.h"
#include "app/cmdline.h"
#include "app/progress.h"
#include "core/settings.h"
#include "app/wav.h"
#include "tests/test_support.h"

namespace {

// ---------------------------------------------------------------------------
// Fixed-step clock
// ---------------------------------------------------------------------------

float source_now = 0;
float moving_source() { return source_now += 0.37f; }  // a wall clock running at its own pace

struct FixedClockTest : testing::Test {
    float saved_demostart = demostart;
    void TearDown() override {
        clock_set_fixed_step(0);
        clock_set_source(nullptr);
        demostart = saved_demostart;
        clock_start();
    }
};

TEST_F(FixedClockTest, FrameKShowsStartPlusKSteps) {
    struct row {
        float demostart;
        int fps;
        int frames;
    };
    const row rows[] = {{0, 60, 200}, {0, 20, 10}, {12.5f, 60, 100}, {30, 25, 50}, {0, 1, 5}, {7.25f, 1000, 300}};
    clock_set_source(moving_source);
    for (const row& r : rows) {
        SCOPED_TRACE(testing::Message() << "demostart " << r.demostart << " fps " << r.fps);
        demostart = r.demostart;
        clock_set_fixed_step(r.fps);
        clock_start();
        clock_reset();
        EXPECT_EQ(demo_time, r.demostart);
        EXPECT_EQ(frame_delta, 0);
        for (int k = 1; k <= r.frames; ++k) {
            clock_tick();
            ASSERT_EQ(demo_time, clock_fixed_time(r.demostart, k, r.fps)) << "frame " << k;
            ASSERT_NEAR(demo_time, r.demostart + static_cast<double>(k) / r.fps, 1e-5 * (1 + r.demostart));
            ASSERT_EQ(frame_delta, 1.0f / static_cast<float>(r.fps));
            ASSERT_EQ(frame_number, k);
        }
    }
}

TEST_F(FixedClockTest, AnHourOfFramesDoesNotDrift) {
    demostart = 0;
    clock_set_fixed_step(60);
    clock_start();
    clock_reset();
    for (int k = 0; k < 60 * 3600; ++k) clock_tick();
    EXPECT_EQ(demo_time, 3600.0f);
    EXPECT_NEAR(fps_value, 60, 0.01);
}

TEST_F(FixedClockTest, StepZeroGoesBackToTheSource) {
    float now = 5;
    static float* reading = nullptr;
    reading = &now;
    clock_set_source([] { return *reading; });
    demostart = 0;
    clock_set_fixed_step(10);
    clock_start();
    clock_reset();
    clock_tick();
    EXPECT_FLOAT_EQ(demo_time, 0.1f);
    clock_set_fixed_step(0);
    clock_start();
    clock_reset();
    now = 5.5f;
    clock_tick();
    EXPECT_FLOAT_EQ(demo_time, 0.5f);
    clock_set_fixed_step(-3);  // not a step: the source stays in charge
    now = 6;
    clock_tick();
    EXPECT_FLOAT_EQ(demo_time, 1);
}

// ---------------------------------------------------------------------------
// Command line
// ---------------------------------------------------------------------------


std::string text(const char* s) { return s ? s : "(null)"; }

TEST(CaptureCmdline, OfflineOptions) {
    struct row {
        std::vector<std::string> args;
        const char* capture;
        int bench, fps;
        const char* json;
        int width, height;
    };
    const char* none = nullptr;
    const row rows[] = {
        {{}, none, 0, 0, none, 0, 0},
        {{"--capture", "out"}, "out", 0, 60, none, 0, 0},
        {{"--capture", "out", "--fps", "20"}, "out", 0, 20, none, 0, 0},
        {{"--fps", "24", "--capture", "o"}, "o", 0, 24, none, 0, 0},
        {{"--bench"}, none, 1, 60, none, 0, 0},
        {{"--bench", "--fps", "1000", "--json", "r.json"}, none, 1, 1000, "r.json", 0, 0},
        {{"--bench", "--fps", "1"}, none, 1, 1, none, 0, 0},
        {{"--size", "64x36"}, none, 0, 0, none, 64, 36},
        {{"--size", "1X16384"}, none, 0, 0, none, 1, 16384},
        {{"--size", "640x480", "--size", "32x32"}, none, 0, 0, none, 32, 32},
    };
    for (const row& r : rows) {
        std::string line;
        for (const std::string& a : r.args) line += " " + a;
        SCOPED_TRACE("quillon" + line);
        cmdline c = parse_command_line(r.args);
        EXPECT_EQ(text(c.error), "(null)");
        EXPECT_STREQ(c.value_error, "");
        EXPECT_EQ(text(c.capture_dir), text(r.capture));
        EXPECT_EQ(c.bench, r.bench);
        EXPECT_EQ(c.offline_fps, r.fps);
        EXPECT_EQ(text(c.json), text(r.json));
        EXPECT_EQ(c.width, r.width);
        EXPECT_EQ(c.height, r.height);
    }
}

TEST(CaptureCmdline, StartAndEnd) {
    cmdline c = parse_command_line({"--start", "12.5", "--end", "20"});
    EXPECT_TRUE(c.has_start && c.has_end);
    EXPECT_FLOAT_EQ(c.start, 12.5f);
    EXPECT_FLOAT_EQ(c.end, 20);
    c = parse_command_line({"--end", "0", "--start", "3"});  // end 0: no end, whatever the start
    EXPECT_STREQ(c.value_error, "");
    EXPECT_EQ(c.end, 0);
    c = parse_command_line({"--start", "0"});
    EXPECT_TRUE(c.has_start);
    EXPECT_FALSE(c.has_end);
}

TEST(CaptureCmdline, BadValuesAreReported) {
    struct row {
        std::vector<std::string> args;
        const char* message;  // expected start of value_error
    };
    const row rows[] = {
        {{"--capture", "o", "--fps", "0"}, "--fps must be a whole number"},
        {{"--capture", "o", "--fps", "-5"}, "--fps must be"},
        {{"--capture", "o", "--fps", "1001"}, "--fps must be"},
        {{"--capture", "o", "--fps", "2.5"}, "--fps must be"},
        {{"--capture", "o", "--fps", "60fps"}, "--fps must be"},
        {{"--capture", "o", "--fps", ""}, "--fps must be"},
        {{"--size", "0x5"}, "--size must be WIDTHxHEIGHT"},
        {{"--size", "5x0"}, "--size must be"},
        {{"--size", "640"}, "--size must be"},
        {{"--size", "x480"}, "--size must be"},
        {{"--size", "640x"}, "--size must be"},
        {{"--size", "640x480x2"}, "--size must be"},
        {{"--size", "16385x10"}, "--size must be"},
        {{"--size", "99999999999999999999x10"}, "--size must be"},
        {{"--size", " 64x36"}, "--size must be"},
        {{"--start", "-1"}, "--start must be a number of seconds"},
        {{"--start", "soon"}, "--start must be"},
        {{"--start", "nan"}, "--start must be"},
        {{"--end", "inf"}, "--end must be"},
        {{"--end", "2s"}, "--end must be"},
        {{"--start", "5", "--end", "5"}, "--end 5 must be after --start 5"},
        {{"--start", "5", "--end", "2"}, "--end 2 must be after --start 5"},
        {{"--fps", "30"}, "--fps is only used with --capture, --bench or --edit"},
        {{"--json", "r.json"}, "--json is only used with --bench"},
        {{"--capture", "o", "--json", "r.json"}, "--json is only used with --bench"},
        {{"--capture", "o", "--bench"}, "--capture and --bench cannot be combined"},
        {{"--capture", ""}, "--capture needs a folder name"},
        {{"--fps", "0", "--size", "0x0"}, "--fps must be"},  // the first fault is the one reported
    };
    for (const row& r : rows) {
        std::string line;
        for (const std::string& a : r.args) line += " " + a;
        SCOPED_TRACE("quillon" + line);
        cmdline c = parse_command_line(r.args);
        EXPECT_EQ(text(c.error), "(null)");
        EXPECT_EQ(std::string(c.value_error).rfind(r.message, 0), 0u) << c.value_error;
    }
    // The value is quoted so an empty or odd one is visible.
    EXPECT_STREQ(parse_command_line({"--size", "0x5"}).value_error,
                 "--size must be WIDTHxHEIGHT, both whole numbers from 1 to 16384, not '0x5'");
    // A missing value is still a parse error, like --script's.
    cmdline c = parse_command_line({"--capture"});
    EXPECT_EQ(text(c.error), "missing value for");
    EXPECT_EQ(text(c.error_arg), "--capture");
}

TEST(CaptureCmdline, UsageListsTheNewOptions) {
    const std::string usage = cmdline_usage();
    for (const char* option : {"--size WxH", "--start SECONDS", "--end SECONDS", "--capture DIR", "--bench",
                               "--fps N", "--json FILE", "DIR/audio.wav"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

TEST(CaptureCmdline, ApplyOverridesTheScriptForOneRun) {
    const int saved[] = {gl_width, gl_height, gl_fullscreen};
    const float saved_start = demostart, saved_end = demoend;
    struct row {
        std::vector<std::string> args;
        int width, height, fullscreen;
        float start, end;
    };
    const row rows[] = {
        {{}, 800, 600, 1, 3, 9},
        {{"--size", "64x36"}, 64, 36, 1, 3, 9},
        {{"--start", "4.5"}, 800, 600, 1, 4.5f, 9},
        {{"--end", "0"}, 800, 600, 1, 3, 0},
        {{"--start", "0", "--end", "1"}, 800, 600, 1, 0, 1},
        {{"--capture", "o"}, 800, 600, 0, 3, 9},
        {{"--bench", "--fullscreen"}, 800, 600, 0, 3, 9},  // offline runs are always windowed
    };
    for (const row& r : rows) {
        gl_width = 800;
        gl_height = 600;
        gl_fullscreen = 1;
        demostart = 3;
        demoend = 9;
        cmdline c = parse_command_line(r.args);
        cmdline_apply(&c);
        EXPECT_EQ(gl_width, r.width);
        EXPECT_EQ(gl_height, r.height);
        EXPECT_EQ(gl_fullscreen, r.fullscreen);
        EXPECT_EQ(demostart, r.start);
        EXPECT_EQ(demoend, r.end);
    }
    gl_width = saved[0];
    gl_height = saved[1];
    gl_fullscreen = saved[2];
    demostart = saved_start;
    demoend = saved_end;
}

// ---------------------------------------------------------------------------
// Bench figures and texts
// ---------------------------------------------------------------------------

TEST(BenchReport, PercentileIsTheNearestRank) {
    struct row {
        std::vector<double> values;
        double percent;
        double expected;
    };
    const row rows[] = {
        {{}, 95, 0},
        {{7}, 95, 7},
        {{7}, 0, 7},
        {{3, 1, 2}, 50, 2},
        {{3, 1, 2}, 100, 3},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}, 95, 19},
        {{20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, 95, 19},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}, 95, 20},
        {{5, 5, 5, 100}, 95, 100},
        {{5, 5, 5, 100}, 75, 5},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.values.size() << " values, p" << r.percent);
        EXPECT_EQ(bench_percentile(r.values, r.percent), r.expected);
    }
    EXPECT_EQ(bench_mean({}), 0);
    EXPECT_DOUBLE_EQ(bench_mean({1, 2, 6}), 3);
}

bench_report sample_report() {
    bench_report r;
    r.fps = 20;
    r.first_time = 0;
    r.last_time = 0.25f;
    r.frame_ms = {2, 4, 6};
    r.sections = {{"genCamera", 12, {1, 3}}, {"efx\"odd\\name", 30, {}}};
    r.loading = {{"load", "efxFader", 0, 1.5}, {"init", "genCamera", 12, 0.25}};
    return r;
}

TEST(BenchReport, TableHasARowPerSectionAndStep) {
    std::string table = bench_table(sample_report());
    EXPECT_NE(table.find("Bench: 3 frames at 20 fps, demo time 0.000 to 0.250 s"), std::string::npos) << table;
    EXPECT_NE(table.find("genCamera                   12        2     2.000     3.000"), std::string::npos) << table;
    EXPECT_NE(table.find("efx\"odd\\name                30        0         -         -"), std::string::npos) << table;
    EXPECT_NE(table.find("whole frame                           3     4.000     6.000"), std::string::npos) << table;
    EXPECT_NE(table.find("load efxFader                      1.500"), std::string::npos) << table;
    EXPECT_NE(table.find("init genCamera              12     0.250"), std::string::npos) << table;
    EXPECT_NE(table.find("all steps                          1.750"), std::string::npos) << table;
}

TEST(BenchReport, JsonQuotesNamesAndCarriesEveryFigure) {
    std::string json = bench_json(sample_report());
    for (const char* part :
         {"\"fps\": 20", "\"frame\": {\"frames\": 3, \"mean_ms\": 4.0000, \"p95_ms\": 6.0000}",
          "{\"type\": \"genCamera\", \"line\": 12, \"frames\": 2, \"mean_ms\": 2.0000, \"p95_ms\": 3.0000}",
          "\"type\": \"efx\\\"odd\\\\name\"", "{\"step\": \"load\", \"type\": \"efxFader\", \"ms\": 1.5000}",
          "{\"step\": \"init\", \"type\": \"genCamera\", \"line\": 12, \"ms\": 0.2500}", "\"loading_ms\": 1.7500"})
        EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
    bench_report empty;
    EXPECT_EQ(bench_json(empty).find("floor"), std::string::npos);
    empty.fps = 60;
    empty.first_time = empty.last_time = 0;
    std::string bare = bench_json(empty);
    EXPECT_NE(bare.find("\"sections\": [],"), std::string::npos) << bare;
    EXPECT_NE(bare.find("\"loading\": [],"), std::string::npos) << bare;
}

// Every time is shown as a ratio to the median frame of the bare present
// path, which one slow frame does not move.
TEST(BenchReport, TimesAreShownAsRatiosToTheFloor) {
    bench_report r = sample_report();
    r.floor_ms = {2, 1, 9};
    r.width = 800;
    r.height = 600;
    std::string table = bench_table(r);
    for (const char* part : {"Floor: the bare present path at 800x600, 3 frames: median 2.000 ms, mean 4.000 ms, p95 9.000 ms",
                             "genCamera                   12        2     2.000     3.000       1.00       1.50\n",
                             "whole frame                           3     4.000     6.000       2.00       3.00\n",
                             "floor                                 3     4.000     9.000       2.00       4.50\n"})
        EXPECT_NE(table.find(part), std::string::npos) << part << "\n" << table;
    std::string json = bench_json(r);
    for (const char* part : {"\"floor\": {\"width\": 800, \"height\": 600, \"median_ms\": 2.0000, \"frames\": 3,",
                             "\"p95_ms\": 6.0000, \"mean_floors\": 2.0000, \"p95_floors\": 3.0000}"})
        EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
    EXPECT_EQ(bench_ratio(5, 0), 0);
}

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
    ASSERT_TRUE(wav_header(header, 22050, 1, 0));
    EXPECT_EQ(header[22], 1);
    EXPECT_EQ(header[28] | header[29] << 8, 44100);  // bytes a second
    EXPECT_EQ(header[32], 2);
    EXPECT_EQ(header[40] | header[41] | header[42] | header[43], 0);
}

TEST(Wav, HeaderRefusesWhatTheFormatCannotHold) {
    uint8_t header[WAV_HEADER_SIZE] = {};
    EXPECT_FALSE(wav_header(header, 0, 2, 10));
    EXPECT_FALSE(wav_header(header, 44100, 0, 10));
    EXPECT_FALSE(wav_header(header, 44100, 2, 0x40000000u));  // 4 GiB of data
    EXPECT_TRUE(wav_header(header, 44100, 2, (0xffffffffu - 36) / 4));
    EXPECT_FALSE(wav_header(header, 44100, 2, (0xffffffffu - 36) / 4 + 1));
}

TEST(Wav, WriterStreamsSamplesAndPatchesTheSizes) {
    temp_dir dir;
    std::string path = dir.file("a.wav");
    wav_writer w;
    ASSERT_TRUE(wav_open(&w, path.c_str(), 44100, 2));
    const int16_t first[] = {1, -1, 0x1234, -32768};
    std::vector<int16_t> many(2 * 5000, 7);  // more than one internal chunk
    wav_write(&w, first, 2);
    wav_write(&w, many.data(), 5000);
    wav_write(&w, first, 0);
    ASSERT_TRUE(wav_close(&w));
    std::string bytes = read_file(path);
    ASSERT_EQ(bytes.size(), 44u + 4u * 5002u);
    uint8_t header[WAV_HEADER_SIZE];
    ASSERT_TRUE(wav_header(header, 44100, 2, 5002));
    EXPECT_EQ(bytes.substr(0, 44), std::string(reinterpret_cast<char*>(header), 44));
    EXPECT_EQ(bytes.substr(44, 8), std::string("\x01\x00\xff\xff\x34\x12\x00\x80", 8));
    EXPECT_EQ(bytes.substr(bytes.size() - 2), std::string("\x07\x00", 2));
    EXPECT_FALSE(wav_open(&w, dir.file("no/such/folder/a.wav").c_str(), 44100, 2));
    EXPECT_FALSE(wav_close(&w));
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

TEST(Progress, TerminalModeRedrawsOneLine) {
    progress p;
    progress_begin(&p, 1);
    EXPECT_EQ(progress_end(&p), "");  // nothing shown, nothing to close
    EXPECT_EQ(progress_update(&p, 0, "loading 0 %"), "\rloading 0 %");
    EXPECT_EQ(progress_update(&p, 0.01f, "frame 1 long"), "\rframe 1 long");
    EXPECT_EQ(progress_update(&p, 0.02f, "frame 2"), "\rframe 2     ");  // the longer line is blanked
    EXPECT_EQ(progress_end(&p), "\n");
    EXPECT_EQ(progress_update(&p, 0.5f, "x"), "\rx");  // a new report starts clean
}

// ---------------------------------------------------------------------------
// Capture pieces
// ---------------------------------------------------------------------------

TEST(Capture, NamesCountsAndEnd) {
    EXPECT_EQ(capture_frame_name(0), "frame_000000.png");
    EXPECT_EQ(capture_frame_name(42), "frame_000042.png");
    EXPECT_EQ(capture_frame_name(1234567), "frame_1234567.png");
    EXPECT_EQ(capture_audio_frames(6, 20, 44100), 13230);
    EXPECT_EQ(capture_audio_frames(1, 60, 44100), 735);
    EXPECT_EQ(capture_audio_frames(1, 7, 44100), 6300);
    EXPECT_EQ(capture_audio_frames(1, 1000, 44100), 44);  // 44.1 rounds down
    EXPECT_EQ(capture_audio_frames(3, 1000, 44100), 132);  // 132.3
    EXPECT_EQ(capture_audio_frames(60 * 3600 * 3, 60, 44100), 44100ll * 3600 * 3);  // no 32-bit overflow
    EXPECT_EQ(capture_audio_frames(0, 60, 44100), 0);
    EXPECT_EQ(capture_show_end(0, 20), 20);
    EXPECT_EQ(capture_show_end(10, 20), 10);
    EXPECT_EQ(capture_show_end(30, 20), 20);
}

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
        {"/frames", 24, 64, 37, 1,
         "ffmpeg -y -framerate 24 -i /frames/frame_%06d.png -i /frames/audio.wav -vf 'pad=ceil(iw/2)*2:ceil(ih/2)*2' "
         "-c:v libx264 -pix_fmt yuv420p -c:a aac -shortest /show.mp4"},
        {"it's", 60, 2, 2, 0, "ffmpeg -y -framerate 60 -i 'it'\\''s/frame_%06d.png' -c:v libx264 -pix_fmt yuv420p show.mp4"},
    };
    for (const row& r : rows) EXPECT_EQ(capture_ffmpeg_line(r.dir, r.fps, r.width, r.height, r.audio), r.line);
}

// Reads a PNG back with libpng: width, height and RGB rows, top first.
bool read_png(const std::string& path, int* width, int* height, std::vector<uint8_t>* rgb) {
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    rgb->resize(PNG_IMAGE_SIZE(image));
    bool ok = png_image_finish_read(&image, nullptr, rgb->data(), 0, nullptr);
    *width = static_cast<int>(image.width);
    *height = static_cast<int>(image.height);
    return ok;
}

TEST(Capture, PngHasTheTopRowFirstAndIsTheSameEveryTime) {
    temp_dir dir;
    // 3 x 2 pixels as GL reads them: the bottom row first, no row padding.
    const uint8_t bottom_up[] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    const std::string path = dir.file("f.png");
    ASSERT_TRUE(capture_write_png(path.c_str(), 3, 2, bottom_up));
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    ASSERT_TRUE(read_png(path, &width, &height, &rgb));
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 2);
    const std::vector<uint8_t> top_down = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 30, 40, 50, 60, 70, 80, 90};
    EXPECT_EQ(rgb, top_down);
    const std::string again = dir.file("g.png");
    ASSERT_TRUE(capture_write_png(again.c_str(), 3, 2, bottom_up));
    EXPECT_EQ(read_file(path), read_file(again));
    EXPECT_FALSE(capture_write_png(dir.file("no/such/folder/f.png").c_str(), 3, 2, bottom_up));
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
        int width = 0, height = 0;
        std::vector<uint8_t> rgb;
        ASSERT_TRUE(read_png(dir.file(capture_frame_name(frame)), &width, &height, &rgb)) << frame;
        EXPECT_EQ(width * height, 32);
        EXPECT_EQ(rgb, std::vector<uint8_t>(8 * 4 * 3, static_cast<uint8_t>(40 * frame))) << frame;
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

TEST(Capture, AFrameThatCannotBeWrittenWholeIsNotLeftBehind) {
    temp_dir dir;
    // A frame name that leads to a full disk: it opens, but its bytes do not
    // go anywhere. (A link, so that removing it never touches the device.)
    const std::string path = dir.file("full.png");
    ASSERT_EQ(symlink("/dev/full", path.c_str()), 0);
    std::vector<uint8_t> rgb(64 * 64 * 3, 7);
    EXPECT_FALSE(capture_write_png(path.c_str(), 64, 64, rgb.data()));
    struct stat info;
    EXPECT_NE(lstat(path.c_str(), &info), 0) << "the failed frame is still there";
}

}  // namespace
