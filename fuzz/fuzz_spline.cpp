// Fuzz target for the spline reader: any bytes must give keys or a message
// naming the file, never a crash or a leak; a spline that loads is spread
// and evaluated over, before and past its span without a fault.
#include <cmath>
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "resources/spline.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    fuzz_catch_fatal();
    spline s = {};
    try {
        s = spline_load_memory(reinterpret_cast<const char*>(data), size, "fuzz.txt");
    } catch (const fuzz_fatal& error) {
        fuzz_expect_named(error, "spline fuzz.txt");
        return 0;
    }
    if (s.count <= 0 || !s.keys) abort();
    for (int k = 0; k < s.count; ++k)
        for (float v : s.keys[k].values)
            if (!std::isfinite(v)) abort();  // the reader refuses such keys
    spline_spread_times(&s, 10.0f);
    float out[SPLINE_CHANNELS];
    for (float t : {-1.0f, 0.0f, 0.001f, 3.7f, 5.0f, 9.999f, 10.0f, 11.0f, NAN})
        spline_evaluate(&s, t, out);
    spline_free(&s);
    return 0;
}
