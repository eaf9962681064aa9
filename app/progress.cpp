// Progress reports of offline runs: the texts, when a line is due, and how
// it is redrawn on a terminal.
#include "app/progress.h"

#include <cmath>
#include <cstdio>

void progress_begin(progress* p, int terminal) {
    p->terminal = terminal;
    p->tenths_shown = 0;
    p->width = 0;
}

static float clamp_fraction(float fraction) {
    if (!(fraction > 0)) return 0;  // NaN included
    return fraction < 1 ? fraction : 1;
}

std::string progress_update(progress* p, float fraction, const std::string& text) {
    fraction = clamp_fraction(fraction);
    if (p->terminal) {
        std::string line = "\r" + text;
        if (text.size() < p->width) line.append(p->width - text.size(), ' ');
        p->width = text.size();
        return line;
    }
    int tenths = static_cast<int>(std::floor(fraction * 10.0f + 1e-4f));
    if (tenths <= p->tenths_shown) return "";
    p->tenths_shown = tenths;
    return text + "\n";
}

std::string progress_end(progress* p) {
    std::string out = p->terminal && p->width ? "\n" : "";
    progress_begin(p, p->terminal);
    return out;
}

static std::string clock_text(float seconds) {
    if (!(seconds >= 0)) return "--:--";
    long whole = std::lround(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

std::string progress_frame_text(int frame, float time, float end, float frames_per_second, float seconds_left) {
    char text[160];
    std::snprintf(text, sizeof text, "frame %d  %.2f / %.2f s  %.1f fps  %s left", frame, time, end,
                  frames_per_second, clock_text(seconds_left).c_str());
    return text;
}

std::string progress_loading_text(float fraction) {
    char text[32];
    std::snprintf(text, sizeof text, "loading %d %%", static_cast<int>(clamp_fraction(fraction) * 100.0f + 0.5f));
    return text;
}

float progress_seconds_left(float time, float end, int step_fps, float render_fps) {
    if (!(render_fps > 0) || step_fps <= 0) return -1;
    float frames_left = (end - time) * static_cast<float>(step_fps);
    if (frames_left < 0) frames_left = 0;
    return frames_left / render_fps;
}

void progress_report(progress* p, float fraction, const std::string& text) {
    std::string out = progress_update(p, fraction, text);
    if (out.empty()) return;
    std::fputs(out.c_str(), stderr);
    std::fflush(stderr);
}

void progress_report_end(progress* p) {
    std::string out = progress_end(p);
    if (!out.empty()) std::fputs(out.c_str(), stderr);
}
