#include "app/bench_timers.h"

#include <GL/gl.h>

#include <array>
#include <map>
#include <utility>

#include "app/bench_report.h"
#include "core/section.h"
#include "core/settings.h"
#include "platform/video.h"

static bench_report* bench = nullptr;
static std::map<const section*, size_t> rows;
static section_callback saved_load[SECTION_TYPE_COUNT];
static section_callback saved_init[SECTION_TYPE_COUNT];
static section_callback saved_render[SECTION_TYPE_COUNT];

double bench_ms_since(wall_clock::time_point from, wall_clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

static void timed_step(const char* kind, int type, int line, section_callback callback) {
    wall_clock::time_point began = wall_clock::now();
    callback();
    bench->loading.push_back({kind, section_types[type].name, line, bench_ms_since(began, wall_clock::now())});
}

// `load` concerns no section, so each row gets its own timer that knows it.
template <int T>
static void timed_load() {
    timed_step("load", T, 0, saved_load[T]);
}

template <size_t... I>
static std::array<section_callback, sizeof...(I)> timed_load_slots(std::index_sequence<I...>) {
    return {{timed_load<static_cast<int>(I)>...}};
}

static void timed_init() {
    const section* s = current_section;
    timed_step("init", s->type, s->line, saved_init[s->type]);
}

static bench_section& row_of(const section* s) {
    auto found = rows.find(s);
    if (found != rows.end()) return bench->sections[found->second];
    rows[s] = bench->sections.size();
    bench->sections.push_back({section_types[s->type].name, s->line, {}});
    return bench->sections.back();
}

void bench_timers_row(const section* s) { row_of(s); }

static void timed_render() {
    const section* s = current_section;
    glFinish();
    wall_clock::time_point began = wall_clock::now();
    saved_render[s->type]();
    glFinish();
    row_of(s).render_ms.push_back(bench_ms_since(began, wall_clock::now()));
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

void bench_timers_install(bench_report* report) {
    bench = report;
    rows.clear();
    for (int type = 0; type < SECTION_TYPE_COUNT; ++type) {
        saved_load[type] = section_types[type].load;
        saved_init[type] = section_types[type].init;
        saved_render[type] = section_types[type].render;
    }
    std::array<section_callback, SECTION_TYPE_COUNT> loads =
        timed_load_slots(std::make_index_sequence<SECTION_TYPE_COUNT>{});
    // Row 0's load runs before the counted steps and is empty; it is not a step.
    for (int type = 1; type < SECTION_TYPE_COUNT; ++type) section_types[type].load = loads[type];
    for (section_type& row : section_types) {
        row.init = timed_init;
        row.render = timed_render;
    }
}
