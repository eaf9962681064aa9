// Pieces of a run: the manifest read back, refused when damaged, the
// comparison of two pieces' shows, and the frame count of a run.
#include <gtest/gtest.h>

#include <string>

#include "app/cmdline.h"
#include "app/piece.h"
#include "tests/test_support.h"

namespace {

const std::string h1(64, 'a'), h2(64, 'b'), h3(64, 'c');

piece_manifest sample() {
    piece_manifest m;
    m.first = 25;
    m.end = 50;
    m.run_frames = 100;
    m.fps = 5;
    m.start = 12.3f;
    m.width = 96;
    m.height = 72;
    m.pictures = "H.264 crf 20";
    m.script = "data/script.txt";
    m.bytes = 4321;
    m.checksum = h1;
    m.files = {{"data/script.txt", h2}, {"data/my textures/a b.tga", h3}};
    return m;
}

TEST(Piece, ManifestReadsBackAndRefusesWhatIsDamaged) {
    piece_manifest back;
    std::string error, text = piece_manifest_text(sample());
    ASSERT_TRUE(piece_manifest_parse(text, &back, &error)) << error;
    EXPECT_EQ(piece_manifest_text(back), text);
    EXPECT_EQ(back.start, 12.3f);  // exactly: the run's frame times depend on it
    EXPECT_EQ(back.files[1].first, "data/my textures/a b.tga");
    auto replace = [&](const std::string& from, const std::string& to) {
        std::string t = text;
        return t.replace(t.find(from), from.size(), to);
    };
    const std::pair<std::string, const char*> rows[] = {
        {text.substr(0, text.find("file ")), "line 8: the manifest ends too early"},
        {replace("frames 25 50", "frames 50 25"), "line 2 is not understood"},
        {replace("frames 25 50", "frames 25 50 7"), "line 2 is not understood"},
        {replace("quillon piece", "a piece"), "line 1 is not understood"},
        {replace("piece 4321 " + h1, "piece 4321 " + h1.substr(1)), "line 6 is not understood"},
        {replace("file " + h3, "file " + h3.substr(2)), "line 9 is not understood"},
        {replace("size 96x72", "sizes 96x72"), "line 4 is not understood"},
        {"", "line 1: the manifest ends too early"},
    };
    for (const auto& row : rows) {
        error.clear();
        EXPECT_FALSE(piece_manifest_parse(row.first, &back, &error)) << row.second;
        EXPECT_EQ(error, row.second);
    }
}

TEST(Piece, TwoPiecesAgreeOnTheirShowWhereTheirFilesMeet) {
    piece_manifest a = sample(), b = sample();
    b.files = {{"data/script.txt", h2}, {"data/other.tga", h1}};  // other frames read other files
    EXPECT_EQ(piece_show_difference(a, b), "");
    b.files.push_back({"data/my textures/a b.tga", h1});
    EXPECT_EQ(piece_show_difference(a, b), "data/my textures/a b.tga");
    b = sample();
    b.files[0].second = h3;
    EXPECT_EQ(piece_show_difference(a, b), "the script");
    b = sample();
    b.script = "data/other.txt";
    EXPECT_EQ(piece_show_difference(a, b), "the script");
}

TEST(Piece, RunFramesEndBeforeTheEnd) {
    EXPECT_EQ(piece_run_frames(0, 20, 5), 100);
    EXPECT_EQ(piece_run_frames(0, 5, 60), 300);
    EXPECT_EQ(piece_run_frames(0, 0.5f, 10), 5);
    EXPECT_EQ(piece_run_frames(12.3f, 12.4f, 60), 6);
    EXPECT_EQ(piece_run_frames(0, 0.01f, 10), 1);  // a run draws at least its first frame
    EXPECT_EQ(piece_run_frames(3, 3, 10), 0);
}

TEST(Piece, CommandLine) {
    cmdline c = parse_command_line({"--join", "out.mp4", "a.mkv", "show", "b.MKV"});
    EXPECT_STREQ(c.show_dir, "show");
    ASSERT_EQ(c.pieces.size(), 2u);
    EXPECT_STREQ(c.pieces[1], "b.MKV");
    c = parse_command_line({"--video", "p.mkv", "--frames", "10:20"});
    EXPECT_EQ(c.frame_first * 100 + c.frame_end, 1020);
    EXPECT_STREQ(parse_command_line({"show", "a.mkv"}).error_arg, "a.mkv");  // no join: one show folder
    const std::pair<std::vector<std::string>, const char*> refused[] = {
        {{"--video", "p.mkv", "--frames", "20:10"},
         "--frames must be FIRST:END, whole frame numbers with FIRST below END, not '20:10'"},
        {{"--video", "p.mkv", "--frames", ":10"}, "--frames must be FIRST:END"},
        {{"--join", "out.mp4"}, "--join out.mp4 needs the pieces to join"},
        {{"--join", "out.avi", "a.mkv"}, "--join needs a file name ending in .mp4, .mkv or .webm, not 'out.avi'"},
        {{"--join", "o.mp4", "a.mkv", "--fps", "5"}, "--join takes the size, rate, span and quality from its pieces"},
        {{"--join", "o.mp4", "a.mkv", "--video", "v.mp4"}, "--join cannot be combined with --video"},
        {{"--farm", "plan"}, "--farm needs --pieces N"},
        {{"--farm", "plan", "--pieces", "0"}, "--pieces must be a whole number of pieces from 1 to 10000"},
        {{"--farm", "plan", "--pieces", "2", "--capture", "d"}, "--farm cannot be combined with --capture"},
    };
    for (const auto& row : refused)
        EXPECT_EQ(std::string(parse_command_line(row.first).value_error).rfind(row.second, 0), 0u)
            << row.second << "\n" << parse_command_line(row.first).value_error;
    // --farm renders nothing itself: its --video names the joined file.
    c = parse_command_line({"--farm", "plan", "--pieces", "3", "--video", "x.webm", "--crf", "30"});
    EXPECT_EQ(c.value_error[0], '\0') << c.value_error;
    EXPECT_EQ(cmdline_offline(&c), 0);
    EXPECT_EQ(c.offline_fps, 60);
}

}  // namespace
