// Unit tests of the timeline dispatch without a window: hand-built section
// records whose types point at recording callbacks, driven frame by frame
// through the start, render and end-check phases with the clock globals set
// by the test.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/clock.h"
#include "core/settings.h"
#include "show/engine.h"
#include "show/section_table.h"
#include "show/loading.h"
#include "show/timeline.h"

namespace {

// One callback invocation. `id` is the type row whose callback ran; `line` is
// the line of current_section at that moment (start and render must point it
// at their own section, stop leaves it alone so it is not recorded).
struct call {
    int id;
    std::string what;
    int line;
    float local_time;
};

std::vector<call> calls;

void record(int id, const char* what) {
    const section* s = current_section;
    calls.push_back({id, what, s ? s->line : -1, s ? s->local_time : -1.0f});
}

template <int Row> void rec_start() { record(Row, "start"); }
template <int Row> void rec_render() { record(Row, "render"); }
template <int Row> void rec_stop() { calls.push_back({Row, "stop", 0, 0}); }
template <int Row> void rec_advance() { record(Row, "advance"); }

template <int Row> section_type test_row() {
    return {"test", section_nop, section_nop, rec_start<Row>, rec_render<Row>, rec_stop<Row>, nullptr, nullptr, nullptr, nullptr};
}

enum { TEST_ROWS = 8 };
const section_type test_rows[TEST_ROWS + 1] = {
    {}, test_row<1>(), test_row<2>(), test_row<3>(), test_row<4>(),
    test_row<5>(), test_row<6>(), test_row<7>(), test_row<8>(),
};

// Every test section gets a type row of its own (rows 1..TEST_ROWS are
// borrowed), so even stop calls say which section they belong to; the
// globals and the rows are restored at the end.
struct TimelineTest : testing::Test {
    section_type saved_rows[TEST_ROWS + 1];
    float saved_demoend = demoend, saved_demo_time = demo_time, saved_frame_delta = frame_delta;
    int saved_quit = quit_requested;
    std::vector<std::unique_ptr<section>> records;

    void SetUp() override {
        for (int i = 1; i <= TEST_ROWS; ++i) saved_rows[i] = section_types[i], section_types[i] = test_rows[i];
        begin_case();
    }
    void TearDown() override {
        begin_case();
        for (int i = 1; i <= TEST_ROWS; ++i) section_types[i] = saved_rows[i];
        demoend = saved_demoend, demo_time = saved_demo_time, frame_delta = saved_frame_delta;
        quit_requested = saved_quit;
    }
    void begin_case() {
        timeline_reset();
        calls.clear();
        demoend = demo_time = frame_delta = 0;
        quit_requested = 0;
        current_section = nullptr;
    }

    // A zero-filled record of row `id` (also its line), scheduled like the
    // loading phase does.
    section* add(int id, float start, float end, int layer = 0) {
        records.push_back(std::make_unique<section>());
        section* s = records.back().get();
        s->type = s->line = id;
        s->start = start, s->end = end, s->duration = end - start;
        s->layer = layer;
        schedule_section(s);
        return s;
    }

    // Everything draw_frame does that needs no window.
    static void frame(float time, float delta = 0) {
        demo_time = time;
        frame_delta = delta;
        timeline_start_due();
        timeline_render_active();
        timeline_check_end();
    }

    // Ids of the recorded calls named `what`, in call order; also checks that
    // start and render saw their own section as current_section.
    static std::vector<int> ids(const std::string& what) {
        std::vector<int> out;
        for (const call& c : calls) {
            if (c.what != what) continue;
            if (what != "stop") {
                EXPECT_EQ(c.line, c.id) << what << " of " << c.id;
            }
            out.push_back(c.id);
        }
        return out;
    }

    static std::vector<std::pair<int, std::string>> sequence() {
        std::vector<std::pair<int, std::string>> out;
        for (const call& c : calls) out.emplace_back(c.id, c.what);
        return out;
    }
};

typedef std::vector<int> ids_t;

// ---------------------------------------------------------------------------
// Render phase
// ---------------------------------------------------------------------------

TEST_F(TimelineTest, RenderOrderFollowsLayers) {
    struct placed {
        float start;
        int layer;
    };
    struct row {
        const char* name;
        std::vector<placed> sections;  // script order, ids 1, 2, ...
        std::vector<float> frames;     // demo_time of each frame
        ids_t last_frame_renders;
    };
    const row rows[] = {
        {"same start and layer: script order", {{0, 0}, {0, 0}, {0, 0}}, {0}, {1, 2, 3}},
        {"same start: ascending layer", {{0, 2}, {0, 0}, {0, 1}}, {0}, {2, 3, 1}},
        {"negative layers first", {{0, 0}, {0, -3}, {0, 5}}, {0}, {2, 1, 3}},
        {"later start on same layer renders first", {{0, 0}, {1, 0}}, {0, 1}, {2, 1}},
        {"later start on lower layer", {{0, 1}, {1, 0}}, {0, 1}, {2, 1}},
        {"later start on higher layer", {{0, 0}, {1, 1}}, {0, 1}, {1, 2}},
        {"mixed", {{0, 1}, {1, 0}, {1, 1}, {1, 0}}, {0, 1}, {2, 4, 3, 1}},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        begin_case();
        for (size_t i = 0; i < r.sections.size(); ++i)
            add(static_cast<int>(i) + 1, r.sections[i].start, 100, r.sections[i].layer);
        for (float t : r.frames) {
            calls.clear();
            frame(t);
        }
        EXPECT_EQ(ids("render"), r.last_frame_renders);
        // The active list's back links agree with its forward order.
        section* tail = nullptr;
        for (section* s = active_head; s; s = s->active_next) tail = s;
        ids_t backward;
        for (section* s = tail; s; s = s->active_prev) backward.insert(backward.begin(), s->line);
        EXPECT_EQ(backward, r.last_frame_renders);
    }
}

TEST_F(TimelineTest, LocalTimeStartsAtElapsedTimeAndLeadsByOneFrame) {
    struct tick {
        float time;
        float delta;
        float seen_by_render;
    };
    struct row {
        const char* name;
        float start, end;
        std::vector<tick> frames;
    };
    const row rows[] = {
        {"starts on time", 2, 10, {{2, 0.25f, 0.25f}, {2.5f, 0.5f, 0.75f}, {3, 0.5f, 1.25f}}},
        {"starts late", 2, 10, {{3, 0.5f, 1.5f}, {3.5f, 0.5f, 2}}},
        {"run begins mid-show", 20, 40, {{30, 0, 10}, {30.5f, 0.5f, 10.5f}}},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        begin_case();
        section* s = add(1, r.start, r.end);
        for (const tick& f : r.frames) {
            calls.clear();
            frame(f.time, f.delta);
            ASSERT_FALSE(calls.empty());
            ASSERT_EQ(calls.size(), calls.front().what == "start" ? 2u : 1u);
            EXPECT_EQ(calls.back().what, "render");
            EXPECT_FLOAT_EQ(calls.back().local_time, f.seen_by_render) << "at " << f.time;
            EXPECT_FLOAT_EQ(s->local_time, f.seen_by_render);
        }
    }
}

// A section renders while its end is not strictly past; the frame that
// finds it past stops it (one over at its own start gets start and stop, no
// render), and a retired section is never rendered or stopped again.
TEST_F(TimelineTest, ASectionRendersUntilItsEndIsStrictlyPast) {
    typedef std::vector<std::pair<int, std::string>> sequence_t;
    const struct {
        const char* name;
        float end;
        std::vector<float> frames;
        sequence_t last_frame;
    } rows[] = {
        {"still running", 5, {0, 4.5f}, {{1, "render"}}},
        {"end equals demo_time", 5, {0, 5}, {}},
        {"end passed", 5, {0, 6}, {{1, "stop"}}},
        {"end already past at its start", 1, {5}, {{1, "start"}, {1, "stop"}}},
        {"end exactly at its start", 5, {5}, {{1, "start"}}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        begin_case();
        section* s = add(1, 0, r.end);
        for (float t : r.frames) {
            calls.clear();
            frame(t, 0.5f);
        }
        const float now = r.frames.back();
        EXPECT_EQ(sequence(), r.last_frame);
        EXPECT_EQ(active_head == s, r.end > now);
        EXPECT_EQ(pending_head, nullptr);
        calls.clear();
        frame(now + 1);
        EXPECT_TRUE(r.end > now || sequence().empty()) << "retired, yet called again";
    }
}

// ---------------------------------------------------------------------------
// End of the show
// ---------------------------------------------------------------------------

TEST_F(TimelineTest, QuitConditions) {
    struct row {
        const char* name;
        bool pending, active;
        float demoend, time;
        int quit;
    };
    const row rows[] = {
        {"both lists empty", false, false, 0, 1, 1},
        {"something pending", true, false, 0, 1, 0},
        {"something active", false, true, 0, 1, 0},
        {"demoend 0 never ends the show", true, true, 0, 1e6f, 0},
        {"demoend not yet reached", false, true, 10, 9.5f, 0},
        {"demoend reached exactly", false, true, 10, 10, 0},
        {"demoend passed", false, true, 10, 10.01f, 1},
        {"demoend passed with sections pending", true, false, 10, 11, 1},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        begin_case();
        demoend = r.demoend;
        if (r.pending) add(1, 1e7f, 2e7f);
        if (r.active) add(2, 0, 2e7f);
        frame(r.time);
        EXPECT_EQ(active_head != nullptr, r.active);
        EXPECT_EQ(pending_head != nullptr, r.pending);
        EXPECT_EQ(quit_requested, r.quit);
    }
}

}  // namespace

// A section that carries motion, started later than the run from the origin
// starts it, is carried through every frame it missed: the fixed step's, or
// in real time those of the nominal grid, each with the local_time (lead
// included) that frame had.
TEST_F(TimelineTest, ASectionStartedLateIsCarriedThroughTheFramesItMissed) {
    struct row {
        const char* name;
        int fps;  // 0: real time
        float start, opened_at;
        int advances;
        float first_local_time, last_local_time;
    };
    const float nominal = 1.0f / CLOCK_NOMINAL_FPS, off_grid = 2 + nominal - 2.005f;
    const row rows[] = {
        {"fixed step", 10, 2, 2.5f, 5, 0.1f, 0.5f},
        {"fixed step, at its start", 10, 2, 2, 0, 0, 0},
        {"real time", 0, 2, 2.5f, CLOCK_NOMINAL_FPS / 2, nominal, 0.5f},
        {"real time, off the nominal grid", 0, 2.005f, 2.1f, 5, off_grid + nominal, off_grid + 5 * nominal},
        {"real time, at its start", 0, 2, 2, 0, 0, 0},
    };
    section_type saved = section_types[1];
    section_types[1].advance = rec_advance<1>;
    float saved_demostart = demostart;
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        begin_case();
        clock_set_fixed_step(r.fps);
        clock_set_step_origin(0);
        demostart = r.opened_at;
        clock_start();
        section* s = add(1, r.start, 10);
        timeline_start_due();
        std::vector<float> seen;
        for (const call& c : calls)
            if (c.what == "advance") seen.push_back(c.local_time);
        ASSERT_EQ(static_cast<int>(seen.size()), r.advances);
        if (r.advances) {
            EXPECT_NEAR(seen.front(), r.first_local_time, 1e-5);
            EXPECT_NEAR(seen.back(), r.last_local_time, 1e-5);
        }
        EXPECT_NEAR(s->local_time, r.opened_at - r.start, 1e-5) << "the frame shown keeps its own time";
        EXPECT_FLOAT_EQ(demo_time, r.opened_at);
    }
    section_types[1] = saved;
    clock_set_fixed_step(0);
    clock_clear_step_origin();
    demostart = saved_demostart;
}

// A section takes part in a run from demostart to demoend when it starts
// before demoend (any start while demoend is 0) and ends after demostart.
TEST(loading, a_section_plays_when_it_overlaps_the_run) {
    const float saved_start = demostart, saved_end = demoend;
    const struct {
        float start, end, demostart, demoend;
        int plays;
    } rows[] = {
        {0, 5, 0, 0, 1}, {0, 5, 5, 0, 0}, {0, 5, 4.9f, 0, 1}, {10, 12, 0, 10, 0}, {9, 12, 0, 10, 1}, {20, 30, 5, 0, 1},
    };
    for (const auto& r : rows) {
        section s = {};
        s.start = r.start, s.end = r.end;
        demostart = r.demostart, demoend = r.demoend;
        EXPECT_EQ(loading_section_plays(&s), r.plays) << r.start << ".." << r.end << " in " << r.demostart << ".." << r.demoend;
    }
    demostart = saved_start, demoend = saved_end;
}
