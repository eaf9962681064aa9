// --bench's timers around the section type table's slots: every type's
// load, every section's init, every render (between two glFinish calls, so
// the figure is the GPU's work too), and the bare present path as the
// report's floor. The figures go into one bench_report.
#pragma once

#include <chrono>

struct bench_report;
struct section;

typedef std::chrono::steady_clock wall_clock;

// Milliseconds from `from` to `to`.
double bench_ms_since(wall_clock::time_point from, wall_clock::time_point to);

// Wraps the load, init and render slot of every section type with a timer
// that adds its figure to `report`, which must outlive the run.
void bench_timers_install(bench_report* report);

// The report's row of section `s`, made at its first use: rows made in the
// order of the schedule keep sections that never render in the report.
void bench_timers_row(const section* s);

// Times FLOOR frames of the present path with no section, from the start of
// a frame to the end of its swap, at the window's size. The run times half
// before the show and half after, so a machine that is busier at one end of
// the run sways the floor less.
void bench_timers_floor();
