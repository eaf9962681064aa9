// Crafted inputs through the built player: for each kind of file it reads
// (script, spline, image, model, MP3) a table of broken files, each of which
// must end the show with status 255 and an "Error: ..." line naming the file
// (for the script, its line), never a crash, a sanitizer report or a show
// played from garbage.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <set>
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

int line_of(const std::string& text, size_t offset) {
    int line = 1;
    for (size_t i = 0; i < offset; ++i) line += text[i] == '\n';
    return line;
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

std::vector<crafted> script_cases() {
    const std::string long_word(100000, 'x');
    const std::string in_section = "[lines]\nstart 0\nend 1\n";  // lines 17 to 19 of e2e_show
    std::string headers;
    for (int i = 0; i < 30000; ++i) headers += in_section;
    std::vector<crafted> cases = {
        {"empty", "", "Script: loading section is not found\n"},
        {"comments only", ";one\n;two\n", "Script: loading section is not found\n"},
        {"binary garbage", std::string("\x7f" "ELF\x02\x01\x01\0\0\0\0", 11) + garbage(200),
         "Script: variable '\x7f" "ELF\x02\x01\x01' not found, line 1\n"},
        {"garbage in a section", e2e_show(in_section + "\x01\x02\xfe\xff 3\n"),
         "Script: section variable '\x01\x02\xfe\xff' not found, line 20\n"},
        {"byte order mark", "\xEF\xBB\xBFgl_width 640\n",
         "Script: variable '\xEF\xBB\xBFgl_width' not found, line 1\n"},
        {"100,000-byte line in the head", "gl_width 640\ngl_height 480\ndemoname " + long_word + "\n",
         "Script: line too long, line 3\n"},
        {"100,000-byte line in a section", e2e_show(in_section + "string " + long_word + "\n"),
         "Script: line too long, line 20\n"},
        {"100,000-byte comment", ";" + long_word, "Script: line too long, line 1\n"},
        {"old Mac line ends", replace_all(e2e_show(in_section + e2e_params(40)), "\n", "\r"),
         "Script: line too long, line 1\n"},
        {"key too long", std::string(64, 'k') + " 1\n", "Script: key too long, line 1\n"},
        {"value too long", "gl_width 640\ndemoname " + std::string(64, 'v') + "\n", "Script: value too long, line 2\n"},
        {"huge sync count", e2e_show(in_section + "syncs 99999999999999\n"),
         "Script: more than 65536 syncs in a section, line 20\n"},
        {"negative sync count", e2e_show(in_section + "syncs -1\n"), "Script: negative sync count, line 20\n"},
        {"fewer syncs than declared", e2e_show(in_section + "syncs 3\nsync 0.5\n"),
         "Script: incorrect number of syncs (1 found, 3 expected), line 22\n"},
        {"257 params", e2e_show(in_section + e2e_params(257)), "Script: more than 256 params in a section, line 276\n"},
        {"257 strings", e2e_show(in_section + replace_all(e2e_params(257), "param 0.5", "string a")),
         "Script: more than 256 strings in a section, line 276\n"},
        {"30,000 repeated headers, then a bad line", e2e_show(headers + "bogus 1\n"),
         "Script: section variable 'bogus' not found, line 90017\n"},
        {"a header of 200 brackets", std::string(200, '[') + "\n", "Script: section name too long, line 1\n"},
        {"a section of no type", e2e_show("[]\n"), "Script: section '' not found, line 17\n"},
    };
    // The default show cut short inside a key, a header, a keyword and a
    // number.
    const std::string show = source_file("data/script.txt");
    struct cut {
        const char* before;  // the text the cut falls in (first match)
        size_t keep;         // characters of it kept
        const char* message;
        const char* after = "\n";  // what follows the line number
    } cuts[] = {
        {"\ndemoname", 7, "Script: variable 'demona' not found, line ", " (did you mean 'demoname'?)\n"},
        {"\n[loading]", 6, "Script: section 'loa' not found, line "},  // "[load" less its last character
        {"\nstart", 4, "Script: section variable 'sta' not found, line "},
        {"\nend 0.01", 6, "Script: invalid section duration, line "},
    };
    for (const cut& c : cuts) {
        size_t at = show.find(c.before);
        if (at == std::string::npos) {
            ADD_FAILURE() << "the default script holds no " << c.before + 1;
            continue;
        }
        size_t end = at + c.keep;
        cases.push_back({std::string("default script cut inside ") + (c.before + 1), show.substr(0, end),
                         c.message + std::to_string(line_of(show, end)) + c.after});
    }
    return cases;
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
// Spline
// ---------------------------------------------------------------------------

TEST(crafted, broken_splines_name_their_file_and_line) {
    const std::string key = "{1,2,3,4,5,6,7,8,9}\n";
    const std::string four = key + key + key + key;
    const std::string at = "lines at line 17: Error loading spline data/splines/bad.txt";
    std::vector<crafted> cases = {
        {"empty", "", ": the file holds no keys\n"},
        {"blank lines only", "\n \t\r\n\n", ": the file holds no keys\n"},
        {"binary garbage", std::string("\x89PNG\r\n\x1a\n", 8) + garbage(300), ": line 1 does not hold nine numbers\n"},
        {"eight numbers", key + "{1,2,3,4,5,6,7,8}\n", ": line 2 does not hold nine numbers\n"},
        {"cut after a brace", four.substr(0, 2 * key.size() + 1), ": line 3 does not hold nine numbers\n"},
        {"cut after eight numbers", four.substr(0, 2 * key.size() + 17), ": line 3 does not hold nine numbers\n"},
        {"100,000-byte line", key + std::string(100000, ' ') + key, ": line 2 is longer than 255 characters\n"},
        {"256-character line", key + std::string(256, '{') + "\n", ": line 2 is longer than 255 characters\n"},
        {"not a number", key + "{nan,0,0,0,0,0,0,0,0}\n", ": line 2 holds a number that is not finite\n"},
        {"infinity", key + key + "{0,0,0,0,0,0,0,0,-inf}\n", ": line 3 holds a number that is not finite\n"},
        {"beyond the float range", "{1e39,0,0,0,0,0,0,0,0}\n", ": line 1 holds a number that is not finite\n"},
    };
    temp_dir dir;
    dir.add_font();
    dir.write("data/script.txt", e2e_show("[lines]\nstart 0\nend 1\nspline data/splines/bad.txt 1\n"));
    for (const crafted& c : cases) {
        dir.write("data/splines/bad.txt", c.bytes);
        expect_refused(dir, at + c.expected, c.name);
    }
    std::remove(dir.file("data/splines/bad.txt").c_str());
    expect_refused(dir, at + "\n", "missing");
    dir.write("data/splines/bad.txt/inside", "");  // a folder of that name
    expect_refused(dir, at + ": the file cannot be read\n", "a folder");
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
        expect_refused(dir, "loading at line 8: Error loading texture " + file + ": " + c.reason,
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

// Every chunk header of the model (its start, and its end where the body
// begins), walking into the chunks that hold chunks.
void chunk_boundaries(const std::string& f, size_t at, size_t end, std::set<size_t>* cuts) {
    static const std::set<unsigned> containers = {0x4D4D, 0x3D3D, 0x4000, 0x4100, 0xAFFF, 0xA200, 0xB000};
    auto byte = [&](size_t i) { return static_cast<unsigned char>(f[i]); };
    while (at + 6 <= end) {
        unsigned id = byte(at) | (byte(at + 1) << 8);
        size_t length = byte(at + 2) | (byte(at + 3) << 8) | (byte(at + 4) << 16) | (size_t(byte(at + 5)) << 24);
        if (length < 6 || at + length > end) return;
        cuts->insert(at);
        cuts->insert(at + 6);
        size_t body = at + 6;
        if (id == 0x4000) body = f.find('\0', body) + 1;  // after the object's name
        if (containers.count(id) && body > at) chunk_boundaries(f, body, at + length, cuts);
        at += length;
    }
}

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
    const std::string gear = source_file("data/models/gear.3ds");
    std::set<size_t> cuts;
    chunk_boundaries(gear, 0, gear.size(), &cuts);
    ASSERT_GE(cuts.size(), 10u) << "the walk found too few chunks in gear.3ds";

    const std::string triangle = chunk(0x4110, u16s({3}) + std::string(36, '\0'));
    auto object = [](const std::string& mesh) { return chunk(0x4000, std::string("o\0", 2) + chunk(0x4100, mesh)); };
    auto model = [](const std::string& editor_body) { return chunk(0x4D4D, chunk(0x3D3D, editor_body)); };
    std::string nested = object(triangle);
    for (int i = 0; i < 200; ++i) nested = chunk(0x3D3D, nested);

    std::vector<crafted> cases = {
        {"empty", "", "0 bytes are too few for a model)"},
        {"three bytes", "MM\x10", "3 bytes are too few for a model)"},
        {"wrong magic", chunk(0x1234, std::string(20, '\0')), "not a model: the first chunk is 0x1234, not 0x4D4D)"},
        {"binary garbage", "\x01\x02" + garbage(3000), "not a model: the first chunk is 0x0201, not 0x4D4D)"},
        {"65535 vertices, one given", model(object(chunk(0x4110, u16s({65535}) + std::string(12, '\0')))),
         "chunk 0x4110 ends inside its "},
        {"65535 faces, one given",
         model(object(triangle + chunk(0x4120, u16s({65535, 0, 1, 2, 7})))), "chunk 0x4120 ends inside its "},
        {"a face past the vertices", model(object(triangle + chunk(0x4120, u16s({1, 0, 1, 9, 7})))),
         "object 'o': face 0 uses vertex 9 of 3)"},
        {"a chunk shorter than its header", model(u16s({0x4000, 3, 0})), "chunk 0x4000 is shorter than its header"},
        {"a chunk of 4 GB", model(u16s({0x4000, 0xFFFF, 0xFFFF})), "chunk 0x4000 runs past"},
        {"a name without its end", model(chunk(0x4000, "object")), "chunk 0x4000 holds a name without a terminator)"},
        {"200 editor chunks deep", model(nested), "chunk 0x3D3D nests chunks more than 64 deep)\n"},
    };
    for (size_t at : cuts) {
        if (at == 0) continue;
        cases.push_back({"gear.3ds cut at byte " + std::to_string(at), gear.substr(0, at),
                         at < 6 ? std::to_string(at) + " bytes are too few for a model)"
                                : "chunk 0x4D4D runs past the end of the data (" + std::to_string(gear.size()) +
                                      " bytes, " + std::to_string(at) + " left))\n"});
    }

    temp_dir dir;
    dir.add_font();
    dir.write("data/script.txt", e2e_show("[gen3DS]\nstart 0\nend 1\nlayer 1\nstring data/models/\n"
                                          "string bad.3ds\nstring bad.3ds\nstring bad.3ds\nstring bad.3ds\n"));
    const std::string at = "gen3DS at line 17: Error loading model 'bad.3ds' (data/models/bad.3ds: ";
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
