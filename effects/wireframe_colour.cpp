// genWireframe's arithmetic: the pulsing line colour, the culling switch and
// the turn with the demo clock.
#include "effects/wireframe.h"

#include <cmath>

// ---------------------------------------------------------------------------
// Colour and motion

wireframe_colour wireframe_colour_at(const float* p, float T, int flicker) {
    wireframe_colour c;
    c.r = p[1] + p[2] * std::sin(T * p[3]);
    c.g = p[4] + p[5] * std::sin(T * p[6]);
    c.b = p[7] + p[8] * std::sin(T * p[9]);
    c.a = p[10] + p[11] * static_cast<float>(flicker) * 0.01f;
    return c;
}

int wireframe_culls(const float* params) { return params[12] == 1.0f; }

float wireframe_turn_angle(float T) { return 10.0f * T; }

