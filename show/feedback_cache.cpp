// The cache of fed-back pictures: snapshots by section and frame, the
// lookup an opening makes, and the bound.
#include "show/feedback_cache.h"

#include <cstdlib>
#include <map>
#include <tuple>
#include <utility>

bool operator<(const feedback_key& a, const feedback_key& b) {
    return std::tie(a.type, a.start, a.end, a.layer, a.line) < std::tie(b.type, b.start, b.end, b.layer, b.line);
}

namespace {

struct held {
    feedback_snapshot snapshot;
    size_t bytes;
    unsigned long age;  // order of storing
};

std::map<std::pair<feedback_key, int>, held> snapshots;
size_t held_bytes = 0;
unsigned long stored = 0;

size_t bytes_of(const feedback_snapshot& snapshot) {
    size_t bytes = 0;
    for (const texture_level& level : snapshot.pictures) bytes += level.pixels.size();
    return bytes;
}

// The snapshot farthest from `frame`, the older of two as far.
std::map<std::pair<feedback_key, int>, held>::iterator farthest(int frame) {
    auto worst = snapshots.begin();
    for (auto it = snapshots.begin(); it != snapshots.end(); ++it) {
        int distance = std::abs(it->first.second - frame), worst_distance = std::abs(worst->first.second - frame);
        if (distance > worst_distance || (distance == worst_distance && it->second.age < worst->second.age))
            worst = it;
    }
    return worst;
}

}  // namespace

void feedback_cache_clear() {
    snapshots.clear();
    held_bytes = 0;
}

void feedback_cache_store(const feedback_key& key, int frame, feedback_snapshot snapshot, size_t bound) {
    held& entry = snapshots[{key, frame}];
    held_bytes -= entry.bytes;
    entry.bytes = bytes_of(snapshot);
    entry.snapshot = std::move(snapshot);
    entry.age = stored++;
    held_bytes += entry.bytes;
    while (held_bytes > bound && !snapshots.empty()) {
        auto worst = farthest(frame);
        held_bytes -= worst->second.bytes;
        snapshots.erase(worst);
    }
}

const feedback_snapshot* feedback_cache_find(const feedback_key& key, int frame, int shown) {
    auto found = snapshots.find({key, frame});
    if (found == snapshots.end() || found->second.snapshot.exact_from > shown) return nullptr;
    return &found->second.snapshot;
}

int feedback_cache_latest(const std::vector<feedback_need>& needs, int lowest, int target) {
    for (int k = target - 1; k > lowest; --k) {
        bool all = true;
        for (const feedback_need& need : needs)
            if (need.first <= k && k < need.past && !feedback_cache_find(need.key, k, target)) all = false;
        if (all) return k;
    }
    return -1;
}

size_t feedback_cache_bytes() { return held_bytes; }
