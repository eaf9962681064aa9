// The bitmap font of the debug overlays.
#pragma once

// Loads "data/fonts/font.tga" (16 x 16 glyph grid) when it is there.
void font_start();
