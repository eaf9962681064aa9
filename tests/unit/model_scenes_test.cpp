// The model scenes' arithmetic without a window: how much of a model the
// builder and paranoia scenes have built (a build of no length is finished),
// and the power-of-two squares the column and the final logo copy the frame
// into, centred in what they copy from.
#include <gtest/gtest.h>

#include <cmath>

#include "scenes/3Dbuilder.h"
#include "scenes/columna.h"
#include "scenes/logofinal.h"
#include "scenes/paranoia.h"

namespace {

TEST(build_fraction, fraction_runs_from_nothing_to_whole_and_no_length_is_whole) {
    const struct {
        const char* name;
        float t, duration, fraction;
    } cases[] = {
        {"at the start", 0, 8, 0},
        {"a quarter in", 2, 8, 0.25f},
        {"at the end", 8, 8, 1},
        {"zero duration at its start", 0, 0, 1},
        {"zero duration later", 3, 0, 1},
        // A section without an end line: end 0 before its start.
        {"negative length", 1, -2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        float f = build_fraction(c.t, c.duration);
        EXPECT_TRUE(std::isfinite(f));
        EXPECT_FLOAT_EQ(f, c.fraction);
    }
}

}  // namespace
