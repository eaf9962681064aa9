// Debug overlays: the timing overlay (frame, clock, frame rate, sound load)
// and the camera overlay (frame rate, clock, current camera position and
// target), printed with the engine font from the top left of the window.
#include "platform/overlay.h"

#include <cstdio>

#include "core/clock.h"
#include "core/settings.h"
#include "platform/font.h"
#include "platform/music.h"

std::string overlay_timing_text(int frame, float time, float end, float fps, float sound_load) {
    char text[FONT_TEXT_MAX + 1];
    std::snprintf(text, sizeof text, "frame %d sec %.1f/%.1f\nfps %.0f snd %0.1f", frame, time, end,
                  fps, sound_load);
    return text;
}

std::string overlay_camera_text(float fps, int frame, float time, const camera* cam) {
    static const camera none = {};
    if (!cam) cam = &none;
    char text[FONT_TEXT_MAX + 1];
    std::snprintf(text, sizeof text,
                  "fps %.0f  total: %d frames  time: %.1f\n\nCamera Position\n"
                  "Loc x: %.1f Tgt x: %.1f\nLoc y: %.1f Tgt y: %.1f\nLoc z: %.1f Tgt z: %.1f\n",
                  fps, frame, time, cam->position[0], cam->target[0], cam->position[1],
                  cam->target[1], cam->position[2], cam->target[2]);
    return text;
}

void draw_timing_overlay() {
    std::string text =
        overlay_timing_text(frame_number, demo_time, demoend, fps_value, music_cpu_usage());
    font_print(engine_font, "%s", text.c_str());
}

void draw_camera_overlay() {
    std::string text = overlay_camera_text(fps_value, frame_number, demo_time, current_camera);
    font_print(engine_font, "%s", text.c_str());
}

void overlay_draw() {
    if (camera_overlay)
        draw_camera_overlay();
    else if (timing)
        draw_timing_overlay();
}
