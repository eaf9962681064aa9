// The fatal path's section context and its collecting mode, and the script
// reader going on after a faulty line while faults are collected.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/fatal.h"
#include "core/script.h"
#include "core/section.h"
#include "tests/test_support.h"

namespace {

std::vector<std::string> collected;
void collect(const char* message) { collected.push_back(message); }

// Collects for the lifetime of the object.
struct collecting {
    collecting() {
        collected.clear();
        fatal_collect(collect);
    }
    ~collecting() { fatal_collect(nullptr); }
};

TEST(FatalContext, NamesTheSectionOnce) {
    const std::pair<const char*, const char*> rows[] = {  // the message, as shown
        {"Error loading texture a.jpg: Couldn't open a.jpg", "gen3DS at line 177: Error loading texture a.jpg: Couldn't open a.jpg"},
        {"gen3DS: Error loading model 'x'", "gen3DS at line 177: Error loading model 'x'"},
        {"gen3DS: section at line 177 needs 5 strings, has 2", "gen3DS: section at line 177 needs 5 strings, has 2"},
        {"gen3DS: section at line 17 needs 5 strings", "gen3DS at line 177: section at line 17 needs 5 strings"},
        {"Script: three strings are needed, line 177", "Script: three strings are needed, line 177"},
        {"Error loading spline s.txt: line 177 is too long", "gen3DS at line 177: Error loading spline s.txt: line 177 is too long"},
    };
    for (const auto& r : rows) {
        char out[256];
        fatal_in_context(out, sizeof out, "gen3DS", 177, r.first);
        EXPECT_STREQ(out, r.second);
    }
}

TEST(FatalCollect, ScriptReaderListsEveryFaultAndKeepsGoodSections) {
    catch_fatal trap;
    temp_dir dir;
    std::string path = dir.write("script.txt",
                                 "gl_widht 640\n"           // 1: unknown setting
                                 "[lines]\nstart 1\nend 2\n"  // 2-4: good
                                 "[linez]\nparam 1\n"        // 5-6: unknown type, its lines dropped
                                 "[lines]\nstart 2\nend 1\nsyncs 2\nsync 1\n"  // 7-11: duration, then sync count
                                 "[flash]\nstart 0\nend 1\nbogus 1\n" + std::string(300, 'x') + "\nlayer 4\n"
                                 "[EOF]\n");
    {
        collecting on;
        read_script_file(path.c_str());
    }
    EXPECT_EQ(collected, (std::vector<std::string>{
                             "Script: variable 'gl_widht' not found, line 1 (did you mean 'gl_width'?)",
                             "Script: section 'linez' not found, line 5 (did you mean 'lines'?)",
                             "Script: the section's end 1 must come after its start 2, line 9",
                             "Script: incorrect number of syncs (1 found, 2 expected), line 12",
                             "Script: section variable 'bogus' not found, line 15",
                             "Script: line too long, line 16",
                         }));
    std::vector<int> lines, layers;
    for (const section* s = section_list; s; s = s->next) {
        lines.push_back(s->line);
        layers.push_back(s->layer);
    }
    EXPECT_EQ(lines, (std::vector<int>{2, 7, 12}));
    EXPECT_EQ(layers, (std::vector<int>{0, 0, 4}));
    script_reset();
}

}  // namespace
