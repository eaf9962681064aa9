// What edit mode draws over the presented frame: the error of a broken save
// and the note of a missing soundtrack in dark boxes, and the timeline view (one lane per layer, a box per
// section with its type and script line, the playhead, the loop range, the
// time, and the render time of each running section). Drawn with GL 1.1 and
// the engine font, with the render state and the bind cache put back as
// found, so the show's next frame is drawn as if nothing had been drawn.
//
// The presented window is also copied into a texture of edit mode's own each
// frame: a paused show is shown again from it, and `still` reads it.
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/png_file.h"
#include "app/edit_local.h"
#include "app/edit_view_layout.h"
#include "core/clock.h"
#include "core/script_time.h"
#include "core/settings.h"
#include "platform/font.h"
#include "platform/video.h"
#include "resources/texture.h"
#include "show/section_table.h"
#include "show/show_host.h"
#include "show/timeline.h"

namespace {

GLuint window_copy = 0;
std::map<const section*, double> render_ms;
std::chrono::steady_clock::time_point render_began;

// Every section's render timed; with the view shown the GL work is waited
// for, so the figure is the frame's cost, not only the calls'.
void view_render_begin(const section*) {
    if (edit.timeline_shown) glFinish();
    render_began = std::chrono::steady_clock::now();
}

void view_render_end(const section* s) {
    if (edit.timeline_shown) glFinish();
    render_ms[s] = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - render_began).count();
}

// Saves what edit mode's drawing would change behind the engine's back.
struct state_guard {
    GLint binding;
    GLuint cached_texture;
    GLenum cached_env;
    state_guard() : cached_texture(bound_texture), cached_env(bound_env_mode) {
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &binding);
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glMatrixMode(GL_TEXTURE);
        glPushMatrix();
        glLoadIdentity();
        begin_2d();
        glViewport(0, 0, gl_width, gl_height);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glDisable(GL_FOG);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    ~state_guard() {
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_TEXTURE);
        glPopMatrix();
        glPopAttrib();
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(binding));
        bound_texture = cached_texture;
        bound_env_mode = cached_env;
    }
};

void fill(float x0, float y0, float x1, float y1, float r, float g, float b, float a) {
    glDisable(GL_TEXTURE_2D);
    glColor4f(r, g, b, a);
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
}

// Cut to `width` pixels at `size` pixels a character.
void text(float x, float y, float size, const std::string& words, float width = 1e9f) {
    if (engine_font.texture < 0 || engine_font.texture >= texture_count) return;
    size_t fits = static_cast<size_t>(std::max(0.0f, width / size));
    if (fits == 0) return;
    font f = engine_font;
    f.x = x;
    f.y = y;
    f.size = size;
    glEnable(GL_TEXTURE_2D);
    font_print(f, "%s", words.substr(0, fits).c_str());
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

// The message cut into lines that fit the window.
std::vector<std::string> wrap(const std::string& message, int columns) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : message) {
        if (c == '\n' || static_cast<int>(line.size()) >= columns) {
            lines.push_back(line);
            line.clear();
            if (c == '\n') continue;
        }
        line += c;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// A message in a dark box across the window from `top`; its height.
float draw_box(const std::string& message, float top, float r, float g) {
    const float size = 16;
    int columns = std::max(8, static_cast<int>(static_cast<float>(gl_width) / size) - 2);
    std::vector<std::string> lines = wrap(message, columns);
    float height = size * static_cast<float>(lines.size()) + size;
    fill(0, top, static_cast<float>(gl_width), top + height, r, g, 0, 0.85f);
    for (size_t i = 0; i < lines.size(); ++i)
        text(size, top + size * 0.5f + size * static_cast<float>(i), size, lines[i]);
    return height;
}

// The error of a broken save in red, and under it, in brown, the show
// playing without its soundtrack.
void draw_messages() {
    float top = edit.error.empty() ? 0 : draw_box("Error: " + edit.error, 0, 0.35f, 0);
    if (!edit.music_note.empty()) draw_box("Note: " + edit.music_note, top, 0.3f, 0.2f);
}

struct timeline_frame {
    float left, right, top, lane;
    float start, end;
    float x(float t) const { return left + (right - left) * (t - start) / (end > start ? end - start : 1); }
};

std::string label(const section* s) {
    return std::string(section_types[s->type].name) + ":" + std::to_string(s->line);
}

bool running(const section* s) {
    for (const section* a = active_head; a; a = a->active_next)
        if (a == s) return true;
    return false;
}

void draw_sections(const timeline_frame& f, const std::vector<int>& layers) {
    for (const section* s = section_list; s; s = s->next) {
        size_t lane = static_cast<size_t>(std::find(layers.begin(), layers.end(), s->layer) - layers.begin());
        float y0 = f.top + f.lane * static_cast<float>(lane) + 1, y1 = y0 + f.lane - 2;
        float x0 = std::max(f.left, f.x(s->start)), x1 = std::min(f.right, f.x(s->end));
        if (x1 <= x0) continue;
        bool on = running(s);
        fill(x0, y0, x1, y1, on ? 0.2f : 0.15f, on ? 0.5f : 0.25f, on ? 0.3f : 0.45f, 0.85f);
        // Smaller letters, or the type's name alone, rather than a cut word.
        float letters = f.lane - 4;
        fitted_text name =
            edit_fit_first({label(s), section_types[s->type].name}, x1 - x0 - 2, letters, std::min(6.0f, letters));
        text(x0 + 2, y0 + 1, name.size, name.words);
    }
}

void draw_timeline() {
    std::vector<int> layers;
    for (const section* s = section_list; s; s = s->next) layers.push_back(s->layer);
    std::sort(layers.begin(), layers.end());
    layers.erase(std::unique(layers.begin(), layers.end()), layers.end());
    float w = static_cast<float>(gl_width), h = static_cast<float>(gl_height);
    float lane = std::max(6.0f, std::min(14.0f, (h * 0.45f - 40) / std::max<size_t>(layers.size(), 1)));
    float strip = edit_music_strip(), lanes_bottom = h - 8 - strip;
    timeline_frame f = {8, w - 8, lanes_bottom - lane * static_cast<float>(layers.size()), lane, edit.show_start, edit.show_end};
    fill(0, f.top - 40, w, h, 0, 0, 0, 0.7f);
    edit_view_tracks_draw(f.left, f.right, f.top - 40, f.start, f.end);
    if (edit.has_loop) fill(f.x(edit.loop_in), f.top, f.x(edit.loop_out), h - 8, 0.6f, 0.6f, 0.1f, 0.35f);
    draw_sections(f, layers);
    edit_music_draw(f.left, f.right, f.top, lanes_bottom, h - 8, f.start, f.end);
    // The playhead is amber while the picture shown is a first one, before
    // the exact frame is drawn.
    fill(f.x(demo_time) - 1, f.top - 4, f.x(demo_time) + 1, h - 4, 1, edit.replay ? 0.7f : 0.2f, 0.2f, 1);
    char head[160];
    char loop[64] = "";
    if (edit.has_loop) std::snprintf(loop, sizeof loop, "  loop %.2f-%.2f", edit.loop_in, edit.loop_out);
    // With a tempo, the moment also as the script would write it.
    char bar_beat[48] = "", moment[32];
    script_time_bar_beat(demo_time, {bpm, beat_offset}, moment, sizeof moment);
    if (moment[0]) std::snprintf(bar_beat, sizeof bar_beat, " (%s)", moment);
    std::snprintf(head, sizeof head, "%.3f s%s%s%s  opened in %.0f ms%s", demo_time, bar_beat,
                  edit.paused ? "  paused" : "", loop, edit.last_open_ms, edit.replay ? ", exact frame coming" : "");
    // Smaller letters rather than a cut line in a narrow window.
    float head_size = std::max(8.0f, std::min(12.0f, (w - 16) / static_cast<float>(std::max<size_t>(std::strlen(head), 1))));
    text(8, f.top - 36, head_size, head, w - 16);
    // The running sections' render times: smaller letters, then whole
    // entries left out (and counted), never one cut at the edge.
    std::vector<std::string> times;
    for (const section* s = active_head; s; s = s->active_next) {
        char one[96];
        std::snprintf(one, sizeof one, "%s %.1fms", label(s).c_str(), render_ms[s]);
        times.push_back(one);
    }
    float size = std::max(7.0f, edit_text_size(edit_fit_entries(times, 1e9f, 1).size(), w - 16, 10, 7));
    text(8, f.top - 20, size, edit_fit_entries(times, w - 16, size));
}

}  // namespace

void edit_view_fill(float x0, float y0, float x1, float y1, float r, float g, float b, float a) {
    fill(x0, y0, x1, y1, r, g, b, a);
}

void edit_view_forget_times() { render_ms.clear(); }

static void edit_view_draw() {
    if (window_copy == 0) glGenTextures(1, &window_copy);
    state_guard guard;
    glBindTexture(GL_TEXTURE_2D, window_copy);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 0, 0, gl_width, gl_height, 0);
    draw_messages();
    if (edit.timeline_shown) draw_timeline();
}

void edit_view_show_again() {
    if (window_copy == 0) return;
    state_guard guard;
    glBindTexture(GL_TEXTURE_2D, window_copy);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    float w = static_cast<float>(gl_width), h = static_cast<float>(gl_height);
    glTexCoord2f(0, 1); glVertex2f(0, 0);
    glTexCoord2f(1, 1); glVertex2f(w, 0);
    glTexCoord2f(1, 0); glVertex2f(w, h);
    glTexCoord2f(0, 0); glVertex2f(0, h);
    glEnd();
    glEnable(GL_BLEND);
    draw_messages();
    if (edit.timeline_shown) draw_timeline();
}

int edit_view_write_still(const char* path, int shown, std::string* error, bool* replaced) {
    if (window_copy == 0) {
        *error = "no frame has been drawn yet";
        return 0;
    }
    std::vector<uint8_t> pixels(static_cast<size_t>(gl_width) * static_cast<size_t>(gl_height) * 3);
    {
        state_guard guard;
        GLint pack = 4;
        glGetIntegerv(GL_PACK_ALIGNMENT, &pack);
        glBindTexture(GL_TEXTURE_2D, window_copy);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        if (shown)
            glReadPixels(0, 0, gl_width, gl_height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        else
            glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        glPixelStorei(GL_PACK_ALIGNMENT, pack);
    }
    return png_file_write(path, gl_width, gl_height, pixels.data(), error, replaced);
}

void edit_view_lend(show_host* host) {
    host->frame_sink = edit_view_draw;
    host->render_begin = view_render_begin;
    host->render_end = view_render_end;
}
