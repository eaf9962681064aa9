// The timeline view's words fit where they go: a section's label shrinks to
// its box or gives way to the type's name alone, never cut inside a word;
// the render-time line keeps whole entries and counts those it leaves out.
#include <gtest/gtest.h>

#include "app/edit_view_layout.h"

TEST(edit_view_layout, a_label_shrinks_to_its_box_or_gives_way_to_a_shorter_one) {
    const struct { float width; const char* words; float size; } rows[] = {
        {200, "efxRadialBlur:120", 10}, {136, "efxRadialBlur:120", 8}, {100, "efxRadialBlur", 100 / 13.0f}, {70, "", 0},
    };
    for (const auto& r : rows) {
        fitted_text t = edit_fit_first({"efxRadialBlur:120", "efxRadialBlur"}, r.width, 10, 6);
        EXPECT_EQ(t.words, r.words) << r.width;
        EXPECT_FLOAT_EQ(t.size, r.size) << r.width;
    }
}

TEST(edit_view_layout, the_render_time_line_keeps_whole_entries_within_its_width) {
    const std::vector<std::string> entries = {"efxFader:12 0.3ms", "knots:40 2.5ms", "efxRadialBlur:120 1.1ms"};
    const struct { float width; const char* line; } rows[] = {
        {600, "efxFader:12 0.3ms  knots:40 2.5ms  efxRadialBlur:120 1.1ms"},
        {450, "efxFader:12 0.3ms  knots:40 2.5ms  +1 more"},
        {400, "efxFader:12 0.3ms  +2 more"},
        {100, "+3 more"},
        {50, ""},
    };
    for (const auto& r : rows) EXPECT_EQ(edit_fit_entries(entries, r.width, 10), r.line) << r.width;
}
