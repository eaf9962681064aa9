// The list of objects the running show generation owns, and their release.
#include "core/owned.h"

#include <vector>

namespace {

struct owned_object {
    void* object;
    void (*release)(void*);
};

std::vector<owned_object> owned;

}  // namespace

void generation_own(void* object, void (*release)(void*)) {
    if (object) owned.push_back({object, release});
}

int generation_size() { return static_cast<int>(owned.size()); }

void generation_release_owned() {
    while (!owned.empty()) {
        owned_object last = owned.back();
        owned.pop_back();
        last.release(last.object);
    }
}
