// Pictures and paths of the painted caption, flare, red sun, title overlay
// scenes: six caption images, two flare sprites, the red sun's flare, the
// show's title picture and the red sun's camera orbit. Every picture is made
// here from noise, falloffs and text rasterised with FreeType, the same bytes
// every run.
#pragma once

#include <string>
#include <vector>

#include "assetlib/asset_io.h"

// Coverage (0..1) of `text` set in the bold sans face, centred in a width x
// height grid and scaled to fill at most `fill` of its width and height.
// Row 0 is the top.
std::vector<float> scene_text_coverage(const std::string& text, int width, int height, float fill);

// A caption: the word in a warm-to-cool gradient with a soft glow, on black
// (the scenes add it over the picture), set to fill at most `fill` of the
// picture's width and height. 1024 x 256.
rgb_image scene_caption(const std::string& word, int hue_seed, float fill);
// The fill that keeps caption `index` (as the painted caption scene numbers
// them) and its glow inside the show's 16:9 picture once it is fully painted.
float scene_caption_fill(int index);
// A round, soft grey glow: bright centre, black edge.
rgb_image scene_grey_flare(int size);
// A wide lens flare: hot core, horizontal streak, faint rays and a halo.
rgb_image scene_wide_flare(int width, int height);
// The red sun: a glowing disc in reds and oranges with a corona and rays.
rgb_image scene_sun_flare(int size);
// The show's title over a dark, starry strip, 16:9.
rgb_image scene_title_picture(int width, int height);
// The red sun's camera: a slow orbit around the origin, looking at it.
std::string scene_redsun_orbit(int keys);
