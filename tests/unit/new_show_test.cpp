// The starter script of `quillon --new`: at every tempo and length it reads
// without a fault, every section passes its type's check and lies inside the
// show, sections start on beats, and every setting and entry is commented.
#include "app/new_show.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/script.h"
#include "show/section_table.h"
#include "tests/test_support.h"

namespace {

TEST(new_show, script_reads_cleanly_at_every_tempo_and_length) {
    const struct {
        int bpm;
        float seconds;
        size_t types;  // distinct section types besides the loading screen, at least
    } cases[] = {{120, 20, 7}, {90, 60, 7}, {175, 12.5f, 7}, {60, 4, 3}, {300, 1, 3}};
    catch_fatal guard;
    temp_dir show;
    show.write("data/tracks/pulse.txt", new_show_pulse_track());
    working_folder here(show.path);
    for (const auto& c : cases) {
        std::string text = new_show_script(c.bpm, c.seconds);
        read_script_memory(text.data(), text.size());
        const double beat = 60.0 / c.bpm;
        std::set<int> types;
        for (const section* s = section_list; s; s = s->next) {
            const char* name = section_types[s->type].name;
            char message[256] = "";
            section_reads_fault(*s, name, *section_types[s->type].reads, message, sizeof message);
            EXPECT_STREQ(message, "") << c.bpm << " BPM";
            EXPECT_GT(s->end, s->start) << name << " at line " << s->line;
            EXPECT_LE(s->end, new_show_beats(c.bpm, c.seconds) * beat + 1e-4f) << name << " at line " << s->line;
            double beats = s->start / beat;
            if (std::fabs(s->end - c.seconds) > 1e-4f) {
                EXPECT_NEAR(beats, std::round(beats), 1e-3) << name << " at line " << s->line << " is off the beat";
            }
            if (s->type != 0) types.insert(s->type);
        }
        EXPECT_GE(types.size(), c.types) << c.bpm << " BPM, " << c.seconds << " s";
        script_reset();
        // Every line that sets something follows its comment.
        std::istringstream lines(text);
        std::string line, previous;
        while (std::getline(lines, line)) {
            bool sets = !line.empty() && line[0] != ';' && line[0] != '[' && line.compare(0, 6, "start ") != 0 &&
                        line.compare(0, 4, "end ") != 0 && line.compare(0, 6, "layer ") != 0;
            if (sets) {
                EXPECT_EQ(previous.rfind("; ", 0), 0u) << "no comment above: " << line;
            }
            previous = line;
        }
    }
}

// Every time the starter script writes is in beats: a new bpm alone moves
// every section end and spline length to the same beat at the new tempo.
TEST(new_show, a_new_tempo_alone_retimes_the_whole_show) {
    catch_fatal guard;
    temp_dir show;
    show.write("data/tracks/pulse.txt", new_show_pulse_track());
    working_folder here(show.path);
    auto in_beats = [](const std::string& text, double bpm) {
        read_script_memory(text.data(), text.size());
        std::vector<double> beats;
        for (const section* s = section_list; s; s = s->next) {
            beats.push_back(s->start * bpm / 60);
            beats.push_back(s->end * bpm / 60);
            for (int i = 0; i < s->spline_count; ++i) beats.push_back(s->spline_durations[i] * bpm / 60);
        }
        script_reset();
        return beats;
    };
    EXPECT_NE(new_show_script(128, 7).find("\nend 3:3\n"), std::string::npos) << "7 s at 128 BPM is 15 beats";
    std::string text = new_show_script(128, 30);
    EXPECT_HAS(text, "\nspline data/splines/flight.txt 64b\n");
    std::vector<double> at_128 = in_beats(text, 128);
    text.replace(text.find("\nbpm 128\n"), 9, "\nbpm 90\n");
    std::vector<double> at_90 = in_beats(text, 90);
    ASSERT_EQ(at_90.size(), at_128.size());
    ASSERT_GT(at_128.size(), 20u);
    for (size_t i = 0; i < at_128.size(); ++i) EXPECT_NEAR(at_90[i], at_128[i], 1e-3) << "time " << i;
}

TEST(new_show, command_line_takes_tempo_and_length_only_with_a_folder) {
    const std::pair<std::vector<std::string>, const char*> rows[] = {  // value_error, "" when taken
        {{"--new", "s", "--bpm", "90", "--length", "600"}, ""},
        {{"--bpm", "90"}, "--bpm and --length are only used with --new"},
        {{"--new", "s", "--bpm", "0"}, "--bpm must be a whole number of beats per minute from 1 to 300, not '0'"},
        {{"--new", "s", "--length", "0"}, "--length must be a number of seconds above 0, at most 600, not '0'"},
        {{"--new", "s", "t"}, "--new s takes no show folder besides"},
        {{"--new", "s", "--length", "1e-30"}, "--length 1e-30 is shorter than one bar at 120 BPM (2 s)"},
        {{"--new", "s", "--bpm", "60", "--length", "3.9"}, "--length 3.9 is shorter than one bar at 60 BPM (4 s)"},
        {{"--new", "s", "--bpm", "60", "--length", "4"}, ""},
    };
    for (const auto& r : rows) EXPECT_STREQ(parse_command_line(r.first).value_error, r.second) << r.first[1];
}

}  // namespace
