// Edit mode's keys, pressed through the control channel's `key` command so
// they take the event loop's own path, and the timeline view, read back from
// the window as it shows it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "tests/edit_session.h"

namespace {

const std::string black = "param 0\nparam 0\nparam 0\nparam 1\n";

std::string fader(const char* start, const char* end, int layer) {
    return std::string("[efxFader]\nstart ") + start + "\nend " + end + "\nlayer " + std::to_string(layer) + "\n" +
           black + black;
}

// A black picture from 0 to 30 s on layer 1; on layer 2 one section from
// 1:1 (2.5 s at 120 beats a minute) to 6 s and one from 3:2 (7 s) to 12 s;
// on layer 3 one from 7:2 (15 s) to 25 s. The loading section (0-1 s) has
// a lane of its own above them.
struct keys_show {
    temp_dir dir;
    keys_show() {
        dir.add_font();
        dir.write("data/script.txt", "bpm 120\n" + e2e_show(fader("0", "30", 1) + fader("1:1", "6", 2) +
                                                           fader("3:2", "12", 2) + fader("7:2", "25", 3)));
    }
};

TEST(edit_keys, each_key_moves_the_transport_as_it_should) {
    keys_show show;
    edit_run run(show.dir.path, "--fps 60");
    run.send("pause");
    run.send("seek 5");
    // time < 0: neither time nor frame checked (the show played in between).
    const struct { const char* key; double time; int frame, paused; const char* loop; } cases[] = {
        {"]", 6, 0, 1, "off"},           {"shift+]", 16, 0, 1, "off"},    {"[", 15, 0, 1, "off"},
        {"shift+[", 5, 0, 1, "off"},     {".", 5 + 1 / 60.0, 1, 1, "off"}, {",", 5, 0, 1, "off"},
        {".", 5 + 1 / 60.0, 1, 1, "off"}, {"r", 5 + 1 / 60.0, 0, 1, "off"}, {"home", 0, 0, 1, "off"},
        {"pagedown", 2.5, 0, 1, "off"},  {"pagedown", 7, 0, 1, "off"},    {"pagedown", 15, 0, 1, "off"},
        {"pagedown", 15, 0, 1, "off"},   {"pageup", 7, 0, 1, "off"},      {"pageup", 2.5, 0, 1, "off"},
        {"i", 2.5, 0, 1, "2.500 30.000"}, {"shift+]", 12.5, 0, 1, "2.500 30.000"},
        {"o", 2.5, 0, 1, "2.500 12.500"},  // the time is past the new out: back to the in
        {"]", 3.5, 0, 1, "2.500 12.500"},  {"i", 3.5, 0, 1, "3.500 12.500"},  // a new in keeps the out
        {"nosuchkey", 3.5, 0, 1, "3.500 12.500"}, {"l", 3.5, 0, 1, "off"},
        {"p", -1, -1, 0, "off"},         {"P", -1, -1, 1, "off"},         {"home", 0, 0, 1, "off"},
    };
    for (const auto& c : cases) {
        run.send(std::string("key ") + c.key);
        std::string line = run.status_line();
        if (c.time >= 0) {
            EXPECT_NEAR(std::stod(edit_run::field(line, "time")), c.time, 1e-4) << c.key << "\n" << line;
            EXPECT_EQ(edit_run::field(line, "frame"), std::to_string(c.frame)) << c.key << "\n" << line;
        }
        EXPECT_EQ(edit_run::field(line, "paused"), std::to_string(c.paused)) << c.key << "\n" << line;
        EXPECT_NE(line.find(std::string(" loop ") + c.loop + " "), std::string::npos) << c.key << "\n" << line;
    }
    EXPECT_NE(run.err().find("unknown key 'nosuchkey'"), std::string::npos) << run.err();
    EXPECT_EQ(run.quit(), 0) << run.err();
}

// Colours of the view over a black picture.
enum shade { RED, GREEN, BLUE, BAND, ANY };

bool is(const png_pixels& p, int x, int y, shade s) {
    int r = p.at(x, y)[0], g = p.at(x, y)[1], b = p.at(x, y)[2];
    switch (s) {
    case RED: return r > 150 && g < 100 && b < 100;             // the playhead
    case GREEN: return g > r + 30 && g > b + 20;                // a running section's box
    case BLUE: return b > r + 30 && b > g + 20;                 // any other box
    case BAND: return r > 25 && std::abs(r - g) < 12 && b < r / 2;  // the loop
    case ANY: return r + g + b > 24;
    }
    return false;
}

// The shade's pixels: how many, their mean x, the leftmost x.
struct found {
    int n = 0, left = 1 << 20;
    double sum_x = 0;
    double mean_x() const { return n ? sum_x / n : -1; }
};
found find(const png_pixels& p, shade s) {
    found f;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (is(p, x, y, s)) f.n += 1, f.sum_x += x, f.left = std::min(f.left, x);
    return f;
}

// The first and last row of the shade in column x ({-1, -1}: none).
std::pair<int, int> rows(const png_pixels& p, int x, shade s) {
    std::pair<int, int> r = {-1, -1};
    for (int y = 0; y < p.height; ++y)
        if (is(p, x, y, s)) r = {r.first < 0 ? y : r.first, y};
    return r;
}

TEST(edit_keys, the_timeline_view_shows_sections_playhead_and_loop) {
    keys_show show;
    edit_run run(show.dir.path, "--fps 60");
    auto shot = [&run](const std::string& name) {
        EXPECT_FALSE(run.still(name + ".png", "shot").empty()) << run.err();
        return read_png(run.work.file(name + ".png"));
    };
    run.send("pause");
    run.send("seek 4");
    EXPECT_EQ(find(shot("hidden"), ANY).n, 0);
    run.send("key tab");
    png_pixels at4 = shot("at4");
    EXPECT_EQ(find(at4, BAND).n, 0);
    run.send("key i");
    run.send("seek 9");
    png_pixels at9 = shot("at9");
    run.send("key l");
    run.send("seek 20");
    png_pixels at20 = shot("at20");
    EXPECT_EQ(find(at20, BAND).n, 0);
    run.send("key tab");
    EXPECT_EQ(find(shot("hidden_again"), ANY).n, 0);

    // The playhead moves right at an even pace.
    double p4 = find(at4, RED).mean_x(), p9 = find(at9, RED).mean_x(), p20 = find(at20, RED).mean_x();
    ASSERT_GT(p4, 0);
    EXPECT_GT(p9, p4);
    EXPECT_NEAR((p9 - p4) / 5, (p20 - p9) / 11, 0.5) << p4 << " " << p9 << " " << p20;
    // The loop from 4 s (key I) to the end, while it is set.
    EXPECT_GT(find(at9, BAND).n, 100);
    EXPECT_NEAR(find(at9, BAND).left, p4, 3);

    // Columns through the section of 2.5-6 s (a), of 7-12 s (b), both on
    // layer 2, and of 15-25 s (c) on layer 3, just right of the playhead.
    int a = static_cast<int>(p4) + 4, b = static_cast<int>(p9) + 4, c = static_cast<int>(p20) + 4;
    std::pair<int, int> lane2 = rows(at4, b, BLUE), none = {-1, -1};
    ASSERT_NE(lane2, none);
    EXPECT_EQ(rows(at4, a, BLUE), none);                   // a runs at 4 s: highlighted, in b's lane
    EXPECT_EQ(rows(at4, a, GREEN).second, lane2.second);
    EXPECT_EQ(rows(at9, a, BLUE), lane2);                  // at 9 s b runs and a does not
    EXPECT_EQ(rows(at9, b, BLUE), none);
    EXPECT_EQ(rows(at9, b, GREEN).second, lane2.second);
    EXPECT_GT(rows(at4, c, BLUE).first, lane2.second);     // layer 3 below layer 2
    EXPECT_EQ(rows(at20, c, GREEN).second, rows(at4, c, BLUE).second);
    EXPECT_EQ(run.quit(), 0) << run.err();
}

}  // namespace
