// Camera flights of the default show: orbits around a target, spiralling in
// or out and rising or sinking as they go, written as spline files (position,
// three angles left at 0, target).
#pragma once

#include <string>

struct orbit_flight {
    int keys;              // spline keys, spread evenly over the flight
    float radius[2];       // distance from the target's vertical axis, first and last key
    float height[2];       // height above the target, first and last key
    float turns;           // full turns about the vertical axis over the flight
    float start_angle;     // radians; 0 is the +Z side of the target
    float target[3];
};

// One key per line in the spline file format, first key at start_angle.
std::string orbit_flight_text(const orbit_flight& f);
