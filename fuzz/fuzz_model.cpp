// Fuzz target for the model parser: any bytes must give a model or a reason,
// never a read outside the buffer, a crash or a hang; a parsed model must
// survive the normal pass (no NaN from degenerate faces) and be freed whole.
#include <cmath>
#include <cstdlib>
#include <string>

#include "resources/model.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    std::string error;
    model* m = model_parse(data, size, &error);
    if (!m) {
        if (error.empty()) abort();  // a rejection always says why
        return 0;
    }
    model_compute_normals(m);
    for (int i = 0; i < m->object_count; ++i) {
        const model_object& o = m->objects[i];
        for (int f = 0; f < o.face_count; ++f)
            if (o.faces[f].a >= o.vertex_count || o.faces[f].b >= o.vertex_count || o.faces[f].c >= o.vertex_count ||
                std::isnan(o.faces[f].nx))
                abort();
    }
    model_free(m);
    return 0;
}
