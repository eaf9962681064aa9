// The debug overlays drawn over the presented frame: the camera overlay when
// `fps` is set, else the timing overlay when `timing` is set.
#pragma once

void overlay_draw();
