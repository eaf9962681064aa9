// Crafted inputs through the built player: for each kind of file it reads
// (script, image, model, MP3) a table of broken files, each of which must end
// the show with status 255 and an "Error: ..." line naming the file, never a
// crash, a sanitizer report or a show played from garbage. (The readers' own
// tests hold their other messages.)
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
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

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string garbage(size_t size) {
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(rand_next() & 0xFF);
    return bytes;
}

std::string source_file(const std::string& relative) {
    return read_file(std::string(QUILLON_SOURCE_DIR) + "/" + relative);
}

void le16(std::string& b, unsigned v) {
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>((v >> 8) & 0xFF);
}
void le32(std::string& b, uint32_t v) {
    le16(b, v & 0xFFFF);
    le16(b, v >> 16);
}

// ---------------------------------------------------------------------------
// Script
// ---------------------------------------------------------------------------

// The unit tests hold the script reader's messages; through the player a
// show without a loading section, garbage and an endless line are refused.
std::vector<crafted> script_cases() {
    const std::string in_section = "[lines]\nstart 0\nend 1\n";  // lines 17 to 19 of e2e_show
    return {
        {"empty", "", "Script: loading section is not found\n"},
        {"comments only", ";one\n;two\n", "Script: loading section is not found\n"},
        {"binary garbage", std::string("\x7f" "ELF\x02\x01\x01\0\0\0\0", 11) + garbage(200),
         "Script: variable '\x7f" "ELF\x02\x01\x01' not found, line 1\n"},
        {"100,000-byte line in a section", e2e_show(in_section + "string " + std::string(100000, 'x') + "\n"),
         "Script: line too long, line 20\n"},
        {"old Mac line ends", replace_all(e2e_show(in_section + e2e_params(40)), "\n", "\r"),
         "Script: line too long, line 1\n"},
    };
}

TEST(crafted, broken_scripts_name_their_line) {
    temp_dir dir;
    dir.add_font();
    for (const crafted& c : script_cases()) {
        dir.write("data/script.txt", c.bytes);
        expect_refused(dir, c.expected, c.name);
    }
}

// ---------------------------------------------------------------------------
// Image
// ---------------------------------------------------------------------------

// A 24-bit BMP of `width` x `height` pixels (the height as stored: negative
// for top row first).
std::string bmp24(int32_t width, int32_t height, bool with_pixels = true) {
    uint32_t row = (static_cast<uint32_t>(width) * 3 + 3) / 4 * 4;
    uint32_t rows = static_cast<uint32_t>(height < 0 ? -height : height);
    std::string b = "BM";
    le32(b, 54 + row * rows);
    le32(b, 0);
    le32(b, 54);
    le32(b, 40);
    le32(b, static_cast<uint32_t>(width));
    le32(b, static_cast<uint32_t>(height));
    le16(b, 1);
    le16(b, 24);
    for (int i = 0; i < 6; ++i) le32(b, 0);
    if (with_pixels) b += std::string(row * rows, '\x40');
    return b;
}

// A TGA header of `type` (2 plain true colour, 10 run-length) and its size.
std::string tga_header(unsigned type, unsigned width, unsigned height, unsigned bits) {
    std::string b(12, '\0');
    b[2] = static_cast<char>(type);
    le16(b, width);
    le16(b, height);
    b += static_cast<char>(bits);
    b += '\0';
    return b;
}

// The JPEG with the sides in its frame header replaced.
std::string jpeg_with_sides(std::string jpeg, unsigned width, unsigned height) {
    for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
        unsigned char m = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (m == 0xC0 || m == 0xC2)) {
            jpeg[i + 5] = static_cast<char>(height >> 8);
            jpeg[i + 6] = static_cast<char>(height & 0xFF);
            jpeg[i + 7] = static_cast<char>(width >> 8);
            jpeg[i + 8] = static_cast<char>(width & 0xFF);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header in the JPEG";
    return jpeg;
}

TEST(crafted, broken_images_name_their_file) {
    const std::string jpeg = source_file("data/loading/back.jpg");
    const std::string tga = source_file("data/textures/spark.tga");
    ASSERT_GT(jpeg.size(), 4000u);
    ASSERT_GT(tga.size(), 1000u);
    const std::string good_bmp = bmp24(30, 20);
    std::string rle_short = tga_header(10, 16, 16, 24) + "\xFF\x10\x20\x30";  // 128 of 256 pixels
    struct image_case {
        const char* name;
        const char* extension;
        std::string bytes;
        std::string reason;  // after the file name; empty: the decoder's words
    };
    std::vector<image_case> cases = {
        {"empty JPEG", "jpg", "", ""},
        {"empty BMP", "bmp", "", ""},
        {"empty TGA", "tga", "", "the image header is cut short\n"},
        {"text named as a BMP", "bmp", "hello, this is no picture\n", ""},
        {"binary garbage as a JPEG", "jpg", garbage(5000), ""},
        {"BMP signature and garbage", "bmp", "BM" + garbage(100), ""},
        {"BMP of 100000 x 100000 pixels", "bmp", bmp24(100000, 100000, false),
         "the image is larger than 8192 pixels on a side\n"},
        {"BMP of no columns", "bmp", bmp24(0, 5), "the image has no pixels\n"},
        {"TGA of 65535 x 65535 pixels", "tga", tga_header(2, 65535, 65535, 24) + garbage(64),
         "the image is larger than 8192 pixels on a side\n"},
        {"TGA of no rows", "tga", tga_header(2, 4, 0, 24) + garbage(64), "the image has no pixels\n"},
        {"TGA of 7-bit pixels", "tga", tga_header(2, 4, 4, 7) + garbage(64), "the TGA has an unknown pixel depth\n"},
        {"run-length TGA that runs out", "tga", rle_short, "the TGA data ends before its last pixel\n"},
        {"JPEG of 65000 x 65000 pixels", "jpg", jpeg_with_sides(jpeg, 65000, 65000),
         "the image is larger than 8192 pixels on a side\n"},
    };
    for (size_t keep : {2ul, 20ul, 300ul, jpeg.size() / 2, jpeg.size() - 2})
        cases.push_back({"JPEG cut short", "jpg", jpeg.substr(0, keep),
                         keep < 3 ? "" : "the JPEG data ends before its end marker\n"});
    for (size_t keep : {10ul, 18ul, 100ul, tga.size() - 1})
        cases.push_back({"TGA cut short", "tga", tga.substr(0, keep),
                         keep < 18 ? "the image header is cut short\n" : "the TGA data ends before its last pixel\n"});
    for (size_t keep : {10ul, 54ul, 100ul, good_bmp.size() - 1})
        cases.push_back({"BMP cut short", "bmp", good_bmp.substr(0, keep),
                         keep < 54 ? "the image header is cut short\n" : "the BMP data ends before its last row\n"});

    temp_dir dir;
    dir.add_font();
    const std::string loading = std::string(QUILLON_SOURCE_DIR) + "/data/loading/";
    for (const image_case& c : cases) {
        std::string file = std::string("data/bad.") + c.extension;
        dir.write("data/script.txt", replace_all(replace_all(e2e_show(""), loading + "back.jpg", file),
                                                 loading + "front.jpg", file));
        dir.write(file, c.bytes);
        expect_refused(dir, "Error loading texture " + file + ": " + c.reason,
                       std::string(c.name) + " (" + std::to_string(c.bytes.size()) + " bytes)");
    }
    // The same pictures whole load: the cuts above are what the player refuses.
    for (const std::pair<const char*, std::string>& whole :
         {std::make_pair("jpg", jpeg), std::make_pair("tga", tga), std::make_pair("bmp", good_bmp)}) {
        std::string file = std::string("data/good.") + whole.first;
        dir.write("data/script.txt", replace_all(replace_all(e2e_show(""), loading + "back.jpg", file),
                                                 loading + "front.jpg", file));
        dir.write(file, whole.second);
        std::string output;
        EXPECT_EQ(e2e_play(dir.path, &output), 0) << whole.first << "\n" << output;
    }
}

// ---------------------------------------------------------------------------
// Model
// ---------------------------------------------------------------------------

std::string chunk(unsigned id, const std::string& body) {
    std::string b;
    le16(b, id);
    le32(b, static_cast<uint32_t>(6 + body.size()));
    return b + body;
}

std::string u16s(std::initializer_list<unsigned> values) {
    std::string b;
    for (unsigned v : values) le16(b, v);
    return b;
}

TEST(crafted, broken_models_name_their_file) {
    const std::string triangle = chunk(0x4110, u16s({3}) + std::string(36, '\0'));
    auto object = [](const std::string& mesh) { return chunk(0x4000, std::string("o\0", 2) + chunk(0x4100, mesh)); };
    auto model = [](const std::string& editor_body) { return chunk(0x4D4D, chunk(0x3D3D, editor_body)); };
    std::string nested = object(triangle);
    for (int i = 0; i < 200; ++i) nested = chunk(0x3D3D, nested);

    std::vector<crafted> cases = {
        {"three bytes", "MM\x10", "3 bytes are too few for a model)"},
        {"wrong magic", chunk(0x1234, std::string(20, '\0')), "not a model: the first chunk is 0x1234, not 0x4D4D)"},
        {"binary garbage", "\x01\x02" + garbage(3000), "not a model: the first chunk is 0x0201, not 0x4D4D)"},
        {"a face past the vertices", model(object(triangle + chunk(0x4120, u16s({1, 0, 1, 9, 7})))),
         "object 'o': face 0 uses vertex 9 of 3)"},
        {"200 editor chunks deep", model(nested), "chunk 0x3D3D nests chunks more than 64 deep)\n"},
    };
    temp_dir dir;
    dir.add_font();
    dir.write("data/script.txt", e2e_show("[gen3DS]\nstart 0\nend 1\nlayer 1\nstring data/models/\n"
                                          "string bad.3ds\nstring bad.3ds\nstring bad.3ds\nstring bad.3ds\n"));
    const std::string at = "gen3DS: Error loading model 'bad.3ds' (data/models/bad.3ds: ";
    for (const crafted& c : cases) {
        dir.write("data/models/bad.3ds", c.bytes);
        expect_refused(dir, at + c.expected, c.name);
    }
    std::remove(dir.file("data/models/bad.3ds").c_str());
    expect_refused(dir, at + "No such file or directory)\n", "missing");
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
    dir.write("data/script.txt",
              replace_all(e2e_show(""), "snd_enable 0\n", "snd_enable 1\nsnd_mp3file data/music/bad.mp3\n"));
    for (const crafted& c : cases) {
        dir.write("data/music/bad.mp3", c.bytes);
        expect_refused(dir, c.expected, c.name);
    }
    std::remove(dir.file("data/music/bad.mp3").c_str());
    expect_refused(dir, "Mp3 file not found in data/music/bad.mp3\n", "missing");
}

}  // namespace
