// The figures of a --bench run and the two ways they are shown: a table for
// people and JSON for scripts. Building the texts is pure; the timing itself
// is done by the bench timers (bench_timers.h).
#pragma once

#include <string>
#include <vector>

// One scheduled section: the time of each of its renders.
struct bench_section {
    std::string type;  // section type name
    int line;          // script line of its header
    std::vector<double> render_ms;
};

// One step of the loading phase.
struct bench_step {
    std::string kind;  // "load" (one per type) or "init" (one per section)
    std::string type;
    int line;          // init: the section's script line; load: 0
    double ms;
};

struct bench_report {
    int fps;                 // fixed step, frames per demo second
    float first_time;        // demo time of the first and the last frame
    float last_time;
    std::vector<double> frame_ms;  // whole frames, one per frame drawn
    // The floor: frames of the bare present path alone (clear, copy of the
    // render target, letterboxed quad, swap) at the run's window size, timed
    // in the same process. Every time is also shown as a ratio to their
    // median (which a busy moment of the machine sways less than the mean),
    // so runs on different machines compare.
    std::vector<double> floor_ms;
    int width = 0, height = 0;
    std::vector<bench_section> sections;
    std::vector<bench_step> loading;
};

// Mean of `values`; 0 when empty.
double bench_mean(const std::vector<double>& values);

// The nearest-rank percentile: the smallest value with at least `percent` %
// of the values at or below it; 0 when empty.
double bench_percentile(std::vector<double> values, double percent);

// `ms` divided by `floor_ms`; 0 when there is no floor to divide by.
double bench_ratio(double ms, double floor_ms);
// The floor figure the ratios divide by: the median floor frame; 0 without.
double bench_floor(const bench_report& report);

std::string bench_table(const bench_report& report);
std::string bench_json(const bench_report& report);
