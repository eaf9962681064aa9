// The timeline view's track lanes: one lane per track the show holds, above
// the section lanes, with the beat grid (bars brighter), the track's curve
// scaled to its lowest and highest key, its keys as dots, its name and its
// value now. Drawn by the view inside its saved render state.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/edit_local.h"
#include "core/clock.h"
#include "core/script_time.h"
#include "core/settings.h"
#include "core/track.h"
#include "platform/font.h"
#include "resources/texture.h"

namespace {

enum { LANE = 26, LANES_MAX = 8 };

struct lane_frame {
    float left, right, top, bottom;
    float start, end;
    float x(double t) const { return left + (right - left) * static_cast<float>((t - start) / (end - start)); }
    double t(float x) const { return start + (end - start) * static_cast<double>((x - left) / (right - left)); }
};

void quad(float x0, float y0, float x1, float y1) {
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
}

// Vertical lines on every beat far enough apart to be told apart, brighter
// on the bars.
void draw_grid(const lane_frame& f) {
    if (!(bpm > 0)) return;
    double beat = 60.0 / bpm;
    if ((f.right - f.left) * beat / (f.end - f.start) < 4) beat *= SCRIPT_BEATS_PER_BAR;
    long long first = static_cast<long long>(std::ceil((f.start - beat_offset) / beat));
    glBegin(GL_LINES);
    for (long long k = first;; ++k) {
        double t = beat_offset + static_cast<double>(k) * beat;
        if (t > f.end) break;
        bool bar = std::llround(static_cast<double>(k) * beat * bpm / 60.0) % SCRIPT_BEATS_PER_BAR == 0;
        glColor4f(1, 1, 1, bar ? 0.3f : 0.12f);
        glVertex2f(f.x(t), f.top);
        glVertex2f(f.x(t), f.bottom);
    }
    glEnd();
}

void draw_lane(const lane_frame& f, const track& t) {
    float low = 0, high = 1;
    if (!t.keys.empty()) {
        low = high = t.keys[0].value;
        for (const track_key& k : t.keys) low = std::min(low, k.value), high = std::max(high, k.value);
    }
    if (high - low < 1e-6f) high = low + 1;
    auto y = [&](float v) { return f.bottom - 3 - (f.bottom - f.top - 6) * (v - low) / (high - low); };
    glColor4f(0.4f, 0.9f, 1, 0.9f);
    glBegin(GL_LINE_STRIP);
    for (float x = f.left; x <= f.right; x += 1) glVertex2f(x, y(track_value(t, f.t(x))));
    glEnd();
    glColor4f(1, 0.85f, 0.3f, 1);
    glBegin(GL_QUADS);
    for (const track_key& k : t.keys)
        if (k.time >= f.start && k.time <= f.end) quad(f.x(k.time) - 2, y(k.value) - 2, f.x(k.time) + 2, y(k.value) + 2);
    glEnd();
    if (engine_font.texture < 0 || engine_font.texture >= texture_count) return;
    font label = engine_font;
    label.x = f.left + 2;
    label.y = f.top + 1;
    label.size = 9;
    glEnable(GL_TEXTURE_2D);
    font_print(label, "@%s %.3g%s", t.name.c_str(), static_cast<double>(track_value(t, demo_time)),
               t.live ? " (edited)" : "");
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

}  // namespace

float edit_view_tracks_draw(float left, float right, float bottom, float start, float end) {
    int lanes = std::min<int>(track_count(), LANES_MAX);
    if (lanes == 0 || !(end > start) || !(right > left)) return 0;
    float top = bottom - LANE * static_cast<float>(lanes);
    glDisable(GL_TEXTURE_2D);
    glColor4f(0, 0, 0.05f, 0.75f);
    glBegin(GL_QUADS);
    quad(0, top - 2, right + left, bottom);
    glEnd();
    for (int i = 0; i < lanes; ++i) {
        lane_frame f = {left, right, top + LANE * static_cast<float>(i) + 1, top + LANE * static_cast<float>(i + 1) - 1,
                        start, end};
        glDisable(GL_TEXTURE_2D);
        glColor4f(1, 1, 1, 0.06f);
        glBegin(GL_QUADS);
        quad(f.left, f.top, f.right, f.bottom);
        glEnd();
        draw_grid(f);
        draw_lane(f, *track_at(i));
    }
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 0.2f, 0.2f, 1);
    glBegin(GL_QUADS);
    lane_frame f = {left, right, top, bottom, start, end};
    quad(f.x(demo_time) - 1, top, f.x(demo_time) + 1, bottom);
    glEnd();
    return bottom - top + 2;
}
