// The bright-frame check on small shows written by the test, and on the
// default show (in a window just large enough for its render target): a
// stretch of near-white picture longer than half a second fails the check
// unless the script declares it as a white fade.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

std::string check() { return "SDL_AUDIODRIVER=dummy " + built_binary("quillon-brightframes"); }

// A flat cover of grey level `level` from 1 s to `end`.
std::string cover(const char* level, const char* end) {
    std::string colour = e2e_params(4, level);
    return std::string("[efxFader]\nstart 1\nend ") + end + "\nlayer 1\n" + colour + colour;
}

TEST(bright_frames, lists_undeclared_white_stretches_and_fails) {
    const struct {
        const char* name;
        std::string declared;
        std::string sections;
        int status;
        const char* listed;
    } cases[] = {
        {"three white seconds", "", cover("1", "4"), 1, "1.00 -    4.00 s  peak 100 %  NOT DECLARED"},
        {"declared", "; white fade 1-4: on purpose\n", cover("1", "4"), 0, "1.00 -    4.00 s  peak 100 %  declared"},
        {"declared elsewhere", "; white fade 6-8: later\n", cover("1", "4"), 1, "NOT DECLARED"},
        {"one white frame", "", cover("1", "1.5"), 0, "\n  none\n"},
        {"light grey", "", cover("0.8", "4"), 0, "\n  none\n"},
    };
    for (const auto& c : cases) {
        temp_dir dir;
        dir.add_font();
        dir.write("data/script.txt", c.declared + e2e_show(c.sections));
        std::string output;
        EXPECT_EQ(run_command(check() + " " + dir.path, &output), c.status) << c.name << "\n" << output;
        EXPECT_HAS(output, c.listed) << c.name;
    }
}

TEST(bright_frames, default_show_goes_white_only_where_it_says) {
    std::string output;
    EXPECT_EQ(run_command(check() + " --size 640x512 " + QUILLON_SOURCE_DIR, &output), 0) << output;
}

}  // namespace
