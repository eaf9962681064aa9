// The video export's pure parts: which container and codecs a file name
// picks, the padding note for odd sizes, how a render target shrinks to fit
// a smaller output, and the command-line options of offline video.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cmdline.h"
#include "app/video_writer.h"
#include "platform/video.h"
#include "tests/test_support.h"

namespace {

TEST(video_options, file_names_pick_the_container_and_codecs) {
    struct row {
        const char* path;
        int lossless;
        const char* muxer;  // null: refused
        const char* video;
        const char* audio;
    };
    const row rows[] = {
        {"out/show.mp4", 0, "mp4", "libx264", "aac"},    {"SHOW.MKV", 0, "matroska", "libx264", "flac"},
        {"a.b.webm", 0, "webm", "libvpx-vp9", "libopus"}, {"archive.mkv", 1, "matroska", "ffv1", "flac"},
        {"show.mp4", 1, nullptr, nullptr, nullptr},       {"show.avi", 0, nullptr, nullptr, nullptr},
        {"showmp4", 0, nullptr, nullptr, nullptr},        {"show.mp4/", 0, nullptr, nullptr, nullptr},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.path);
        const video_format* f = video_format_for(r.path, r.lossless);
        ASSERT_EQ(f != nullptr, r.muxer != nullptr);
        if (!f) continue;
        EXPECT_STREQ(f->muxer, r.muxer);
        EXPECT_STREQ(f->video_codec, r.video);
        EXPECT_STREQ(f->audio_codec, r.audio);
    }
    const video_format* mp4 = video_format_for("a.mp4", 0);
    EXPECT_EQ(video_writer_padding_note(mp4, 800, 600) + video_writer_padding_note(video_format_for("a.mkv", 1), 801, 601), "");
    EXPECT_EQ(video_writer_padding_note(mp4, 16, 17).rfind("16x17 is padded to 16x18, ", 0), 0u);
}

TEST(video_options, render_target_shrinks_to_fit_keeping_its_shape) {
    struct row {
        int rtt_w, rtt_h, out_w, out_h;
        int changed, w, h;
    };
    const row rows[] = {
        {512, 512, 512, 512, 0, 512, 512},   {512, 512, 320, 240, 1, 240, 240},
        {1920, 1080, 640, 480, 1, 640, 360}, {1000, 4000, 400, 300, 1, 75, 300},
        {4000, 10, 16, 16, 1, 16, 1},        {512, 600, 800, 599, 1, 511, 599},
    };
    for (const row& r : rows) {
        int w = r.rtt_w, h = r.rtt_h;
        int changed = video_fit_render_target(&w, &h, r.out_w, r.out_h);
        EXPECT_EQ(std::vector<int>({changed, w, h}), std::vector<int>({r.changed, r.w, r.h})) << r.rtt_w << "x" << r.rtt_h;
    }
}

TEST(video_options, command_line) {
    struct row {
        std::vector<std::string> args;
        const char* error;  // "": accepted
        int offscreen;
    };
    const row rows[] = {
        {{"--video", "a.mkv", "--lossless", "--size", "16x16"}, "", 1},
        {{"--video", "a.mp4", "--windowed", "--crf", "0"}, "", 0},
        {{"--size", "15x15", "--rtt", "8x4"}, "", 0},  // play takes any window
        {{"--video", "a.mp4", "--size", "15x100"},
         "--size must be at least 16x16 for offline rendering, not 15x100", 0},
        {{"--crf", "20"}, "--crf is only used with --video", 0},
        {{"--video", "a.mkv", "--lossless", "--crf", "3"}, "--crf and --lossless cannot be combined", 0},
        {{"--video", "a.mp4", "--bench"}, "--video cannot be combined with --capture or --bench", 0},
        {{"--rtt", "0x5"}, "--rtt must be WIDTHxHEIGHT, both whole numbers from 1 to 16384, not '0x5'", 0},
    };
    for (const row& r : rows) {
        cmdline c = parse_command_line(r.args);
        SCOPED_TRACE(r.args[0] + " " + (r.args.size() > 1 ? r.args[1] : ""));
        EXPECT_STREQ(c.value_error, r.error);
        if (!r.error[0]) {
            EXPECT_EQ(cmdline_offscreen(&c), r.offscreen);
        }
    }
}

}  // namespace
