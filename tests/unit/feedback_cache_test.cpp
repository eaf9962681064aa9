// The cache of fed-back pictures without a window: which frame an opening
// finds, what the bound drops, and that emptying forgets everything.
#include <gtest/gtest.h>

#include <vector>

#include "show/feedback_cache.h"

namespace {

const feedback_key mesh = {19, 34, 37, 7, 259}, column = {8, 88, 94, 1, 617};

feedback_snapshot picture(int exact_from, size_t bytes = 12) { return {exact_from, {{2, 2, std::vector<unsigned char>(bytes)}}}; }

struct kept {
    const feedback_key* key;
    int frame, exact_from;
};

TEST(feedback_cache, an_opening_finds_the_latest_frame_every_running_section_has) {
    // The mesh renders frames 10..19, the column 15..29; the exact replay
    // would start at 9 (lowest), the frame before the mesh.
    const std::vector<feedback_need> needs = {{mesh, 10, 20}, {column, 15, 30}};
    struct row {
        const char* what;
        std::vector<kept> stored;
        int lowest, target, expected;
    } rows[] = {
        {"nothing kept", {}, 9, 14, -1},
        {"the frame before", {{&mesh, 12, 0}, {&mesh, 13, 0}}, 9, 14, 13},
        {"the latest of several", {{&mesh, 11, 0}, {&mesh, 12, 0}}, 9, 14, 12},
        {"not at or before lowest", {{&mesh, 12, 0}}, 12, 14, -1},
        {"not at the target itself", {{&mesh, 14, 0}}, 9, 14, -1},
        {"exact only from a later frame", {{&mesh, 12, 15}}, 9, 14, -1},
        {"exact from the target", {{&mesh, 12, 14}}, 9, 14, 12},
        {"one of two running sections missing", {{&mesh, 16, 0}}, 9, 18, -1},
        {"both running sections kept", {{&mesh, 16, 0}, {&column, 16, 0}}, 9, 18, 16},
        {"a section started after k needs none", {{&mesh, 14, 0}}, 9, 18, 14},
        {"a section ended before k needs none", {{&column, 21, 0}}, 9, 23, 21},
        {"a section ending at k is needed", {{&column, 19, 0}}, 9, 23, -1},
        {"no section with history from k on", {}, 29, 33, 32},
    };
    for (const row& r : rows) {
        feedback_cache_clear();
        for (const kept& k : r.stored) feedback_cache_store(*k.key, k.frame, picture(k.exact_from), 1 << 20);
        EXPECT_EQ(feedback_cache_latest(needs, r.lowest, r.target), r.expected) << r.what;
    }
}

TEST(feedback_cache, the_bound_drops_what_lies_farthest_from_the_frame_stored) {
    feedback_cache_clear();
    for (int frame : {10, 11, 12, 13}) feedback_cache_store(mesh, frame, picture(0, 100), 400);
    EXPECT_EQ(feedback_cache_bytes(), 400u);
    feedback_cache_store(mesh, 14, picture(0, 100), 400);
    EXPECT_EQ(feedback_cache_find(mesh, 10, 20), nullptr) << "the farthest";
    EXPECT_NE(feedback_cache_find(mesh, 11, 20), nullptr);
    EXPECT_EQ(feedback_cache_bytes(), 400u);

    feedback_cache_clear();
    EXPECT_EQ(feedback_cache_find(mesh, 14, 20), nullptr) << "emptied";
    for (int frame : {11, 13}) feedback_cache_store(mesh, frame, picture(0, 100), 300);
    feedback_cache_store(column, 12, picture(0, 100), 300);
    feedback_cache_store(mesh, 12, picture(0, 100), 300);
    EXPECT_EQ(feedback_cache_find(mesh, 11, 20), nullptr) << "as far as 13, and older";
    EXPECT_NE(feedback_cache_find(mesh, 13, 20), nullptr);
    feedback_cache_store(mesh, 12, picture(0, 100), 300);
    EXPECT_EQ(feedback_cache_bytes(), 300u) << "stored again, counted once";

    feedback_cache_store(column, 30, picture(0, 1000), 300);
    EXPECT_EQ(feedback_cache_bytes(), 0u) << "larger than the bound: nothing stays";
}

}  // namespace
