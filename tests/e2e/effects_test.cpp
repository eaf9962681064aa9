// The post-processing section types through the built player: a section that
// lacks params stops the run at loading with its type and script line, and
// each example script under data/examples plays to its end.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {
TEST(effects, section_lacking_params_stops_the_run_naming_its_line) {
    e2e_expect_errors({
        {"fader with seven", "[efxFader]\nstart 0\nend 1\n" + e2e_params(7),
         "Error: Script: eight floats are needed in fader effect, line 17\n"},
        {"fader with nine", "[efxFader]\nstart 0\nend 1\n" + e2e_params(9),
         "Error: Script: eight floats are needed in fader effect, line 17\n"},
        {"radial blur without its centre", "[efxRadialBlur]\nstart 0\nend 1\n" + e2e_params(8),
         "Error: efxRadialBlur: section at line 17 needs 9 params, has 8\n"},
        {"radial blur short of its sync keys",
         "[efxRadialBlur]\nstart 0\nend 1\nsyncs 3\nsync 0.2\nsync 0.4\nsync 0.6\n" + e2e_params(10),
         "Error: efxRadialBlur: section at line 17 needs 11 params, has 10\n"},
        {"render mesh with three", "[efxRenderMesh]\nstart 0\nend 1\n" + e2e_params(3),
         "Error: efxRenderMesh: section at line 17 needs 4 params, has 3\n"},
        // A good section first: the message names the bad one's own line.
        {"second render mesh", "[efxRenderMesh]\nstart 0\nend 1\n" + e2e_params(4) +
                                   "[efxRenderMesh]\nstart 0.5\nend 1\n" + e2e_params(1),
         "Error: efxRenderMesh: section at line 24 needs 4 params, has 1\n"},
    });
}
}  // namespace
