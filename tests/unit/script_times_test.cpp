// Times written in seconds, beats and bars, `syncs every`, the warnings for
// values that read as no number, and the did-you-mean hints of the reader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/nearest.h"
#include "core/script.h"
#include "core/script_time.h"
#include "core/section.h"
#include "core/settings.h"
#include "tests/test_support.h"

namespace {

struct ScriptTimes : testing::Test {
    catch_fatal trap;
    void TearDown() override { script_reset(); }

    // Reads `content`; returns the fatal message, or "" when there was none.
    static std::string read(const std::string& content) {
        script_reset();
        return fatal_message([&] { read_script_memory(content.data(), content.size()); });
    }
    std::vector<float> syncs_of_first() const {
        const section* s = section_list;
        return s ? std::vector<float>(s->syncs, s->syncs + s->sync_count) : std::vector<float>();
    }
};

TEST(ScriptTimeParse, FormsTempoAndLimits) {
    const script_tempo none = {0, 0}, t120 = {120, 0}, t128 = {128, 0}, late = {120, 0.25f};
    struct row {
        const char* text;
        script_tempo tempo;
        script_time_kind kind;
        script_time_status status;
        float seconds;
    } rows[] = {
        {"12.5", none, SCRIPT_TIME_POINT, SCRIPT_TIME_OK, 12.5f},
        {"16b", t120, SCRIPT_TIME_POINT, SCRIPT_TIME_OK, 8},
        {"16b", late, SCRIPT_TIME_POINT, SCRIPT_TIME_OK, 8.25f},
        {"16b", late, SCRIPT_TIME_LENGTH, SCRIPT_TIME_OK, 8},
        {"1.5b", t128, SCRIPT_TIME_LENGTH, SCRIPT_TIME_OK, 0.703125f},
        {"8:2", t120, SCRIPT_TIME_POINT, SCRIPT_TIME_OK, 17},
        {"8:2.5", t128, SCRIPT_TIME_POINT, SCRIPT_TIME_OK, 16.171875f},
        {"0:0", late, SCRIPT_TIME_POINT, SCRIPT_TIME_OK, 0.25f},
        {"2:0", late, SCRIPT_TIME_LENGTH, SCRIPT_TIME_OK, 4},
        {"100000", none, SCRIPT_TIME_POINT, SCRIPT_TIME_OK, 100000},
        {"sixty", t120, SCRIPT_TIME_POINT, SCRIPT_TIME_NONE, 0},
        {"1,5", none, SCRIPT_TIME_LENGTH, SCRIPT_TIME_JUNK, 1},
        // Faults: a unit set apart, beats without a tempo, malformed bars, out of range.
        {"16 b", t120, SCRIPT_TIME_POINT, SCRIPT_TIME_ERROR, 0},
        {"16b", none, SCRIPT_TIME_POINT, SCRIPT_TIME_ERROR, 0},
        {"8:2", none, SCRIPT_TIME_POINT, SCRIPT_TIME_ERROR, 0},
        {"8:4", t120, SCRIPT_TIME_POINT, SCRIPT_TIME_ERROR, 0},
        {"8.5:1", t120, SCRIPT_TIME_POINT, SCRIPT_TIME_ERROR, 0},
        {"8:1x", t120, SCRIPT_TIME_POINT, SCRIPT_TIME_ERROR, 0},
        {"-2b", t120, SCRIPT_TIME_LENGTH, SCRIPT_TIME_ERROR, 0},
        {"0b", {120, -1}, SCRIPT_TIME_POINT, SCRIPT_TIME_ERROR, 0},
        {"1e6", none, SCRIPT_TIME_POINT, SCRIPT_TIME_ERROR, 0},
        {"200001b", t120, SCRIPT_TIME_POINT, SCRIPT_TIME_ERROR, 0},
    };
    for (const row& r : rows) {
        script_time t = script_time_parse(r.text, r.tempo, r.kind);
        EXPECT_EQ(t.status, r.status) << r.text;
        if (t.status == SCRIPT_TIME_OK || t.status == SCRIPT_TIME_JUNK) {
            EXPECT_EQ(static_cast<float>(t.seconds), r.seconds) << r.text;
        }
        EXPECT_EQ(t.error != nullptr, r.status == SCRIPT_TIME_ERROR) << r.text;
    }
}

// The timeline view names moments as the script does: what "B:b" reads as
// prints back as B:b, with a beat offset and across bar lines.
TEST(ScriptTimeParse, BarBeatPrintsWhatTheReaderReads) {
    const script_tempo t120 = {120, 0}, t128 = {128, 0}, late = {120, 0.25f};
    struct row {
        const char* text;
        script_tempo tempo;
        const char* printed;
    } rows[] = {
        {"8:2", t120, "8:2.00"}, {"0:0", late, "0:0.00"},   {"3:3.5", t128, "3:3.50"},
        {"4:0", t128, "4:0.00"}, {"16b", late, "4:0.00"},   {"0.1", late, ""},
        {"7", {0, 0}, ""},
    };
    for (const row& r : rows) {
        script_time t = script_time_parse(r.text, r.tempo, SCRIPT_TIME_POINT);
        char out[32];
        script_time_bar_beat(static_cast<float>(t.seconds), r.tempo, out, sizeof out);
        EXPECT_STREQ(out, r.printed) << r.text;
    }
}

TEST_F(ScriptTimes, EveryTimeKeywordTakesBeats) {
    ASSERT_EQ(read("bpm 120\nbeat_offset 0.5\ndemostart 4b\ndemoend 10:0\n"
                   "[lines]\nstart 2:0\nend 16b\nsyncs 1\nsync 1b\nspline a.txt 4b\nspline b.txt\n[EOF]\n"),
              "");
    const section* s = section_list;
    ASSERT_NE(s, nullptr);
    // A sync counts from its section's start.
    EXPECT_EQ(std::vector<float>({demostart, demoend, s->start, s->end, s->duration, s->syncs[0],
                                  s->spline_durations[0], s->spline_durations[1]}),
              std::vector<float>({2.5f, 20.5f, 4.5f, 8.5f, 4, 0.5f, 2, 4}));
}

TEST_F(ScriptTimes, FaultsNameTheirLine) {
    const std::pair<const char*, const char*> rows[] = {
        {"[lines]\nstart 16b\n", "Script: a time in beats needs a bpm setting before it, line 2"},
        {"demostart 4b\nbpm 120\n", "Script: a time in beats needs a bpm setting before it, line 1"},
        {"bpm 120\ndemostart 4b\nbpm 100\n", "Script: bpm must come before the first time in beats, line 3"},
        {"bpm 0\n", "Script: bpm must be a number of beats per minute above 0, line 1"},
        {"bpm 120\n[lines]\nstart 8:4\n",
         "Script: a time in bars is BAR:BEAT, a whole bar from 0 and a beat from 0 to below 4, line 3"},
        {"[lines]\nend 1e6\n", "Script: a time must be at most 100000 seconds, line 2"},
        {"[lines]\nstart 0\nend 4\nsyncs every 0\n", "Script: syncs every needs a step above 0, line 4"},
        {"bpm 120\n[lines]\nstart 0\nend 4\nsyncs every 0.5 b\n",
         "Script: no space may stand between a number and its unit b (16b, not 16 b), line 5"},
        {"[lines]\nstart 0\nend 100000\nsyncs every 0.001\n[EOF]\n",
         "Script: syncs every makes more than 65536 syncs, line 4"},
        {"[lines]\nsyncs 1\nsync 0.5\nsyncs every 1\n",
         "Script: syncs every cannot be mixed with syncs N or sync lines, line 4"},
        {"[lines]\nsyncs every 1\nsync 2\n", "Script: syncs every cannot be mixed with syncs N or sync lines, line 3"},
        {"demostart -1e30\n", "Script: demostart cannot be negative, line 1"},
        {"[lines]\nsyncs 1\nsync -2\n", "Script: a sync time cannot be negative, line 3"},
        {"[lines]\nspline a.txt -4\n", "Script: a spline's time cannot be negative, line 2"},
    };
    for (const auto& r : rows) EXPECT_EQ(read(r.first), r.second) << r.first;
}

TEST_F(ScriptTimes, SyncsEveryEqualsTheWrittenList) {
    struct row {
        const char* head;
        const char* grid;     // start, end and `syncs every`, in any order
        const char* written;  // the same syncs as sync lines
    } rows[] = {
        {"bpm 128\n", "start 0:0\nend 4:0\nsyncs every 1b\n",
         "start 0\nend 7.5\nsyncs 15\nsync 1b\nsync 2b\nsync 3b\nsync 4b\nsync 5b\nsync 6b\nsync 7b\nsync 8b\n"
         "sync 9b\nsync 10b\nsync 11b\nsync 12b\nsync 13b\nsync 14b\nsync 15b\n"},
        {"bpm 120\nbeat_offset 0.1\n", "syncs every 1:0\nstart 1b\nend 13b\n",
         "start 0.6\nend 6.6\nsyncs 2\nsync 2\nsync 4\n"},
        {"", "start 1\nend 3.1\nsyncs every 0.5\n", "start 1\nend 3.1\nsyncs 4\nsync 0.5\nsync 1\nsync 1.5\nsync 2\n"},
        {"", "start 1\nend 3\nsyncs every 0.5\n", "start 1\nend 3\nsyncs 3\nsync 0.5\nsync 1\nsync 1.5\n"},
        {"", "start 1\nend 1.5\nsyncs every 2\n", "start 1\nend 1.5\n"},
    };
    for (const row& r : rows) {
        ASSERT_EQ(read(std::string(r.head) + "[lines]\n" + r.grid + "[EOF]\n"), "") << r.grid;
        std::vector<float> grid = syncs_of_first();
        ASSERT_EQ(read(std::string(r.head) + "[lines]\n" + r.written + "[EOF]\n"), "") << r.written;
        EXPECT_EQ(grid, syncs_of_first()) << r.grid;
    }
    // Without an end line the grid is still made when the file ends.
    ASSERT_EQ(read("[lines]\nsyncs every 1\nstart 0\nend 2.5\n"), "");
    EXPECT_EQ(syncs_of_first(), (std::vector<float>{1, 2}));
}

TEST_F(ScriptTimes, ValuesThatAreNoNumberWarnOnceAndKeepTheirMeaning) {
    const std::pair<const char*, const char*> rows[] = {  // script, warning ("" for none)
        {"gl_width wide\n", "Warning: Script: 'wide' is not a number, read as 800, line 1\n"},
        {"[lines]\nspline a.txt 4s\n", "Warning: Script: '4s' is not a number, read as 4, line 2\n"},
        {"[lines]\nstart 3\nend soon\n", "Warning: Script: 'soon' is not a number, read as 0, line 3\n"},
        {"gl_width 640\n[lines]\nparam -1.5e2\nstart 2\nend 3\nspline a.txt 4\n", ""},
        {"bpm 120\ngl_width 640\nbpm 60\n",
         "Warning: Script: bpm is set again, line 3 (first at line 1); the last value counts\n"},
    };
    for (const auto& r : rows) {
        testing::internal::CaptureStderr();
        std::string fault = read(r.first);
        std::string warnings = testing::internal::GetCapturedStderr();
        EXPECT_EQ(warnings, r.second) << r.first << fault;
    }
    read("[lines]\nparam sixty\nsyncs 1\nsync 1,5\n");
    EXPECT_EQ(section_list->params[0], 0.0f);
    EXPECT_EQ(section_list->syncs[0], 1.0f);
}

TEST(NearestName, SuggestsOnlyCloseNames) {
    const char* names[] = {"genCamera", "gen3DS", "gl_width", "fps", "loading"};
    const std::pair<const char*, const char*> rows[] = {
        {"genCamra", "genCamera"}, {"gen3ds", "gen3DS"}, {"gl_widht", "gl_width"}, {"Fps", "fps"},
        {"fsp", nullptr},          {"loading", nullptr}, {"camera", nullptr},      {"", nullptr},
    };
    for (const auto& r : rows) {
        const char* got = nearest_name(r.first, names, 5);
        EXPECT_STREQ(got ? got : "(none)", r.second ? r.second : "(none)") << r.first;
    }
}

}  // namespace
