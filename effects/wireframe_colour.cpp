// genWireframe's arithmetic: the pulsing line colour, the culling switch and
// the turn with the demo clock.
#include "effects/wireframe.h"

#include <cmath>

// ---------------------------------------------------------------------------
// Colour and motion

static float wave_at(const wireframe_wave& w, float T) { return w.base + w.amplitude * std::sin(T * w.rate); }

wireframe_colour wireframe_colour_at(const wireframe_values& v, float T, int flicker) {
    wireframe_colour c;
    c.r = wave_at(v.red, T);
    c.g = wave_at(v.green, T);
    c.b = wave_at(v.blue, T);
    c.a = v.alpha + v.alpha_flicker * static_cast<float>(flicker) * 0.01f;
    return c;
}

int wireframe_culls(const wireframe_values& v) { return v.cull == 1.0f; }

float wireframe_turn_angle(float T) { return 10.0f * T; }

