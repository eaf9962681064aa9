// Setting the tempo found into a script's head: only the head's bpm and
// beat_offset values change or two lines are added; a different tempo is
// refused without --force.
#include <gtest/gtest.h>

#include "app/analyse.h"

namespace {

TEST(AnalyseWrite, TempoSetInTheHeadAndNowhereElse) {
    struct row {
        const char* name;
        std::string script;
        bool force;
        std::string expected;  // empty: refused
    };
    const std::string sections = "\n; the first section\n[efxFader]\nstart 0\nbpm 99\n";
    const row rows[] = {
        {"added after the head's last setting", "; a show\ndemoname X\nsnd_enable 0\n" + sections, false,
         "; a show\ndemoname X\nsnd_enable 0\nbpm 128\nbeat_offset 0.25\n" + sections},
        {"line endings of the file kept", "demoname X\r\n\r\n[efxFader]\r\n", false,
         "demoname X\r\nbpm 128\r\nbeat_offset 0.25\r\n\r\n[efxFader]\r\n"},
        {"a file without sections or a last newline", "demoname X", false, "demoname X\nbpm 128\nbeat_offset 0.25\n"},
        {"the same tempo (to the analysis's accuracy) kept as written", "bpm 128.1\ndemoname X\n" + sections, false,
         "bpm 128.1\nbeat_offset 0.25\ndemoname X\n" + sections},
        {"bpm put before a lone beat_offset", "  beat_offset 0.25 ; phase\n" + sections, false,
         "bpm 128\n  beat_offset 0.25 ; phase\n" + sections},
        {"a different tempo refused", "bpm 100\n" + sections, false, ""},
        {"a different first downbeat refused", "bpm 128\nbeat_offset 0.5\n" + sections, false, ""},
        {"--force replaces only the values", "bpm\t100 ; slow\nbeat_offset 0.5\n" + sections, true,
         "bpm\t128 ; slow\nbeat_offset 0.25\n" + sections},
    };
    for (const row& r : rows) {
        head_edit e = analyse_set_tempo(r.script, "data/script.txt", 128.0, 0.25, r.force);
        EXPECT_EQ(e.text, r.expected) << r.name;
        EXPECT_EQ(e.error.empty(), !r.expected.empty()) << r.name << ": " << e.error;
    }
    EXPECT_EQ(analyse_set_tempo("bpm 100\n", "s.txt", 97.3, 0, false).error,
              "s.txt already sets bpm 100 (line 1) where the music has bpm 97.3: --force replaces it");
}

}  // namespace
