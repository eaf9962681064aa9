// Where the timeline view's words go: letter sizes that fit a width, a
// section's label in its box, the render-time line in the window. Pure
// arithmetic on character counts (a glyph is as wide as the letter size),
// so nothing is cut in the middle of a word or drawn past the edge.
#pragma once

#include <string>
#include <vector>

// Words and the letter size to draw them at; no words: nothing fits.
struct fitted_text {
    std::string words;
    float size;
};

// The largest letter size up to `largest` at which `chars` characters fill
// no more than `width`; 0 when even `smallest` is too large.
float edit_text_size(size_t chars, float width, float largest, float smallest);

// The first of `choices` that fits `width` at a size from `smallest` to
// `largest`, at the largest size it fits at.
fitted_text edit_fit_first(const std::vector<std::string>& choices, float width, float largest, float smallest);

// `entries` on one line of `width` at `size`, two spaces apart: the whole
// entries that fit, with "+N more" for the rest when some do not.
std::string edit_fit_entries(const std::vector<std::string>& entries, float width, float size);
