#include "app/bench_timers.h"

#include <GL/gl.h>

#include <map>

#include "app/bench_report.h"
#include "core/section.h"
#include "core/settings.h"
#include "platform/video.h"
#include "show/section_table.h"
#include "show/show_host.h"

static bench_report* bench = nullptr;
static std::map<const section*, size_t> rows;
static wall_clock::time_point step_began, render_began;

double bench_ms_since(wall_clock::time_point from, wall_clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

static void bench_step_begin() { step_began = wall_clock::now(); }

static void bench_step_end(const char* kind, int type, int line) {
    bench->loading.push_back({kind, section_types[type].name, line, bench_ms_since(step_began, wall_clock::now())});
}

static bench_section& row_of(const section* s) {
    auto found = rows.find(s);
    if (found != rows.end()) return bench->sections[found->second];
    rows[s] = bench->sections.size();
    bench->sections.push_back({section_types[s->type].name, s->line, {}});
    return bench->sections.back();
}

void bench_timers_row(const section* s) { row_of(s); }

static void bench_render_begin(const section*) {
    glFinish();
    render_began = wall_clock::now();
}

static void bench_render_end(const section* s) {
    glFinish();
    row_of(s).render_ms.push_back(bench_ms_since(render_began, wall_clock::now()));
}

void bench_timers_floor() {
    enum { FLOOR_FRAMES = 30 };
    bench->width = gl_width;
    bench->height = gl_height;
    for (int i = 0; i < FLOOR_FRAMES; ++i) {
        wall_clock::time_point began = wall_clock::now();
        frame_begin();
        frame_present();
        frame_swap();
        bench->floor_ms.push_back(bench_ms_since(began, wall_clock::now()));
    }
}

void bench_timers_lend(bench_report* report, show_host* host) {
    bench = report;
    rows.clear();
    host->step_begin = bench_step_begin;
    host->step_end = bench_step_end;
    host->render_begin = bench_render_begin;
    host->render_end = bench_render_end;
}
