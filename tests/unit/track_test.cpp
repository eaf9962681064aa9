// Tracks: values between and around keys for every interpolation and with a
// repeat, the text and binary files with their faults, the text written back,
// and params following tracks through the script reader.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/script.h"
#include "core/section.h"
#include "core/track.h"
#include "effects/fader.h"
#include "show/timeline.h"
#include "tests/test_support.h"

namespace {

const script_tempo tempo = {120, 0.25f};  // a beat every 0.5 s, beat 0 at 0.25 s

std::vector<unsigned char> bytes_of(const std::string& text) { return {text.begin(), text.end()}; }

track parsed(const std::string& text, std::string* error = nullptr) {
    track t = {};
    std::string fault;
    if (!track_parse_text(bytes_of(text), "data/tracks/t.txt", tempo, &t, &fault)) t.name = "FAILED";
    if (error) *error = fault;
    return t;
}

// The eased value from a to b, written out here for each interpolation.
float eased(double a, double b, double f, const char* how) {
    double shaped = std::strcmp(how, "linear") == 0   ? f
                    : std::strcmp(how, "smooth") == 0 ? f * f * (3 - 2 * f)
                    : std::strcmp(how, "ramp") == 0   ? f * f
                                                      : 0;
    return static_cast<float>(a + (b - a) * shaped);
}

TEST(track, values_follow_each_interpolation_to_the_bit) {
    track t = parsed("; keys in seconds and beats\n1 2 linear\n// another comment\n3 6 smooth\n9.5b -1 ramp\n"
                     "7 4\n  9   0.1  \n");
    ASSERT_EQ(t.keys.size(), 5u) << t.name;
    const struct { double at; float want; } rows[] = {
        {-5, 2},    {1, 2},  {2, eased(2, 6, 0.5, "linear")}, {3.5, eased(6, -1, 0.25, "smooth")},
        {4.9, eased(6, -1, 0.95, "smooth")},          {6, eased(-1, 4, 0.5, "ramp")},
        {8, 4},     {9, 0.1f}, {1e5, 0.1f},
    };
    for (const auto& r : rows) EXPECT_EQ(track_value(t, r.at), r.want) << "at " << r.at;
    EXPECT_EQ(track_value(track{}, 3), 0.0f);
}

TEST(track, a_repeat_plays_the_keys_again_from_the_first_key) {
    // One beat: 1 on the beat, falling linearly to 0 by the half beat.
    track t = parsed("repeat 1\n4b 1 linear\n4.5b 0\n");
    ASSERT_EQ(t.repeat, 0.5);
    const struct { double at; float want; } rows[] = {
        {1.0, 1}, {2.25, 1}, {2.375, 0.5f}, {2.5, 0}, {2.75, 1}, {12.875, 0.5f}, {12.6, 0},
    };
    for (const auto& r : rows) EXPECT_EQ(track_value(t, r.at), r.want) << "at " << r.at;
}

TEST(track, every_fault_of_a_text_track_names_its_line) {
    const struct { const char* text; const char* error; } rows[] = {
        {"1 1\n2\n", "malformed key: a key is TIME VALUE [step|linear|smooth|ramp], line 2"},
        {"1 1 linear extra\n", "malformed key: a key is TIME VALUE [step|linear|smooth|ramp], line 1"},
        {"x 1\n", "malformed key: 'x' is not a time, line 1"},
        {"1 y\n", "malformed key: 'y' is not a value, line 1"},
        {"1 nan\n", "the value 'nan' is not a finite number, line 1"},
        {"1 1e39\n", "the value '1e39' is not a finite number, line 1"},
        {"1 1 cubic\n", "unknown interpolation 'cubic' (step, linear, smooth or ramp), line 1"},
        {"\n2 1\n2 3\n", "key out of time order, line 3"},
        {"2 1\n1 3\n", "key out of time order, line 2"},
        {"repeat 0\n", "a repeat must be above 0 beats, line 1"},
        {"repeat -2b\n", "a repeat must be above 0 beats, line 1"},
        {"1 1\nrepeat 1\n", "repeat must come before the first key, line 2"},
        {"repeat 1\n0b 1\n1.5b 0\n", "key beyond the repeat (the first key plus the repeat), line 3"},
        {"9:7 1\n", "a time in bars is BAR:BEAT, a whole bar from 0 and a beat from 0 to below 4, line 1"},
    };
    for (const auto& r : rows) {
        std::string error;
        parsed(r.text, &error);
        EXPECT_EQ(error, std::string("Track data/tracks/t.txt: ") + r.error) << r.text;
    }
}

// The tracker's file: count, then row, float bits, interpolation per key.
std::vector<unsigned char> binary(const std::vector<std::pair<int, float>>& keys, int interp) {
    std::vector<unsigned char> out;
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
    };
    put32(static_cast<uint32_t>(keys.size()));
    for (const auto& k : keys) {
        uint32_t bits;
        std::memcpy(&bits, &k.second, 4);
        put32(static_cast<uint32_t>(k.first));
        put32(bits);
        out.push_back(static_cast<unsigned char>(interp));
    }
    return out;
}

TEST(track, a_binary_track_plays_as_its_text_twin_and_rejects_broken_files) {
    track from_text = parsed("0b 0 smooth\n1.25b 3 smooth\n4b -2 smooth\n");
    track from_rows = {};
    std::string error;
    ASSERT_TRUE(track_parse_binary(binary({{0, 0}, {5, 3}, {16, -2}}, 2), "x.track", tempo, 4, &from_rows, &error))
        << error;
    for (double at = 0; at < 3; at += 0.01) ASSERT_EQ(track_value(from_rows, at), track_value(from_text, at)) << at;

    std::vector<unsigned char> short_file = binary({{0, 1}}, 0);
    short_file.pop_back();
    const struct { std::vector<unsigned char> bytes; const char* error; } bad[] = {
        {{1, 0}, "Track x.track: the file is shorter than the 4 bytes of its key count"},
        {short_file, "Track x.track: the file holds 12 bytes; 1 keys take 13, key 0"},
        {binary({{4, 1}, {4, 2}}, 0), "Track x.track: key out of row order, key 2"},
        {binary({{-1, 1}}, 0), "Track x.track: a row before row 0, key 1"},
        {binary({{1, 1}}, 7), "Track x.track: an unknown interpolation type, key 1"},
    };
    for (const auto& b : bad) {
        track t = {};
        EXPECT_FALSE(track_parse_binary(b.bytes, "x.track", tempo, 4, &t, &error));
        EXPECT_EQ(error, b.error);
    }
    EXPECT_EQ(track_binary_path("fx:glow_1/a b"), "data/tracks/sync_fx-3aglow_1/a-20b.track");
    for (double row : {0.0, 5.0, 4097.0}) {
        EXPECT_EQ(track_time_row(track_row_time(row, tempo, 4), tempo, 4), row);
        EXPECT_EQ(track_time_row(track_row_time(row, {0, 0}, 4), {0, 0}, 4), row) << "without a tempo";
    }
}

TEST(track, the_text_written_reads_back_to_the_same_keys) {
    track repeating = parsed("repeat 8\n0.3 1 linear\n1:1.3 -0.125 ramp\n3.7b 1e-7 smooth\n");
    track rows = {};
    for (int row : {3, 77, 1001, 4099}) rows.keys.push_back({track_row_time(row, tempo, 3), row * 0.1f, TRACK_RAMP});
    for (const track& t : {repeating, rows}) {
        track back = parsed(track_format_text(t, tempo));
        ASSERT_EQ(back.keys.size(), t.keys.size()) << track_format_text(t, tempo);
        EXPECT_EQ(back.repeat, t.repeat);
        for (size_t i = 0; i < t.keys.size(); ++i) {
            EXPECT_EQ(back.keys[i].time, t.keys[i].time) << i;
            EXPECT_EQ(back.keys[i].value, t.keys[i].value) << i;
            EXPECT_EQ(back.keys[i].interp, t.keys[i].interp) << i;
        }
    }
}

// ---------------------------------------------------------------------------
// Params that follow tracks
// ---------------------------------------------------------------------------

struct TrackScript : testing::Test {
    temp_dir dir;
    working_folder here{dir.path};
    catch_fatal trap;
    void TearDown() override {
        timeline_reset();
        script_reset();
        track_store_clear();
    }
    std::string read(const std::string& sections) {
        script_reset();
        return fatal_message([&] { read_script_file(dir.write("s.txt", "bpm 120\n" + sections).c_str()); });
    }
};

const char* const fader = "[efxFader]\nstart 1\nend 5\n";

TEST_F(TrackScript, params_take_the_value_scaled_and_offset_before_each_frame) {
    dir.write("data/tracks/up.txt", "0 0 linear\n4 8\n");
    dir.write("data/tracks/beat.txt", "0 1\n2 5\n2.5 7\n");
    ASSERT_EQ(read(std::string(fader) + "param 1\nparam @up\nparam @up 0.5\nparam @up -1 2\nsyncs @beat\n"), "");
    section* s = section_list;
    track_apply(s, 3);
    EXPECT_EQ(std::vector<float>(s->params, s->params + 4), std::vector<float>({1, 6, 3, -4}));
    // What the type reads follows too.
    const fader_values& v = section_values<fader_values>(*s);
    EXPECT_EQ(v.from[1], 6);
    EXPECT_EQ(v.from[3], -4);
    // Key times after the start and before the end, from the start.
    EXPECT_EQ(std::vector<float>(s->syncs, s->syncs + s->sync_count), std::vector<float>({1, 1.5f}));
}

TEST_F(TrackScript, a_binary_track_is_found_by_its_coded_name_and_a_text_twin_wins) {
    auto file = [](const std::vector<unsigned char>& bytes) { return std::string(bytes.begin(), bytes.end()); };
    dir.write("data/tracks/sync_fx-3abin.track", file(binary({{0, 0}, {8, 4}}, TRACK_LINEAR)));
    dir.write("data/tracks/sync_both.track", file(binary({{0, 1}}, TRACK_STEP)));
    dir.write("data/tracks/both.txt", "0 7\n");
    ASSERT_EQ(read(std::string(fader) + "param @fx:bin\nparam @both\n"), "");
    track_apply(section_list, 0.5);
    EXPECT_EQ(section_list->params[0], 2);
    EXPECT_EQ(section_list->params[1], 7);
}

TEST_F(TrackScript, a_bad_binding_names_its_line) {
    dir.write("data/tracks/up.txt", "0 0\n");
    dir.write("data/tracks/broken.txt", "1 1\n0 0\n");
    const struct { std::string sections; const char* error; } rows[] = {
        {"[genCamera]\nstart 0\nend 5\nparam @up\n",
         "Script: genCamera reads param 1 (fov) only as the section is set up, so it cannot follow track 'up'; "
         "section at line 2, line 5"},
        {std::string(fader) + "param @gone\n",
         "Script: track 'gone' not found: there is neither data/tracks/gone.txt nor "
         "data/tracks/sync_gone.track, line 5"},
        {std::string(fader) + "param @broken\n", "Track data/tracks/broken.txt: key out of time order, line 2"},
        {std::string(fader) + "param @up x\n",
         "Script: param @up takes a scale and an offset (numbers) after the name, line 5"},
        {std::string(fader) + "param @up 1 2 3\n", "Script: param @up takes at most a scale and an offset, line 5"},
        {std::string(fader) + "param @../up\n",
         "Script: '../up' is not a track name (1 to 63 letters, digits, '_', '.', '-', ':', not starting with "
         "'.'), line 5"},
        {std::string(fader) + "syncs 1\nsyncs @up\n",
         "Script: syncs @TRACK cannot be mixed with other syncs or sync lines, line 6"},
    };
    for (const auto& r : rows) EXPECT_EQ(read(r.sections), r.error) << r.sections;
}

}  // namespace
