// The section types' declarations of what they read: the count check made
// from them, the reference page written from them, and the example scripts'
// comment blocks and sections measured against them.
#include <dirent.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>

#include "app/describe.h"
#include "core/script.h"
#include "show/section_table.h"
#include "tests/test_support.h"

namespace {

struct fault_case {
    const char* type;
    int has[SECTION_LISTS];  // params, strings, splines, syncs
    const char* message;     // "" when the section passes
};

TEST(section_reads, check_reports_the_first_fault_in_the_declared_words) {
    const fault_case cases[] = {
        // Own message for any other count, params before strings.
        {"loading", {4, 2, 0, 0}, ""},
        {"loading", {3, 2, 0, 0}, "Script: four floats are needed in loading section"},
        {"loading", {4, 3, 0, 0}, "Script: two strings are needed in loading section"},
        // The own message may carry the line; a list with one is checked
        // before the other lists' shortfalls.
        {"efxFader", {7, 0, 0, 0}, "Script: eight floats are needed in fader effect, line 12"},
        {"genEnvironment", {0, 4, 1, 0}, "Script: three strings are needed in genEnvironment section, line 12"},
        {"genParticletex", {7, 3, 0, 0},
         "genParticletex: Script: Two strings are needed in genParticletex section, line 12"},
        // Exactly, with the shared message both ways.
        {"gen3DS", {0, 4, 0, 0}, "gen3DS: section at line 12 needs 5 strings, has 4"},
        {"gen3DS", {0, 6, 0, 0}, "gen3DS: section at line 12 needs 5 strings, has 6"},
        {"gen3DS", {0, 5, 1, 0}, ""},
        // At least: every shortfall found in list order, surpluses ignored.
        {"particletitle", {0, 0, 0, 0}, "particletitle: section at line 12 needs 1 params, has 0"},
        {"particletitle", {1, 0, 0, 0}, "particletitle: section at line 12 needs 1 strings, has 0"},
        {"particletitle", {1, 1, 1, 1}, "particletitle: section at line 12 needs 2 splines, has 1"},
        {"particletitle", {1, 1, 2, 0}, "particletitle: section at line 12 needs 1 syncs, has 0"},
        {"particletitle", {9, 9, 9, 9}, ""},
        {"genParticletex", {7, 2, 0, 0}, "genParticletex: section at line 12 needs 8 params, has 7"},
        // Params that grow with the syncs; optional params need nothing.
        {"efxRadialBlur", {9, 0, 0, 2}, ""},
        {"efxRadialBlur", {9, 0, 0, 3}, "efxRadialBlur: section at line 12 needs 11 params, has 9"},
        {"genWireframe", {0, 2, 0, 0}, ""},
    };
    for (const fault_case& c : cases) {
        section s = {};
        s.line = 12;
        s.param_count = c.has[0];
        s.string_count = c.has[1];
        s.spline_count = c.has[2];
        s.sync_count = c.has[3];
        char message[256] = "";
        const section_reads& reads = *section_types[section_type_find(c.type)].reads;
        int fault = section_reads_fault(s, c.type, reads, message, sizeof message);
        EXPECT_EQ(fault, c.message[0] != '\0') << c.type << " " << c.message;
        EXPECT_STREQ(message, c.message) << c.type;
    }
}

std::string reference_text() {
    char* text = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&text, &size);
    describe_reference(out);
    std::fclose(out);
    std::string result(text, size);
    std::free(text);
    return result;
}

TEST(section_reads, reference_page_is_in_step_with_the_tables) {
    std::string page = read_file(QUILLON_SOURCE_DIR "/docs/reference.md");
    EXPECT_TRUE(page == reference_text()) << "docs/reference.md is stale: run `make reference`";
    for (int type = 0; type < SECTION_TYPE_COUNT; ++type)
        EXPECT_HAS(page, std::string("### ") + section_types[type].name + "\n");
}

// The highest "param N", "string N", "spline N" or "sync N" (ranges "N..M"
// and pairs "N, M" count by their last) that the comment block lists; a bare
// "spline" counts as 1.
void comment_counts(const std::string& script, int counts[SECTION_LISTS]) {
    static const std::regex entry(R"(^;\s+(param|string|spline|sync)(?:\s+(\d+)(?:\s*(?:\.\.|,)\s*(\d+))?)?(?:\s|$))");
    static const char* const words[SECTION_LISTS] = {"param", "string", "spline", "sync"};
    std::istringstream lines(script);
    std::string line;
    std::smatch m;
    while (std::getline(lines, line) && (line.empty() || line[0] == ';')) {
        if (!std::regex_search(line, m, entry)) continue;
        int n = m[3].matched ? std::stoi(m[3]) : m[2].matched ? std::stoi(m[2]) : 1;
        for (int kind = 0; kind < SECTION_LISTS; ++kind)
            if (m[1] == words[kind] && n > counts[kind]) counts[kind] = n;
    }
}

TEST(section_reads, example_scripts_agree_with_their_types_declarations) {
    const std::string folder = QUILLON_SOURCE_DIR "/data/examples/";
    DIR* dir = opendir(folder.c_str());
    ASSERT_NE(dir, nullptr);
    int examples = 0;
    catch_fatal guard;
    working_folder root(QUILLON_SOURCE_DIR);  // examples name their files from the repository root
    while (dirent* e = readdir(dir)) {
        std::string file = e->d_name;
        if (file.size() < 5 || file.compare(file.size() - 4, 4, ".txt") != 0) continue;
        std::string type = file.substr(0, file.size() - 4);
        // An example named for a type explains that type's lists in its
        // comment block; every example's sections pass their types' checks.
        int row = section_type_find(type.c_str());
        if (row >= 0) {
            ++examples;
            int counts[SECTION_LISTS] = {};
            comment_counts(read_file(folder + file), counts);
            for (int kind = 0; kind < SECTION_LISTS; ++kind)
                EXPECT_EQ(counts[kind], section_types[row].reads->lists[kind].count)
                    << file << ": " << section_list_name(kind) << " in the comment block";
        }
        read_script_file((folder + file).c_str());
        for (const section* s = section_list; s; s = s->next) {
            char message[256] = "";
            section_reads_fault(*s, section_types[s->type].name, *section_types[s->type].reads, message,
                                sizeof message);
            EXPECT_STREQ(message, "") << file;
        }
        script_reset();
    }
    closedir(dir);
    EXPECT_EQ(examples, SECTION_TYPE_COUNT - 1);  // every type but the loading screen
}

}  // namespace
