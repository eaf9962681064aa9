// The music in the timeline view. The waveform is the loudest sample of the
// time each pixel column covers, mirrored about the strip's middle; onsets
// are ticks along its top; the grid is a faint line per beat and a brighter
// one per bar, thinned to every second, fourth... bar when lines would
// crowd. Drawn inside edit_view's saved render state.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "app/edit_local.h"
#include "app/music_measure.h"
#include "core/settings.h"

namespace {

const float MIN_GAP = 6;  // pixels between two grid lines at the least

struct time_axis {
    float left, right, start, end;
    float x(double t) const { return left + (right - left) * float((t - start) / (end > start ? end - start : 1)); }
    double t(float x) const { return start + double(x - left) / double(right - left) * (end - start); }
};

void draw_waveform(const time_axis& a, const std::vector<float>& peaks, float top, float bottom) {
    float middle = (top + bottom) / 2, half = (bottom - top) / 2 - 1;
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.3f, 0.55f, 0.8f, 0.9f);
    glBegin(GL_LINES);
    for (float x = a.left; x < a.right; x += 1) {
        long from = std::max(0L, long(a.t(x) * MUSIC_PEAKS_PER_SECOND));
        long to = std::min(long(peaks.size()), long(a.t(x + 1) * MUSIC_PEAKS_PER_SECOND) + 1);
        float peak = 0;
        for (long i = from; i < to; ++i) peak = std::max(peak, peaks[size_t(i)]);
        if (peak <= 0) continue;
        glVertex2f(x + 0.5f, middle - peak * half);
        glVertex2f(x + 0.5f, middle + peak * half + 1);
    }
    glEnd();
}

void draw_grid(const time_axis& a, float top, float bottom) {
    if (!(bpm > 0)) return;
    double beat = 60.0 / bpm;
    float beat_px = a.x(beat) - a.x(0);
    int every = 1;  // beats between two lines
    while (beat_px * float(every) < MIN_GAP && every < (1 << 20)) every *= every == 1 ? 4 : 2;
    double step = beat * every;
    for (double k = std::ceil((a.start - beat_offset) / step); beat_offset + k * step <= a.end; k += 1) {
        double t = beat_offset + k * step;
        bool bar = std::fmod(std::abs(k * every), 4.0) == 0;
        float x = std::floor(a.x(t));
        edit_view_fill(x, top, x + 1, bottom, 0.8f, 0.8f, 0.8f, bar ? 0.4f : 0.15f);
    }
}

}  // namespace

float edit_music_strip() { return music_measured(nullptr) ? EDIT_MUSIC_STRIP : 0; }

void edit_music_draw(float left, float right, float lanes_top, float strip_top, float bottom, float start, float end) {
    time_axis a = {left, right, start, end};
    if (measured_music* m = strip_top < bottom ? music_measured(nullptr) : nullptr) {
        draw_waveform(a, music_peaks_of(m), strip_top + 1, bottom);
        for (const music_onset& o : music_onsets_of(m)) {
            float x = std::floor(a.x(o.time));
            if (x >= left && x < right) edit_view_fill(x, strip_top, x + 1, strip_top + 5, 1.0f, 0.6f, 0.1f, 0.9f);
        }
    }
    draw_grid(a, lanes_top, bottom);
}

float edit_grid_step(float t, int direction, int beats, float tempo, float offset) {
    if (!(tempo > 0) || beats <= 0) return t;
    double unit = beats * 60.0 / tempo, k = (double(t) - offset) / unit;
    double line = direction > 0 ? std::floor(k + 1e-4) + 1 : std::ceil(k - 1e-4) - 1;
    return float(offset + line * unit);
}
