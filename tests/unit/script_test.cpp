// The script reader: every error message with its line, the format's limits,
// the section blocks and their times and syncs, NUL bytes. Each case writes
// its script to a fresh temporary file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/script.h"
#include "core/section.h"
#include "core/settings.h"
#include "tests/test_support.h"

namespace {

struct ScriptTest : testing::Test {
    temp_dir dir;
    catch_fatal trap;

    void TearDown() override { script_reset(); }

    // Reads `content` as a script; returns the fatal message, or "" when the
    // script was read without one.
    std::string read_text(const std::string& content) {
        script_reset();
        std::string path = dir.write("script.txt", content);
        return fatal_message([&] { read_script_file(path.c_str()); });
    }

    static std::vector<section*> sections() {
        std::vector<section*> out;
        for (section* s = section_list; s; s = s->next) out.push_back(s);
        return out;
    }
};

std::string repeat(const std::string& text, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += text;
    return out;
}

// ---------------------------------------------------------------------------
// Errors
// ---------------------------------------------------------------------------

TEST_F(ScriptTest, EveryFaultNamesItsLine) {
    const std::string params257 = repeat("param 1\n", 257);
    const std::vector<std::pair<std::string, std::string>> rows = {  // script, message
        {"foo 1\n", "Script: variable 'foo' not found, line 1"},
        {"Fps 1\n", "Script: variable 'Fps' not found, line 1 (did you mean 'fps'?)"},
        {";comment\n\n\r\nfps 1\n  timing 1\n", "Script: variable '' not found, line 5"},
        {"[nosuch]\n", "Script: section 'nosuch' not found, line 1"},
        {"\xEF\xBB\xBF" "foo 640\n", "Script: variable 'foo' not found, line 1"},
        {repeat("[gears]\nstart 0\nend 1\n", 30000) + "bogus 1\n", "Script: section variable 'bogus' not found, line 90001"},
        {"[gears]x\n", "Script: section 'gears]' not found, line 1 (did you mean 'gears'?)"},
        {"[Gears]\n", "Script: section 'Gears' not found, line 1 (did you mean 'gears'?)"},
        {"[gears\n", "Script: section 'gear' not found, line 1 (did you mean 'gears'?)"},
        {"[\n", "Script: section '' not found, line 1"},
        {"[gears]\nfoo 1\n", "Script: section variable 'foo' not found, line 2"},
        {"[gears]\n\tstart 1\n", "Script: section variable '' not found, line 2"},
        {"[gears]\nstart -0.5\n", "Script: invalid section start, line 2"},
        {"[gears]\nstart 2\nend 2\n", "Script: the section's end 2 must come after its start 2, line 3"},
        {"[gears]\nstart 3.0\nend 1\n", "Script: the section's end 1 must come after its start 3.0 (3 s), line 3"},
        {"[gears]\nend 0\n", "Script: the section's end 0 must come after its start 0, line 2"},
        {"[gears]\nsyncs 2\nsync 1\nsync 2\nsync 3\n[gears]\n",
         "Script: incorrect number of syncs (3 found, 2 expected), line 6"},
        {"[gears]\nsync 1\n\n[EOF]\n", "Script: incorrect number of syncs (1 found, 0 expected), line 4"},
        {"[gears]\nsyncs 2\nsync 1\n[EOF]\n", "Script: incorrect number of syncs (1 found, 2 expected), line 4"},
        {"[gears]\nsyncs 1\nsync 1\nsyncs 2\nsync 1\n[gears]\n",
         "Script: incorrect number of syncs (1 found, 2 expected), line 6"},
        // Faults beyond the format's limits.
        {"fps 1\n;" + std::string(254, 'x') + "\n", "Script: line too long, line 2"},
        {"fps 1\n" + std::string(256, ';'), "Script: line too long, line 2"},
        {std::string(64, 'k') + " 1\n", "Script: key too long, line 1"},
        {"demoname " + std::string(64, 'v') + "\n", "Script: value too long, line 1"},
        {"[gears]\nstring " + std::string(64, 'w') + "\n", "Script: value too long, line 2"},
        {"[" + std::string(64, 'n') + "]\n", "Script: section name too long, line 1"},
        {"[" + std::string(63, 'n') + "]\n", "Script: section '" + std::string(63, 'n') + "' not found, line 1"},
        {"[gears]\n" + params257, "Script: more than 256 params in a section, line 258"},
        {"[gears]\n" + repeat("string a\n", 257), "Script: more than 256 strings in a section, line 258"},
        {"[gears]\n" + repeat("spline a.spl\n", 257), "Script: more than 256 splines in a section, line 258"},
        {"[gears]\nsyncs -1\n", "Script: negative sync count, line 2"},
        {"[gears]\nsyncs 65537\n", "Script: more than 65536 syncs in a section, line 2"},
        {"[gears]\nsyncs 99999999999999999999\n", "Script: more than 65536 syncs in a section, line 2"},
    };
    for (const auto& r : rows) EXPECT_EQ(read_text(r.first), r.second) << r.first.substr(0, 80);
    // What is at the script's path but cannot be read says why.
    std::string folder = dir.file("folder"), loop = dir.file("loop");
    std::filesystem::create_directory(folder);
    symlink(loop.c_str(), loop.c_str());
    EXPECT_EQ(fatal_message([&] { read_script_file(folder.c_str()); }), "Script " + folder + " is a folder, not a file");
    EXPECT_EQ(fatal_message([&] { read_script_file(loop.c_str()); }),
              "Script " + loop + " cannot be read: Too many levels of symbolic links");
}

// Limits reached but not passed are accepted.
TEST_F(ScriptTest, LimitsAreInclusive) {
    std::string script = ";" + std::string(253, 'x') + "\n";  // 255 bytes with LF
    script += "[gears]\n" + repeat("param 1\n", 256) + repeat("string s\n", 255);
    script += "string " + std::string(63, 'w') + "\n";
    script += repeat("spline p.spl\n", 256) + "syncs 65536\n";  // line 771
    ASSERT_EQ(read_text(script + "string s\n"), "Script: more than 256 strings in a section, line 772");
    ASSERT_EQ(read_text(script + "[EOF]\n"), "Script: incorrect number of syncs (0 found, 65536 expected), line 772");
    ASSERT_EQ(read_text(script + "syncs 0\n" + std::string(255, ';')), "");
    section* s = sections().at(0);
    EXPECT_EQ(std::vector<int>({s->param_count, s->string_count, s->spline_count, s->sync_count}),
              std::vector<int>({256, 256, 256, 0}));
    EXPECT_EQ(s->strings[255], std::string(63, 'w'));
    EXPECT_EQ(s->syncs, nullptr);
}

// ---------------------------------------------------------------------------
// Sections
// ---------------------------------------------------------------------------

TEST_F(ScriptTest, SectionBlocksFillTheirRecords) {
    ASSERT_EQ(read_text("gl_width 640\n"
                        "[ gears] trailing words\n"
                        "start 1.5\n"
                        "end 4\n"
                        "layer 3\n"
                        "param 0.5\n"
                        "param x\n"
                        "param -2\n"
                        "string models/ship.3ds second\n"
                        "string\n"
                        "spline camera.spl\n"
                        "spline ship.spl 4.5\n"
                        "spline\n"
                        "syncs 2\n"
                        "sync 2\n"
                        "sync later\n"
                        "[genCamera]\r\n"
                        "end 5\r\n"
                        "start 2\r\n"
                        "spline late.spl\r\n"
                        "[EOF]\n"
                        "garbage after the end\n"
                        "[nosuch]\n"),
              "");
    EXPECT_EQ(gl_width, 640);
    std::vector<section*> list = sections();
    ASSERT_EQ(list.size(), 2u);
    const section* g = list[0];
    EXPECT_EQ(std::vector<float>({float(g->type), g->start, g->end, g->duration}), std::vector<float>({13, 1.5f, 4, 2.5f}));
    EXPECT_EQ(std::vector<float>(g->params, g->params + g->param_count), std::vector<float>({0.5f, 0, -2}));
    ASSERT_EQ(g->string_count, 2);
    EXPECT_STREQ(g->strings[0], "models/ship.3ds");
    ASSERT_EQ(g->spline_count, 3);
    EXPECT_STREQ(g->spline_names[0], "camera.spl");
    EXPECT_STREQ(g->spline_names[1], "ship.spl");
    EXPECT_EQ(std::vector<float>(g->spline_durations, g->spline_durations + 2), std::vector<float>({2.5f, 4.5f}));
    EXPECT_EQ(std::vector<float>(g->syncs, g->syncs + g->sync_count), std::vector<float>({2, 0}));

    // `end` before `start`: the duration is the end alone and stays so.
    const section* c = list[1];
    EXPECT_EQ(std::vector<float>({float(c->type), float(c->line), c->start, c->end, c->duration}),
              std::vector<float>({27, 17, 2, 5, 5}));
}

TEST_F(ScriptTest, SectionTimesAndSyncs) {
    // A section without an end keeps end and duration 0, and a spline given
    // before the end takes that 0.
    ASSERT_EQ(read_text("[gears]\nstart 3\nspline a.spl\nlayer -2\nlayer z\n"), "");
    section* s = sections().at(0);
    EXPECT_EQ(std::vector<float>({s->end, s->duration, s->spline_durations[0], float(s->layer)}),
              std::vector<float>({0, 0, 0, -2}));

    // Extra sync lines are not stored; a second syncs line replaces the array
    // and restarts the count; end of file without "[EOF]" checks nothing.
    ASSERT_EQ(read_text("[gears]\nsyncs 1\nsync 7\nsync 8\nsyncs 3\nsync 1\nsync 2\nsync 3\n"
                        "[efxFader]\nsyncs 2\nsync 9\n"),
              "");
    std::vector<section*> list = sections();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(std::vector<float>(list[0]->syncs, list[0]->syncs + list[0]->sync_count), std::vector<float>({1, 2, 3}));
    EXPECT_EQ(list[1]->type, 17);
    EXPECT_EQ(std::vector<float>(list[1]->syncs, list[1]->syncs + 2), std::vector<float>({9, 0}));

    // A syncs count that does not parse keeps the previous count.
    ASSERT_EQ(read_text("[gears]\nsyncs 2\nsyncs many\nsync 1\nsync 2\n[EOF]\n"), "");
    EXPECT_EQ(sections().at(0)->sync_count, 2);
}

// ---------------------------------------------------------------------------
// Binary garbage
// ---------------------------------------------------------------------------

TEST_F(ScriptTest, NulBytesEndTheLineText) {
    using namespace std::string_literals;
    EXPECT_EQ(read_text("fps 1\0 junk\n[gears]\nstring a\0b\n"s), "");
    EXPECT_EQ(camera_overlay, 1);
    EXPECT_STREQ(section_list->strings[0], "a");
    EXPECT_EQ(read_text("fps 1\n\0fps 2\n"s), "Script: variable '' not found, line 2");
    EXPECT_EQ(read_text("[gears]\n\0\n"s), "Script: section variable '' not found, line 2");
}

}  // namespace
