// Crafted MP3s through the built player: each broken file must end the show
// with status 255 and an "Error: ..." line naming the file, never a crash, a
// sanitizer report or a show played from garbage. (The readers' own tests
// hold the script, spline, model and image messages.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/random.h"
#include "tests/test_support.h"

namespace {

struct crafted {
    std::string name;
    std::string bytes;     // the broken file
    std::string expected;  // what follows "Error: " on the error line; ends in
                           // "\n" when it is the whole line
};

// Runs the show in `dir` and checks the refusal.
void expect_refused(const temp_dir& dir, const std::string& expected, const std::string& what) {
    std::string output;
    int status = e2e_play(dir.path, &output);
    std::string shown = output.size() > 1500 ? output.substr(0, 1500) + "..." : output;
    EXPECT_EQ(status, 255) << what << "\n" << shown;
    EXPECT_NE(output.find("Error: " + expected), std::string::npos) << what << "\n" << shown;
    for (const char* fault : {"Sanitizer", "runtime error", "Segmentation", "Aborted"})
        EXPECT_EQ(output.find(fault), std::string::npos) << what << "\n" << shown;
}

std::string garbage(size_t size) {
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(rand_next() & 0xFF);
    return bytes;
}

std::string source_file(const std::string& relative) {
    return read_file(std::string(QUILLON_SOURCE_DIR) + "/" + relative);
}

// ---------------------------------------------------------------------------
// MP3
// ---------------------------------------------------------------------------

TEST(crafted, broken_mp3_files_name_their_file) {
    const std::string song = source_file("data/music/soundtrack.mp3");
    ASSERT_GT(song.size(), 200000u);
    const std::string head = song.substr(0, 65536);
    std::vector<crafted> cases = {
        {"empty", "", "Unknown file format: data/music/bad.mp3\n"},
        {"text", "no sound in here\n", "Unknown file format: data/music/bad.mp3\n"},
        {"binary garbage", garbage(20000), "Unknown file format: data/music/bad.mp3\n"},
        {"a tag and nothing else", std::string("ID3\x03\0\0\0\0\x02\0", 10) + std::string(256, '\0'),
         "Unknown file format: data/music/bad.mp3\n"},
        {"a tag claiming 256 MB", std::string("ID3\x03\0\0\x7f\x7f\x7f\x7f", 10) + garbage(500),
         "Unknown file format: data/music/bad.mp3\n"},
        {"cut inside the first frame", song.substr(0, 100), "Unknown file format: data/music/bad.mp3\n"},
        {"junk inside the stream", head + std::string(16384, '\x55') + song.substr(65536, 65536),
         "Error loading file: data/music/bad.mp3\n"},
        // Two frames at 44100 Hz, then one at 11025 Hz (found by the fuzzer:
        // it opened, then sought to the wrong sample and stopped early).
        {"frames of two sample rates", source_file("fuzz/seeds/mp3/mixed_rates"),
         "Error loading file: data/music/bad.mp3\n"},
    };
    temp_dir dir;
    dir.add_font();
    dir.write("data/script.txt", e2e_show("", "snd_enable 1\nsnd_mp3file data/music/bad.mp3\ngl_info 0\n"));
    for (const crafted& c : cases) {
        dir.write("data/music/bad.mp3", c.bytes);
        expect_refused(dir, c.expected, c.name);
    }
}

}  // namespace
