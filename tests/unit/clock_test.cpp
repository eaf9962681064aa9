// The demo clock driven by a tick source the test controls, in real time and
// on the fixed step of the offline runs.
#include <gtest/gtest.h>

#include <vector>

#include "core/clock.h"
#include "core/settings.h"

namespace {

float fake_now = 0;
float fake_source() { return fake_now; }

struct ClockTest : testing::Test {
    float saved_demostart = demostart;

    void SetUp() override {
        clock_set_source(fake_source);
        fake_now = 0;
        demostart = 0;
        clock_clear_step_origin();
    }
    void TearDown() override {
        clock_set_fixed_step(0);
        clock_set_source(nullptr);
        demostart = saved_demostart;
        clock_start();
    }
};

// ---------------------------------------------------------------------------
// Clock
// ---------------------------------------------------------------------------

TEST_F(ClockTest, DemoTimeFollowsTheSourceFromTheReset) {
    struct row {
        const char* name;
        float demostart;
        float origin;
        std::vector<float> ticks;  // source readings after each frame
    };
    const row rows[] = {
        {"from zero", 0, 0, {0.25f, 0.5f, 1.75f}},
        {"origin after loading", 0, 5, {5, 5.5f, 6, 7.25f}},
        {"demostart 30", 30, 2, {2, 2.25f, 3}},
        {"large origin", 12.5f, 86400, {86400.5f, 86401}},
        {"source standing still", 1, 3, {3.5f, 3.5f, 3.5f}},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        demostart = r.demostart;
        fake_now = 123;  // whatever the source said before the reset
        clock_start();
        EXPECT_EQ(demo_time, r.demostart);
        EXPECT_EQ(frame_delta, 0);
        EXPECT_EQ(frame_number, 0);
        fake_now = r.origin;
        clock_reset();
        EXPECT_EQ(clock_origin, r.origin);
        EXPECT_EQ(demo_time, r.demostart);  // the reset leaves demo_time alone
        float previous = r.demostart;
        int frames = 0;
        for (float now : r.ticks) {
            fake_now = now;
            clock_tick();
            ++frames;
            float expected = now - r.origin + r.demostart;
            EXPECT_FLOAT_EQ(demo_time, expected) << "tick at " << now;
            EXPECT_NEAR(frame_delta, expected - previous, 1e-4f) << "tick at " << now;
            EXPECT_EQ(frame_number, frames);
            previous = expected;
        }
    }
}

float moving_now = 0;
float moving_source() { return moving_now += 0.37f; }

TEST_F(ClockTest, FixedStepFrameKShowsStartPlusKSteps) {
    struct row {
        float demostart;
        int fps;
        int frames;
    };
    const row rows[] = {{0, 60, 200}, {0, 20, 10}, {12.5f, 60, 100}, {30, 25, 50}, {0, 1, 5}, {7.25f, 1000, 300}};
    clock_set_source(moving_source);  // a wall clock running at its own pace
    for (const row& r : rows) {
        SCOPED_TRACE(testing::Message() << "demostart " << r.demostart << " fps " << r.fps);
        demostart = r.demostart;
        clock_set_fixed_step(r.fps);
        clock_start();
        clock_reset();
        EXPECT_EQ(demo_time, r.demostart);
        EXPECT_EQ(frame_delta, 0);
        for (int k = 1; k <= r.frames; ++k) {
            clock_tick();
            ASSERT_EQ(demo_time, clock_fixed_time(r.demostart, k, r.fps)) << "frame " << k;
            ASSERT_NEAR(demo_time, r.demostart + static_cast<double>(k) / r.fps, 1e-5 * (1 + r.demostart));
            ASSERT_EQ(frame_delta, 1.0f / static_cast<float>(r.fps));
            ASSERT_EQ(frame_number, k);
        }
        // The frame rate shown counts frames per second of demo time.
        EXPECT_NEAR(fps_value, r.fps, 0.001 * r.fps);
    }
}

// A piece of a run opened at its frame `first` draws, bit for bit, the
// times the whole run draws there, not its own start plus k steps.
TEST_F(ClockTest, APieceShowsTheWholeRunsFrameTimes) {
    const float origin = 12.3f;
    const int fps = 60, first = 1234;
    clock_set_fixed_step(fps);
    demostart = origin;
    clock_set_first_frame(origin, first);
    EXPECT_EQ(demostart, clock_fixed_time(origin, first, fps));
    clock_start();
    int own_start_differs = 0;
    for (int k = 1; k <= 600; ++k) {
        clock_tick();
        ASSERT_EQ(demo_time, clock_fixed_time(origin, first + k, fps)) << "frame " << k;
        own_start_differs += demo_time != clock_fixed_time(demostart, k, fps);
    }
    EXPECT_GT(own_start_differs, 0);  // the case this guards against does occur
    clock_clear_step_origin();        // and a run without an origin counts from demostart again
    clock_start();
    clock_tick();
    EXPECT_EQ(demo_time, clock_fixed_time(demostart, 1, fps));
}

}  // namespace

// A run opened at T on the fixed step shows the run from the origin's frame
// there: the same demo_time and frame_delta, and a section's local_time as
// that run summed it (one-frame lead included), whatever the origin, rate
// and section start (before the origin too); an opening between two frames
// goes on from its own time.
TEST_F(ClockTest, AnOpeningCarriesTheWholeRunsClockAndSectionTime) {
    struct row {
        float origin, section_start, open_at;
        int fps;
    };
    const row rows[] = {
        {0, 12, 38.5f, 60},  {0, 0, 100, 60},     {30, 20, 40, 25},       {0, 37, 38.4f, 10},
        {12.5f, 13.01f, 14.3f, 60}, {0, 0.5f, 0.5f, 4}, {0, 38.5f, 38.55f, 60}, {0, 3, 3.0f + 2.0f / 7, 7},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(testing::Message() << "origin " << r.origin << " start " << r.section_start << " at " << r.open_at
                                        << " fps " << r.fps);
        clock_set_step_origin(r.origin);
        clock_set_fixed_step(r.fps);
        demostart = r.origin;
        clock_start();
        float local = 0;
        bool started = false;
        for (;;) {  // the dispatch's own sum, frame after frame
            if (!started && r.section_start <= demo_time) {
                local = demo_time - r.section_start;
                started = true;
            }
            if (started) local += frame_delta;
            if (demo_time >= r.open_at - 1e-4f) break;
            clock_tick();
        }
        float run_time = demo_time, run_delta = frame_delta;
        demostart = r.open_at;
        clock_start();
        EXPECT_EQ(demo_time, run_time);
        EXPECT_EQ(demostart, run_time);
        EXPECT_EQ(frame_delta, run_delta);
        EXPECT_EQ(clock_section_time(r.section_start) + frame_delta, local);
    }
    clock_set_fixed_step(60);
    demostart = 38.51f;
    clock_start();
    EXPECT_EQ(demo_time, 38.51f);
    clock_tick();
    EXPECT_EQ(demo_time, clock_fixed_time(38.51f, 1, 60));
}
