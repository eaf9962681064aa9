// The debug overlays drawn over the presented frame: the camera overlay when
// `camera_overlay` is set (the script key "fps"), else the timing overlay when
// `timing` is set. Their texts are built by pure functions so the formats can
// be checked without a window.
#pragma once

#include <string>

#include "resources/camera.h"

// The camera overlay prints `current_camera`'s position and target, or zeros
// while no section has stored its camera there.

std::string overlay_timing_text(int frame, float time, float end, float fps, float sound_load);
std::string overlay_camera_text(float fps, int frame, float time, const camera* cam);

void draw_timing_overlay();
void draw_camera_overlay();

// Draws at most one overlay, as the settings choose.
void overlay_draw();
