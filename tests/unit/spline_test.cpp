// Splines: reading key files (blank lines, the longest line, errors), spread
// key times, and evaluation checked against values worked out by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/spline.h"
#include "tests/test_support.h"

namespace {

// A spline loaded from a file the test writes, released at scope end.
struct loaded_spline {
    spline s;
    loaded_spline(const temp_dir& dir, const std::string& text, float duration) {
        s = spline_load(dir.write("s.txt", text).c_str());
        spline_spread_times(&s, duration);
    }
    ~loaded_spline() { spline_free(&s); }
};

// One compact key line whose nine values are v, v+1, ..., v+8.
std::string key_line(float v) {
    std::string line = "{";
    for (int c = 0; c < SPLINE_CHANNELS; c++) {
        line += std::to_string(v + c);
        line += c < SPLINE_CHANNELS - 1 ? "," : "}\n";
    }
    return line;
}

std::vector<float> eval(const spline& s, float t) {
    std::vector<float> out(SPLINE_CHANNELS);
    spline_evaluate(&s, t, out.data());
    return out;
}

}  // namespace

// ---------------------------------------------------------------------------
// Loading and times
// ---------------------------------------------------------------------------

TEST(SplineLoad, BlankLinesAreSkippedAndTimesSpread) {
    temp_dir dir;
    loaded_spline l(dir, "\n" + key_line(0) + "   \t\r\n" + key_line(1) + key_line(2) + "\n" +
                             key_line(3) + "  \n",
                    3.0f);
    ASSERT_EQ(l.s.count, 4);
    EXPECT_EQ(l.s.end_time, 3.0f);
    for (int k = 0; k < 4; k++) {
        EXPECT_EQ(l.s.keys[k].time, (float)k);
        EXPECT_EQ(l.s.keys[k].values[0], (float)k);
    }
    // Windows line ends and a last line without a line end.
    loaded_spline crlf(dir, "{1,2,3,4,5,6,7,8,9}\r\n{9,8,7,6,5,4,3,2,1}", 1.0f);
    ASSERT_EQ(crlf.s.count, 2);
    EXPECT_EQ(crlf.s.keys[1].values[0], 9.0f);
    EXPECT_EQ(crlf.s.keys[1].time, 1.0f);
}

TEST(SplineLoad, LongestLineIsAcceptedOneMoreIsNot) {
    temp_dir dir;
    std::string line = "{1,2,3,4,5,6,7,8,9}";
    std::string longest = line + std::string(255 - line.size(), ' ');
    loaded_spline ok(dir, longest + "\r\n" + longest, 1.0f);
    EXPECT_EQ(ok.s.count, 2);

    for (size_t length : {256u, 300u, 600u}) {
        std::string path = dir.write("long.txt", key_line(0) + line +
                                                     std::string(length - line.size(), ' ') + "\n" +
                                                     key_line(1));
        EXPECT_EQ(fatal_message([&] { spline_load(path.c_str()); }),
                  "Error loading spline " + path + ": line 2 is longer than 255 characters");
    }
}

TEST(SplineLoad, ErrorsNameFileAndLine) {
    temp_dir dir;
    struct row { const char* text; const char* tail; } rows[] = {
        {nullptr, ""},                                          // no file
        {"", ": the file holds no keys"},
        {"\n  \n\t\n", ": the file holds no keys"},
        {"{1,2,3,4,5,6,7,8,9}\n\n{1,2,3}\n", ": line 3 does not hold nine numbers"},
        {"camera\n", ": line 1 does not hold nine numbers"},
        {"{1,2,3,4,5,6,7,8,9}\n{nan,0,0,0,0,0,0,0,0}\n", ": line 2 holds a number that is not finite"},
        {"{1e39,0,0,0,0,0,0,0,0}\n", ": line 1 holds a number that is not finite"},
    };
    for (const row& r : rows) {
        std::string path = r.text ? dir.write("bad.txt", r.text) : dir.file("absent.txt");
        EXPECT_EQ(fatal_message([&] { spline_load(path.c_str()); }), "Error loading spline " + path + r.tail);
    }
    const std::string folder = dir.write("folder.txt/inside", "").substr(0, dir.file("folder.txt").size());
    EXPECT_EQ(fatal_message([&] { spline_load(folder.c_str()); }),
              "Error loading spline " + folder + ": the file cannot be read");
}

// ---------------------------------------------------------------------------
// Evaluation
// ---------------------------------------------------------------------------

// Keys over 3 s at 0, 1, 2, 3. Channel 0 runs 0, 1, 4, 9; channel 1 runs
// 0, 2, 2, 0. Catmull-Rom inner tangents are half the neighbours'
// difference, end tangents the end segment's difference; at s = 0.5 the
// weights are h1 = h2 = 0.5, h3 = 0.125, h4 = -0.125.
TEST(SplineEvaluate, FourKeysFollowCatmullRom) {
    temp_dir dir;
    loaded_spline l(dir,
                    "{0,0,5,5,5,5,5,5,5}\n{1,2,5,5,5,5,5,5,5}\n"
                    "{4,2,5,5,5,5,5,5,5}\n{9,0,5,5,5,5,5,5,5}\n",
                    3.0f);
    struct row { float t, c0, c1; } rows[] = {
        // Segment 0: tangents 1 (end) and (4 - 0) / 2 = 2 for channel 0,
        // 2 and (2 - 0) / 2 = 1 for channel 1.
        {0.5f, 0.5f + 0.125f * 1 - 0.125f * 2, 1.0f + 0.125f * 2 - 0.125f * 1},
        // Segment 1: tangents 2 and (9 - 1) / 2 = 4; 1 and (0 - 2) / 2 = -1.
        {1.5f, 2.5f + 0.125f * 2 - 0.125f * 4, 2.0f + 0.125f * 1 + 0.125f * 1},
        // Segment 2: tangents 4 and 5 (end); -1 and -2.
        {2.5f, 6.5f + 0.125f * 4 - 0.125f * 5, 1.0f - 0.125f * 1 + 0.125f * 2},
    };
    for (const row& r : rows) {
        std::vector<float> out = eval(l.s, r.t);
        EXPECT_FLOAT_EQ(out[0], r.c0) << r.t;
        EXPECT_FLOAT_EQ(out[1], r.c1) << r.t;
        for (int c = 2; c < SPLINE_CHANNELS; c++) EXPECT_FLOAT_EQ(out[c], 5.0f) << r.t;
    }
    // At a key's own time the segment that ends there gives s = 1: the key.
    const float keys0[] = {0, 1, 4, 9}, keys1[] = {0, 2, 2, 0};
    for (int k = 0; k < 4; k++) {
        std::vector<float> out = eval(l.s, (float)k);
        EXPECT_EQ(out[0], keys0[k]) << k;
        EXPECT_EQ(out[1], keys1[k]) << k;
    }
    // Outside the range the nearest end key holds.
    for (float t : {-0.5f, -100.0f}) EXPECT_EQ(eval(l.s, t)[0], 0.0f) << t;
    for (float t : {3.0001f, 3.5f, 1e6f}) EXPECT_EQ(eval(l.s, t)[0], 9.0f) << t;
}

// Three keys at 0, 1, 2 with values 0, 2, 3 in channel 0; tension,
// continuity, bias and the linear flag set by hand.
TEST(SplineEvaluate, TensionContinuityBiasAndLinearKeys) {
    temp_dir dir;
    loaded_spline l(dir, "{0,0,0,0,0,0,0,0,0}\n{2,0,0,0,0,0,0,0,0}\n{3,0,0,0,0,0,0,0,0}\n", 2.0f);
    spline_key* k = l.s.keys;
    k[0].tension = 0.25f;
    k[1].tension = 0.5f;
    k[1].continuity = 0.2f;
    k[1].bias = -0.4f;

    // Segment 0 at s = 0.5: key 0 is first, a = b = 0.75, outgoing
    // (0.75 + 0.75) * 2 * 0.5 = 1.5. Key 1: c = 0.5 * 1.2 * 1.4 = 0.84,
    // d = 0.5 * 0.8 * 0.6 = 0.24, incoming (1 * 0.84 + 2 * 0.24) * 1 / 2
    // = 0.66. Value 0.5 * 2 + 0.125 * 1.5 - 0.125 * 0.66 = 1.105.
    EXPECT_NEAR(eval(l.s, 0.5f)[0], 1.105f, 1e-5f);
    // Segment 1 at s = 0.5: key 1 gives a = 0.5 * 1.2 * 0.6 = 0.36,
    // b = 0.5 * 0.8 * 1.4 = 0.56, outgoing (2 * 0.36 + 1 * 0.56) * 1 / 2
    // = 0.64; key 2 is last with c = d = 1, incoming 1. Value
    // 0.5 * 2 + 0.5 * 3 + 0.125 * 0.64 - 0.125 * 1 = 2.455.
    EXPECT_NEAR(eval(l.s, 1.5f)[0], 2.455f, 1e-5f);

    // A linear flag straightens only the segment that ends at its key.
    k[2].linear = 1;
    EXPECT_NEAR(eval(l.s, 1.25f)[0], 2.25f, 1e-5f);
    EXPECT_NEAR(eval(l.s, 0.5f)[0], 1.105f, 1e-5f);
    k[2].linear = 0;
    k[1].linear = 1;
    EXPECT_NEAR(eval(l.s, 0.5f)[0], 1.0f, 1e-5f);
    EXPECT_NEAR(eval(l.s, 1.5f)[0], 2.455f, 1e-5f);
}

TEST(SplineEvaluate, ZeroDurationGivesKeysWithoutDividing) {
    temp_dir dir;
    loaded_spline l(dir, key_line(1) + key_line(2) + key_line(3), 0.0f);
    for (int k = 0; k < 3; k++) EXPECT_EQ(l.s.keys[k].time, 0.0f);
    EXPECT_EQ(eval(l.s, 0.0f)[0], 1.0f);
    EXPECT_EQ(eval(l.s, 0.5f)[0], 3.0f);
}
