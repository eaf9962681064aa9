// The loading phase: decides which sections take part in this run, reads
// their splines, runs every needed type's load and every section's init, and
// draws the `loading` section's progress screen after each step.
//
// Every load, init and spline read runs with its section as the fatal
// context, so an asset error names the section type and script line that
// asked for the file. loading_check() runs the same steps for every section
// of the script while faults are collected, to list them all.
#include "core/owned.h"
#include "show/loading.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cstdlib>

#include "core/fatal.h"
#include "core/settings.h"
#include "platform/video.h"
#include "resources/spline.h"
#include "resources/texture.h"
#include "show/engine.h"
#include "show/gl_audit.h"
#include "show/section_table.h"
#include "show/show_host.h"
#include "show/timeline.h"

section* loading_section = nullptr;

static int types_to_load = 0;
static int sections_to_init = 0;
static int steps_done = 0;
int loading_quiet = 0;
static int type_flags[SECTION_TYPE_COUNT];
// The first scheduled section of each type: the context of the type's load.
static const section* first_of_type[SECTION_TYPE_COUNT];
static loading_screen* current_screen = nullptr;

float loading_fraction() {
    int total = types_to_load + sections_to_init;
    if (total <= 0) return 0;
    return static_cast<float>(steps_done) / static_cast<float>(total);
}

int loading_section_plays(const section* s) {
    int starts_in_time = s->start < demoend || demoend == 0;
    return starts_in_time && s->end > demostart;
}

float loading_show_end() {
    float last = demostart;
    for (const section* s = section_list; s; s = s->next)
        if (loading_section_plays(s) && s->end > last) last = s->end;
    return demoend > 0 && demoend < last ? demoend : last;
}

// Runs `step` with `s` (of `type`) as the fatal context. Returns 0 when a
// fault was collected (only while checking).
template <class F>
static int run_step(int type, const section* s, F step) {
    fatal_context_guard context(section_types[type].name, s->line);
    return fatal_attempt_call(step);
}

// A loading step with what the program runs around it (see show_host).
template <class F>
static void lent_step(const char* kind, int type, int line, F step) {
    const show_host& host = show_host_lent();
    if (host.step_begin) host.step_begin();
    step();
    if (host.step_end) host.step_end(kind, type, line);
}

static void read_splines(section* s) {
    if (!s->splines && s->spline_count > 0) {
        s->splines = static_cast<spline*>(calloc(static_cast<size_t>(s->spline_count), sizeof(spline)));
        if (!s->splines) fatal_error("Out of memory");
    }
    for (int i = 0; i < s->spline_count; ++i) {
        s->splines[i] = spline_load(s->spline_names[i]);
        spline_spread_times(&s->splines[i], s->spline_durations[i]);
    }
}

static void loading_reset() {
    types_to_load = sections_to_init = steps_done = 0;
    for (int& flag : type_flags) flag = 0;
    for (const section*& s : first_of_type) s = nullptr;
    loading_section = nullptr;
    for (section* s = section_list; s && !loading_section; s = s->next)
        if (s->type == 0) loading_section = s;
}

// Schedules the sections that take part (all of them with `every`), reading
// their splines. A section whose splines fail (while checking) is left out;
// returns how many were.
static int schedule_all(int every) {
    int faults = 0;
    for (section* s = section_list; s; s = s->next) {
        if (!every && !loading_section_plays(s)) continue;
        if (!run_step(s->type, s, [s] { read_splines(s); })) {
            faults += 1;
            continue;
        }
        sections_to_init += 1;
        if (!type_flags[s->type]) {
            type_flags[s->type] = 1;
            first_of_type[s->type] = s;
            types_to_load += 1;
        }
        schedule_section(s);
    }
    return faults;
}

// Counts a finished step, shows the progress screen and looks at one event.
// Returns 1 when the viewer asked to quit (the program is then shut down).
static int step_done() {
    steps_done += 1;
    current_section = loading_section;
    if (!loading_quiet) {
        section_types[0].render();
        if (show_host_lent().loading_shown) show_host_lent().loading_shown(loading_fraction());
    }
    engine_poll_event();
    if (!quit_requested) return 0;
    shut_down();
    return 1;
}

void loading_phase() {
    loading_reset();
    if (!loading_section) fatal_error("Script: loading section is not found");
    current_section = loading_section;
    run_step(0, loading_section, section_types[0].load);
    lent_step("init", 0, loading_section->line, [] { run_step(0, loading_section, [] { section_init(loading_section); }); });
    section_types[0].start();
    schedule_all(0);
    for (int type = 1; type < SECTION_TYPE_COUNT; ++type) {
        if (!type_flags[type]) continue;
        section_type_rand_seed(type);
        lent_step("load", type, 0, [type] { run_step(type, first_of_type[type], section_types[type].load); });
        gl_audit("load", type, 0);
        if (step_done()) return;
    }
    for (section* s = pending_head; s; s = s->pending_next) {
        current_section = s;
        section_rand_seed(s, SECTION_MOMENT_INIT);
        lent_step("init", s->type, s->line, [s] { run_step(s->type, s, [s] { section_init(s); }); });
        gl_audit("init", s->type, s->line);
        if (step_done()) return;
    }
    if (loading_quiet && steps_done > 0) {
        current_section = loading_section;
        frame_swap_skipped = 1;
        section_types[0].render();
        frame_swap_skipped = 0;
    }
    section_types[0].stop();
}

int loading_check() {
    loading_reset();
    int faults = 0;
    if (!loading_section) {
        faults += !fatal_attempt_call([] { fatal_error("Script: loading section is not found"); });
    }
    faults += schedule_all(1);
    int loaded[SECTION_TYPE_COUNT] = {};
    for (int type = 0; type < SECTION_TYPE_COUNT; ++type) {
        if (!type_flags[type]) continue;
        current_section = loading_section;
        loaded[type] = run_step(type, first_of_type[type], section_types[type].load);
        faults += !loaded[type];
    }
    // A section whose type failed to load is not initialised: its init would
    // use what the load did not make.
    for (section* s = pending_head; s; s = s->pending_next) {
        if (!loaded[s->type]) continue;
        current_section = s;
        faults += !run_step(s->type, s, [s] { section_init(s); });
    }
    return faults;
}

static int load_screen_image(const char* name) {
    int index = texture_load(name);
    if (index < 0) fatal_error("Script: loading image %s is not a .bmp, .jpg, .png or .tga file", name);
    texture_set_options(index, TEXTURE_LINEAR | TEXTURE_CLAMP);
    texture_upload(index);
    return index;
}

void loading_init() {
    section* s = current_section;
    loading_screen* screen = static_cast<loading_screen*>(std::calloc(1, sizeof(loading_screen)));
    generation_own(screen, free);
    s->instance_data = screen;
    current_screen = screen;
    screen->background = load_screen_image(s->strings[0]);
    screen->foreground = load_screen_image(s->strings[1]);
    const float rect[4] = {0, 0, 1, 1};
    const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const float texcoords[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    const float bar[4] = {0.15f, 0.18f, 0.85f, 0.2f};
    for (int i = 0; i < 4; ++i) {
        screen->screen[i] = rect[i];
        screen->corners[i][0] = corners[i][0];
        screen->corners[i][1] = corners[i][1];
        screen->texcoords[i][0] = texcoords[i][0];
        screen->texcoords[i][1] = texcoords[i][1];
        screen->bar[i] = bar[i];
        screen->bar_colour[i] = section_values<loading_values>(*s).bar_colour[i];
    }
    screen->bar_width = bar[2] - bar[0];
}

static void draw_screen_quad(const loading_screen* screen) {
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2fv(screen->texcoords[i]);
        glVertex2fv(screen->corners[i]);
    }
    glEnd();
}

static void draw_bar(const loading_screen* screen, float fraction) {
    const float* bar = screen->bar;
    glColor4f(0, 0, 0, screen->bar_colour[3]);
    glBegin(GL_LINE_LOOP);
    glVertex2f(bar[0], bar[1]);
    glVertex2f(bar[0], bar[3]);
    glVertex2f(bar[2], bar[3]);
    glVertex2f(bar[2], bar[1]);
    glEnd();
    float filled = bar[0] + fraction * screen->bar_width;
    glColor4fv(screen->bar_colour);
    glBegin(GL_QUADS);
    glVertex2f(bar[0], bar[1]);
    glVertex2f(bar[0], bar[3]);
    glVertex2f(filled, bar[3]);
    glVertex2f(filled, bar[1]);
    glEnd();
}

void loading_render() {
    float fraction = loading_fraction();
    const loading_screen* screen = static_cast<loading_screen*>(current_section->instance_data);
    if (!screen) screen = current_screen;
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, 1, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 0, 0, 1);
    texture_bind(screen->background);
    draw_screen_quad(screen);
    glColor4f(1, 1, 1, fraction);
    texture_bind(screen->foreground);
    draw_screen_quad(screen);
    glDisable(GL_TEXTURE_2D);
    draw_bar(screen, fraction);
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    frame_swap();
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

static const section_field loading_params[] = {
    {"bar_red", "progress bar colour: red (0..1)", nullptr, SECTION_AT_INIT, SECTION_VALUE(loading_values, bar_colour[0])},
    {"bar_green", "progress bar colour: green", nullptr, SECTION_AT_INIT, SECTION_VALUE(loading_values, bar_colour[1])},
    {"bar_blue", "progress bar colour: blue", nullptr, SECTION_AT_INIT, SECTION_VALUE(loading_values, bar_colour[2])},
    {"bar_alpha", "progress bar colour: alpha, also its outline's", nullptr, SECTION_AT_INIT, SECTION_VALUE(loading_values, bar_colour[3])},
};
static const section_field loading_strings[] = {
    {"background", "the picture shown at first (.bmp, .jpg, .png or .tga)", nullptr},
    {"foreground", "the picture that fades in over it as loading advances", nullptr},
};
const section_reads loading_reads = {
    "the progress screen shown while the show loads; a script needs one",
    {SECTION_FIELDS(loading_params), SECTION_FIELDS(loading_strings), {}, {}},
    {{SECTION_OWN_MESSAGE, "Script: four floats are needed in loading section"},
     {SECTION_OWN_MESSAGE, "Script: two strings are needed in loading section"}, {}, {}},
    nullptr, nullptr,
};
