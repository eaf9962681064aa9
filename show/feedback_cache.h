// The cache of fed-back pictures: for a section whose picture is carried
// from frame to frame in textures of its own, those textures' top levels as
// they stood after a grid frame was drawn, so a later opening near that
// frame can put them back instead of drawing the frames that built them.
//
// Pure bookkeeping: the pictures come and go as bytes; reading and writing
// the textures is feedback_snapshot's. Bounded in bytes; what lies farthest
// from the frame just stored goes first (the older of two as far).
#pragma once

#include <cstddef>
#include <vector>

#include "resources/texture.h"

// What edit mode lets the cache hold.
constexpr size_t FEEDBACK_CACHE_BYTES = size_t(512) << 20;

// A section, known across openings of the same files by what the script
// says of it (the same subject as its random numbers, and its line).
struct feedback_key {
    int type;
    float start, end;
    int layer, line;
};
bool operator<(const feedback_key& a, const feedback_key& b);

// A section's textures after one frame. `exact_from` is the first frame
// that can be drawn exactly from them: they may still carry the empty
// picture an opening began with, faded but not yet gone.
struct feedback_snapshot {
    int exact_from;
    std::vector<texture_level> pictures;
};

// A section the frames after an opening may need: the frames it renders,
// from `first` up to but excluding `past`.
struct feedback_need {
    feedback_key key;
    int first, past;
};

void feedback_cache_clear();
// Keeps `snapshot` as section `key`'s after `frame`, then drops what lies
// farthest from `frame` until at most `bound` bytes are held.
void feedback_cache_store(const feedback_key& key, int frame, feedback_snapshot snapshot, size_t bound);
// The snapshot after `frame` from which frame `shown` comes out exactly;
// null when there is none.
const feedback_snapshot* feedback_cache_find(const feedback_key& key, int frame, int shown);
// The latest frame k, lowest < k < target, after which every section of
// `needs` rendered at k has a snapshot from which frame `target` comes out
// exactly (as an exact replay draws from frame k only when every section
// with history drawn there is drawn from its start); -1 when there is none.
int feedback_cache_latest(const std::vector<feedback_need>& needs, int lowest, int target);
// Bytes of pictures held.
size_t feedback_cache_bytes();
